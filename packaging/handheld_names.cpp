#include "handheld_names.h"

#include <algorithm>

namespace {

struct KnownFolder {
    int number;
    const wchar_t* path;
};

// The handheld's standard folders as an English Pocket PC names them; on a
// handheld in another language its installer takes that language's names.
const KnownFolder kStandardFolders[] = {
    {1, L"\\Program Files"},
    {2, L"\\Windows"},
    {4, L"\\Windows\\StartUp"},
    {5, L"\\My Documents"},
    {8, L"\\Program Files\\Games"},
    {11, L"\\Windows\\Start Menu\\Programs"},
    {14, L"\\Windows\\Start Menu\\Programs\\Games"},
    {15, L"\\Windows\\Fonts"},
    {17, L"\\Windows\\Start Menu"},
};

const RegistryRoot kRoots[] = {
    {L"HKCR", HKEY_CLASSES_ROOT, 1},
    {L"HKCU", HKEY_CURRENT_USER, 2},
    {L"HKLM", HKEY_LOCAL_MACHINE, 3},
};

// The file names that Windows takes as devices, with any extension.
const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
const wchar_t* const kNumberedDevices[] = {L"COM", L"LPT"};

bool IsDevice(std::wstring base)
{
    base.resize(std::min(base.size(), base.find(L'.')));
    base.resize(base.find_last_not_of(L' ') + 1);  // "NUL .txt" is NUL too
    for (const wchar_t* device : kDevices) {
        if (SameName(base, device)) {
            return true;
        }
    }
    for (const wchar_t* device : kNumberedDevices) {
        if (base.size() == 4 && base[3] >= L'1' && base[3] <= L'9' &&
            SameName(base.substr(0, 3), device)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::wstring StandardFolder(int number)
{
    return L"%CE" + std::to_wstring(number) + L"%";
}

std::wstring HandheldFolder(const std::wstring& folder, int* number)
{
    for (const KnownFolder& standard : kStandardFolders) {
        std::wstring name = StandardFolder(standard.number);
        std::wstring rest = folder.substr(std::min(name.size(), folder.size()));
        if (SameName(folder.substr(0, name.size()), name) && (rest.empty() || rest[0] == L'\\')) {
            if (number) {
                *number = standard.number;
            }
            return standard.path + rest;
        }
    }
    return L"";
}

std::wstring InstallationFolder(const std::wstring& folder, int* number)
{
    if (!folder.empty() && folder[0] == L'\\') {
        if (number) {
            *number = 0;
        }
        return folder;
    }
    return HandheldFolder(folder, number);
}

const RegistryRoot* FindRoot(const std::wstring& name)
{
    for (const RegistryRoot& root : kRoots) {
        if (SameName(name, root.name)) {
            return &root;
        }
    }
    return nullptr;
}

const RegistryRoot* FindRoot(WORD code)
{
    for (const RegistryRoot& root : kRoots) {
        if (root.code == code) {
            return &root;
        }
    }
    return nullptr;
}

const RegistryRoot* FindRoot(HKEY key)
{
    for (const RegistryRoot& root : kRoots) {
        if (root.root == key) {
            return &root;
        }
    }
    return nullptr;
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool Printable(wchar_t c)
{
    return c >= 0x20 && c <= 0x7E;
}

const wchar_t* NameProblem(const std::wstring& name)
{
    if (!std::all_of(name.begin(), name.end(), Printable)) {
        return L"is not printable ASCII";
    }
    if (name.empty()) {
        return L"is empty";
    }
    if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) {
        return L"holds one of \\ / : * ? \" < > |";
    }
    if (name == L"." || name == L"..") {
        return L"is . or ..";
    }
    if (name.back() == L'.' || name.back() == L' ') {
        return L"ends in a dot or a space";
    }
    return IsDevice(name) ? L"is a device's name" : nullptr;
}
