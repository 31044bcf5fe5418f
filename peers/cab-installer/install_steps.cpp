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

// The folders from the Windows folder down to the shortcut's own, outermost first.
bool CreateFolders(const std::wstring& folder)
{
    std::wstring windows = DesktopPath(L"\\Windows");
    for (size_t end = windows.size() + 1; end <= folder.size(); ++end) {
        if (end == folder.size() || folder[end] == L'\\') {
            std::wstring part = folder.substr(0, end);
            if (!CreateDirectoryW(part.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                return false;
            }
        }
    }
    return true;
}

// Removes the folder and its parents below the Windows folder while they are empty.
void RemoveEmptyFolders(std::wstring folder)
{
    std::wstring windows = DesktopPath(L"\\Windows");
    while (folder.size() > windows.size() && RemoveDirectoryW(folder.c_str())) {
        folder = FolderOf(folder);
    }
}

// Deletes the key and the keys above it, deepest first, while they hold nothing.
void RemoveEmptyKeys(HKEY root, std::wstring key)
{
    while (!key.empty()) {
        HKEY open;
        if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) {
            return;
        }
        DWORD subKeys = 1;
        DWORD values = 1;
        RegQueryInfoKeyW(open, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(open);
        if (subKeys || values || RegDeleteKeyW(root, key.c_str()) != ERROR_SUCCESS) {
            return;
        }
        size_t parent = key.find_last_of(L'\\');
        key = parent == std::wstring::npos ? std::wstring() : key.substr(0, parent);
    }
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
    {L"Files", &InstalledItems::files},
    {L"Shortcuts", &InstalledItems::shortcuts},
    {L"RegistryValues", &InstalledItems::values},
};

}  // namespace

std::wstring DesktopPath(const std::wstring& handheldPath)
{
    wchar_t path[MAX_PATH];
    if (!ResolveHandheldPath(handheldPath.c_str(), path, MAX_PATH)) {
        return handheldPath;
    }
    return path;
}

bool CopyPackageFile(const PackageFile& file)
{
    return CopyFileW(file.sourcePath.c_str(), DesktopPath(file.installed).c_str(), FALSE) != FALSE;
}

bool DeleteInstalledFile(const std::wstring& installedPath)
{
    return DeleteFileW(DesktopPath(installedPath).c_str()) != FALSE;
}

bool CreateShortcut(const PackageShortcut& shortcut)
{
    std::wstring path = DesktopPath(shortcut.path);
    std::wstring commandLine = L"\"" + shortcut.target + L"\"";
    std::wstring text = std::to_wstring(commandLine.size()) + L"#" + commandLine;
    char bytes[MAX_PATH * 2];
    int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                                     sizeof(bytes), nullptr, nullptr);
    if (length <= 0 || !CreateFolders(FolderOf(path))) {
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
    std::wstring path = DesktopPath(handheldPath);
    bool deleted = DeleteFileW(path.c_str()) != FALSE;
    RemoveEmptyFolders(FolderOf(path));
    return deleted;
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
    RemoveEmptyKeys(HKEY_LOCAL_MACHINE, kAppsKey);
    return true;
}

std::wstring ValuePath(const PackageRegistryValue& value)
{
    return value.rootName + L"\\" + value.key + L"\\" + value.name;
}

bool WriteRegistryValue(const PackageRegistryValue& value, bool* keyFailed)
{
    HKEY key;
    *keyFailed = RegCreateKeyExW(value.root, value.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                 &key, nullptr) != ERROR_SUCCESS;
    if (*keyFailed) {
        return false;
    }
    bool written = value.type == REG_DWORD ? SetNumber(key, value.name.c_str(), value.number)
                                           : SetText(key, value.name.c_str(), REG_SZ, value.text);
    RegCloseKey(key);
    return written;
}

bool DeleteRegistryValue(const std::wstring& valuePath)
{
    // Names hold no backslash: the root before the first, the value's name after the last.
    size_t rootEnd = valuePath.find(L'\\'), nameStart = valuePath.rfind(L'\\') + 1;
    const RegistryRoot* root = FindRoot(valuePath.substr(0, rootEnd));
    if (!root || nameStart <= rootEnd + 1) {
        return false;
    }
    std::wstring key = valuePath.substr(rootEnd + 1, nameStart - rootEnd - 2);
    bool deleted =
        RegDeleteKeyValueW(root->root, key.c_str(), valuePath.c_str() + nameStart) == ERROR_SUCCESS;
    RemoveEmptyKeys(root->root, key);
    return deleted;
}
