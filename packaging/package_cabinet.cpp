#include "package_cabinet.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "cab_archive.h"
#include "installation_checks.h"
#include "installation_data.h"

namespace {

// What the members may hold together, checked before anything is extracted.
const unsigned long long kMostBytes = 16 << 20;

std::wstring Wide(const std::string& name)
{
    return std::wstring(name.begin(), name.end());  // the members' names are ASCII
}

// ".002" for 2.
std::string Extension(int number)
{
    char extension[8];
    std::snprintf(extension, sizeof(extension), ".%03d", number);
    return extension;
}

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

// The numbered members' names by their numbers, from a pass that extracts
// none; false when two members have the same number, when they are too large
// together or the installation data is missing. Members that have no number
// (the _setup.xml of newer wizards) are no part of the installation.
bool ListMembers(const std::wstring& path, const std::wstring& folder,
                 std::map<int, std::string>* numbered, std::wstring* error)
{
    std::wstring problem;
    unsigned long long total = 0;
    std::vector<ArchiveMember> none;
    auto list = [&](const std::string& name, unsigned long size) {
        int number = MemberNumber(name);
        total += size;
        if (problem.empty() && number >= 0 && !numbered->emplace(number, name).second) {
            problem = L"the member " + Quoted(Wide(name)) + L" has the number of another one";
        }
        return false;
    };
    if (!ExtractCabArchive(path, folder, &none, error, list)) {
        return false;
    }
    if (total > kMostBytes) {
        problem = L"its members hold " + std::to_wstring(total) +
                  L" bytes, more than this installer takes (16 MiB)";
    } else if (problem.empty() && !numbered->count(kInstallationDataMember)) {
        problem = L"the cabinet holds no installation data (.000): it is no handheld's cabinet";
    }
    *error = problem;
    return problem.empty();
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
    return std::string(8 - base.size(), '0') + base + Extension(number);
}

bool WritePackageCabinet(const Package& package, const std::wstring& path, std::wstring* error)
{
    // The installer's decoder holds the data's rules: the maker makes no
    // cabinet that it would refuse.
    std::string data;
    Package decoded;
    if (!EncodeInstallationData(package, &data, error) ||
        !DecodeInstallationData(data, &decoded, error)) {
        return false;
    }
    std::wstring cabinetName = path.substr(path.find_last_of(L"\\/") + 1);
    std::string dataName = MemberName(cabinetName, kInstallationDataMember);
    std::wstring dataPath = path + L"." + Wide(dataName);
    if (!WriteBytes(dataPath, data)) {
        *error = L"cannot write " + dataPath;
        return false;
    }
    std::vector<ArchiveMember> members = {{dataName, dataPath}};
    if (!package.hookLibrary.empty()) {
        members.push_back(
            {MemberName(package.hookLibrary, kHookLibraryMember), package.hookLibraryPath});
    }
    for (auto file = package.files.rbegin(); file != package.files.rend(); ++file) {
        members.push_back({MemberName(file->name, file->number), file->sourcePath});
    }
    bool written = WriteCabArchive(path, members, error);
    DeleteFileW(dataPath.c_str());
    return written;
}

bool OpenPackageCabinet(const std::wstring& path, const std::wstring& folder, Package* package,
                        std::wstring* error)
{
    // First the members' names and sizes alone, then the installation data,
    // and only once both are sound the files and the hook library.
    std::map<int, std::string> numbered;
    std::vector<ArchiveMember> members;
    std::string bytes;
    if (!ListMembers(path, folder, &numbered, error)) {
        return false;
    }
    const std::string dataName = numbered[kInstallationDataMember];
    if (!ExtractCabArchive(
            path, folder, &members, error,
            [&](const std::string& name, unsigned long) { return name == dataName; })) {
        return false;
    }
    if (members.size() != 1 || !ReadBytes(members[0].path, &bytes)) {
        *error = L"cannot read the installation data";
        return false;
    }
    if (!DecodeInstallationData(bytes, package, error)) {
        *error = L"the installation data is damaged or unsafe: " + *error;
        return false;
    }
    std::map<int, std::string> unclaimed = numbered;
    unclaimed.erase(kInstallationDataMember);
    unclaimed.erase(kHookLibraryMember);
    for (const PackageFile& file : package->files) {
        if (!unclaimed.erase(file.number)) {
            *error = L"the file " + Quoted(file.name) + L" is the cabinet's member " +
                     Wide(Extension(file.number)) + L", which the cabinet does not hold";
            return false;
        }
    }
    if (!unclaimed.empty()) {
        *error = L"the member " + Quoted(Wide(unclaimed.begin()->second)) + L" belongs to no file";
        return false;
    }
    if (!ExtractCabArchive(path, folder, &members, error,
                           [&](const std::string& name, unsigned long) {
                               return name != dataName && MemberNumber(name) >= 0;
                           })) {
        return false;
    }
    for (const ArchiveMember& member : members) {
        int number = MemberNumber(member.name);
        for (PackageFile& file : package->files) {
            if (file.number == number) {
                file.source = Wide(member.name);
                file.sourcePath = member.path;
            }
        }
        if (number == kHookLibraryMember) {
            package->hookLibrary = Wide(member.name);
            package->hookLibraryPath = member.path;
        }
    }
    return true;
}
