#include "install_steps.h"

#include <handheld.h>

#include "handheld_names.h"

namespace {

const wchar_t kAppsKey[] = L"Software\\Apps";

std::wstring AppKey(const std::wstring& appName)
{
    return kAppsKey + std::wstring(L"\\") + appName;
}

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

// Each start of a backslash path that ends before a backslash or at its
// end, outermost first ("A", "A\B" for "A\B"; "\A" for "\A").
template <typename Step>
bool EachStart(const std::wstring& path, Step step)
{
    for (size_t end = 1; end <= path.size(); ++end) {
        if ((end == path.size() || path[end] == L'\\') && !step(path.substr(0, end))) {
            return false;
        }
    }
    return true;
}

// Creates the handheld folder and those above it that are missing, listing
// the ones it created.
bool CreateFolders(const std::wstring& handheldFolder, InstalledItems* installed)
{
    return EachStart(handheldFolder, [&](const std::wstring& folder) {
        std::wstring path = DesktopPath(folder);
        if (!path.empty() && CreateDirectoryW(path.c_str(), nullptr)) {
            installed->folders.push_back(folder);
            return true;
        }
        return !path.empty() && GetLastError() == ERROR_ALREADY_EXISTS;
    });
}

// Deletes a key that holds nothing.
LONG DeleteEmptyKey(HKEY root, const std::wstring& key)
{
    HKEY open;
    LONG result = RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &open);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    DWORD subKeys = 1;
    DWORD values = 1;
    RegQueryInfoKeyW(open, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(open);
    return subKeys || values ? ERROR_DIR_NOT_EMPTY : RegDeleteKeyW(root, key.c_str());
}

// The root and the rest of "HKLM\key...", or null when the root is unknown.
const RegistryRoot* SplitRoot(const std::wstring& path, std::wstring* rest)
{
    size_t end = path.find(L'\\');
    *rest = end == std::wstring::npos ? L"" : path.substr(end + 1);
    return end == std::wstring::npos ? nullptr : FindRoot(path.substr(0, end));
}

// Step results as the delete functions give them: true, or false with the reason in the last error.
bool Succeeded(LONG result)
{
    SetLastError(static_cast<DWORD>(result));
    return result == ERROR_SUCCESS;
}

// Text and multi-string values: their characters and the terminating zero.
bool SetText(HKEY key, const wchar_t* name, DWORD type, const std::wstring& text)
{
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// DWORD values.
bool SetNumber(HKEY key, const wchar_t* name, DWORD number)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof(number)) == ERROR_SUCCESS;
}

// The record's lists, by their value names.
const struct {
    const wchar_t* name;
    std::vector<std::wstring> InstalledItems::*items;
} kItemLists[] = {
    {L"Files", &InstalledItems::files},           {L"Shortcuts", &InstalledItems::shortcuts},
    {L"RegistryValues", &InstalledItems::values}, {L"Folders", &InstalledItems::folders},
    {L"RegistryKeys", &InstalledItems::keys},
};

}  // namespace

std::wstring DesktopPath(const std::wstring& handheldPath)
{
    wchar_t path[MAX_PATH];
    bool onDrive = handheldPath.size() > 1 && handheldPath[0] == L'\\' &&
                   ResolveHandheldPath(handheldPath.c_str(), path, MAX_PATH) && path[1] == L':';
    return onDrive ? path : L"";
}

bool CopyPackageFile(const PackageFile& file, InstalledItems* installed)
{
    std::wstring path = DesktopPath(file.installed);
    return !path.empty() && CreateFolders(FolderOf(file.installed), installed) &&
           CopyFileW(file.sourcePath.c_str(), path.c_str(), FALSE);
}

bool DeleteInstalledFile(const std::wstring& installedPath)
{
    std::wstring path = DesktopPath(installedPath);
    return !path.empty() ? DeleteFileW(path.c_str()) != FALSE : Succeeded(ERROR_BAD_PATHNAME);
}

bool RemoveCreatedFolder(const std::wstring& handheldPath)
{
    std::wstring path = DesktopPath(handheldPath);
    return !path.empty() ? RemoveDirectoryW(path.c_str()) != FALSE : Succeeded(ERROR_BAD_PATHNAME);
}

bool CreateShortcut(const PackageShortcut& shortcut, InstalledItems* installed)
{
    std::wstring path = DesktopPath(shortcut.path);
    std::wstring commandLine = L"\"" + shortcut.target + L"\"";
    std::wstring text = std::to_wstring(commandLine.size()) + L"#" + commandLine;
    char bytes[MAX_PATH * 2];
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                                     sizeof(bytes), nullptr, nullptr);
    if (length <= 0 || path.empty() || !CreateFolders(FolderOf(shortcut.path), installed)) {
        return false;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool complete = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, bytes, length, &written, nullptr) && written == DWORD(length);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!complete) {
        DeleteShortcut(shortcut.path);
    }
    return complete;
}

bool DeleteShortcut(const std::wstring& handheldPath)
{
    return DeleteInstalledFile(handheldPath);
}

bool RecordExists(const std::wstring& appName)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AppKey(appName).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void WriteRecord(const std::wstring& appName, const std::wstring& installFolder,
                 const InstalledItems& installed, bool* keyFailed, WORD* failedValues)
{
    *keyFailed = false;
    *failedValues = 0;
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, AppKey(appName).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        *keyFailed = true;
        return;
    }
    *failedValues += !SetNumber(key, L"Instl", 1);
    *failedValues += !SetText(key, L"InstlDir", REG_SZ, installFolder);
    for (const auto& list : kItemLists) {
        std::wstring items;
        for (const std::wstring& item : installed.*list.items) {
            items += item + L'\0';
        }
        *failedValues += !SetText(key, list.name, REG_MULTI_SZ, items);
    }
    RegCloseKey(key);
}

bool ReadRecord(const std::wstring& appName, InstalledItems* installed)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AppKey(appName).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    for (const auto& list : kItemLists) {
        DWORD size = 0;
        RegGetValueW(key, nullptr, list.name, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size);
        std::wstring items(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(items.size() * sizeof(wchar_t));
        RegGetValueW(key, nullptr, list.name, RRF_RT_REG_MULTI_SZ, nullptr, &items[0], &size);
        for (size_t at = 0; items[at]; at = items.find(L'\0', at) + 1) {
            (installed->*list.items).push_back(items.c_str() + at);
        }
    }
    RegCloseKey(key);
    return true;
}

bool DeleteRecord(const std::wstring& appName)
{
    // The key goes with everything below it, and the Apps key once it is empty.
    if (RegDeleteTreeW(HKEY_LOCAL_MACHINE, AppKey(appName).c_str()) != ERROR_SUCCESS) {
        return false;
    }
    DeleteEmptyKey(HKEY_LOCAL_MACHINE, kAppsKey);
    return true;
}

std::wstring ValueText(const PackageRegistryValue& value, const std::wstring& installFolder)
{
    const std::wstring word = kInstallDirWord;
    std::wstring text = value.text;
    for (size_t at = 0; (at = text.find(word, at)) != std::wstring::npos;
         at += installFolder.size()) {
        text.replace(at, word.size(), installFolder);
    }
    return text;
}

std::wstring ValuePath(const PackageRegistryValue& value)
{
    return value.rootName + L"\\" + value.key + L"\\" + value.name;
}

bool WriteRegistryValue(const PackageRegistryValue& value, const std::wstring& installFolder,
                        bool* keyFailed, InstalledItems* installed)
{
    HKEY key = nullptr;
    *keyFailed = !EachStart(value.key, [&](const std::wstring& part) {
        DWORD disposition = 0;
        if (key) {
            RegCloseKey(key);
        }
        if (RegCreateKeyExW(value.root, part.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            &disposition) != ERROR_SUCCESS) {
            key = nullptr;
            return false;
        }
        if (disposition == REG_CREATED_NEW_KEY) {
            installed->keys.push_back(value.rootName + L"\\" + part);
        }
        return true;
    });
    if (*keyFailed || !key) {
        *keyFailed = true;
        return false;
    }
    bool written = value.type == REG_DWORD
                       ? SetNumber(key, value.name.c_str(), value.number)
                       : SetText(key, value.name.c_str(), REG_SZ, ValueText(value, installFolder));
    RegCloseKey(key);
    return written;
}

bool DeleteRegistryValue(const std::wstring& valuePath)
{
    // Names hold no backslash: the value's name after the last.
    std::wstring rest;
    const RegistryRoot* root = SplitRoot(valuePath, &rest);
    size_t name = rest.rfind(L'\\');
    if (!root || name == std::wstring::npos) {
        return Succeeded(ERROR_BAD_PATHNAME);
    }
    return Succeeded(
        RegDeleteKeyValueW(root->root, rest.substr(0, name).c_str(), rest.c_str() + name + 1));
}

bool RemoveCreatedKey(const std::wstring& keyPath)
{
    std::wstring key;
    const RegistryRoot* root = SplitRoot(keyPath, &key);
    return Succeeded(root && !key.empty() ? DeleteEmptyKey(root->root, key) : ERROR_BAD_PATHNAME);
}
