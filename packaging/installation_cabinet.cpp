#include "installation_cabinet.h"

#include <cstdio>
#include <cstdlib>

#include "cabinet_file.h"
#include "installation_data.h"

namespace {

const int kInstallationData = 0;
const int kHookLibrary = 999;

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool complete =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    return complete;
}

bool ReadBytes(const std::wstring& path, std::string* bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[4096];
    DWORD read = 0;
    BOOL ok;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read) {
        bytes->append(buffer, read);
    }
    CloseHandle(file);
    return ok != FALSE;
}

// The member's number, or -1 when its name doesn't end in three digits.
int MemberNumber(const std::string& name)
{
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.size() - dot != 4 ||
        name.find_first_not_of("0123456789", dot + 1) != std::string::npos) {
        return -1;
    }
    return static_cast<int>(std::strtol(name.c_str() + dot + 1, nullptr, 10));
}

}  // namespace

std::string MemberName(const std::wstring& name, int number)
{
    std::string base;
    for (wchar_t c : name.substr(0, name.find_last_of(L'.'))) {
        bool digit = c >= L'0' && c <= L'9', upper = c >= L'A' && c <= L'Z',
             lower = c >= L'a' && c <= L'z';
        if (base.size() < 8 && (digit || upper || lower)) {
            base += static_cast<char>(lower ? c - L'a' + L'A' : c);
        }
    }
    char extension[8];
    std::snprintf(extension, sizeof(extension), ".%03d", number);
    return std::string(8 - base.size(), '0') + base + extension;
}

bool WriteInstallationCabinet(const Cabinet& description, const std::wstring& path,
                              std::wstring* error)
{
    std::string data;
    if (!EncodeInstallationData(description, &data, error)) {
        return false;
    }
    std::wstring cabinetName = path.substr(path.find_last_of(L"\\/") + 1);
    std::string dataName = MemberName(cabinetName, kInstallationData);
    std::wstring dataPath = path + L"." + std::wstring(dataName.begin(), dataName.end());
    if (!WriteBytes(dataPath, data)) {
        *error = L"cannot write " + dataPath;
        return false;
    }
    std::vector<CabinetMember> members = {{dataName, dataPath}};
    for (const CabinetFile& file : description.files) {
        members.push_back({MemberName(file.name, file.number), file.sourcePath});
    }
    if (!description.hookLibrary.empty()) {
        members.push_back(
            {MemberName(description.hookLibrary, kHookLibrary), description.hookLibraryPath});
    }
    bool written = WriteCabinetFile(path, members, error);
    DeleteFileW(dataPath.c_str());
    return written;
}

bool OpenInstallationCabinet(const std::wstring& path, const std::wstring& folder, Cabinet* cabinet,
                             std::wstring* error)
{
    std::vector<CabinetMember> members;
    if (!ExtractCabinetFile(path, folder, &members, error)) {
        return false;
    }
    const CabinetMember* data = nullptr;
    const CabinetMember* hooks = nullptr;
    for (const CabinetMember& member : members) {
        int number = MemberNumber(member.name);
        data = number == kInstallationData ? &member : data;
        hooks = number == kHookLibrary ? &member : hooks;
    }
    std::string bytes;
    if (!data) {
        *error = L"the cabinet holds no installation data (.000): it is no handheld's cabinet";
        return false;
    }
    if (!ReadBytes(data->path, &bytes)) {
        *error = L"cannot read " + data->path;
        return false;
    }
    if (!DecodeInstallationData(bytes, cabinet, error)) {
        *error = L"the installation data is damaged: " + *error;
        return false;
    }
    for (CabinetFile& file : cabinet->files) {
        for (const CabinetMember& member : members) {
            if (MemberNumber(member.name) == file.number) {
                file.source = std::wstring(member.name.begin(), member.name.end());
                file.sourcePath = member.path;
            }
        }
        if (file.sourcePath.empty()) {
            wchar_t number[8];
            std::swprintf(number, 8, L".%03u", file.number);
            *error = L"the file " + file.name + L" is the cabinet's member " + number +
                     L", which the cabinet does not hold";
            return false;
        }
    }
    if (hooks) {
        cabinet->hookLibrary = std::wstring(hooks->name.begin(), hooks->name.end());
        cabinet->hookLibraryPath = hooks->path;
    }
    return true;
}
