#include "setup_support.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "cabinet_description.h"
#include "test_support.h"

using namespace test_support;

namespace setup_test {

const std::vector<std::wstring> kShortcuts = {
    L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Démarrer\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Démarrer\\Programmes\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Startmenü\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Startmenü\\Programme\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Start Menu\\Programmi\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menú Inicio\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menú Inicio\\Programas\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk",
};

const std::vector<std::wstring> kProgramFiles = {
    L"\\Windows\\R410.inf",      L"\\Windows\\Tavrin Fold Keyboard.exe",
    L"\\Windows\\KeybdR410.exe", L"\\Windows\\SetupR410.dll",
    L"\\Windows\\KeyTap.wav",    L"\\Windows\\RSNR410.dll",
};

const std::vector<std::wstring> kStartMenuFolders = {
    L"\\Windows\\Start Menu", L"\\Windows\\Menu Iniciar", L"\\Windows\\Menu Démarrer",
    L"\\Windows\\Startmenü",  L"\\Windows\\Menú Inicio",
};

std::wstring VersionKey(const std::wstring& version)
{
    return std::wstring(kAppsKey) + L"\\Tavrin Fold Keyboard V" + version;
}

std::wstring OnWindowsDrive(const std::wstring& handheldPath)
{
    return WindowsFolder().substr(0, 2) + handheldPath;
}

void PlaceFile(const std::wstring& path, const std::string& content)
{
    for (size_t end = path.find(L'\\', 3); end != std::wstring::npos;
         end = path.find(L'\\', end + 1)) {
        CreateDirectoryW(path.substr(0, end).c_str(), nullptr);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
}

namespace {

// Calls fn for every file and folder in the folder.
void ForEachEntry(const std::wstring& folder,
                  const std::function<void(const WIN32_FIND_DATAW& entry)>& fn)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (lstrcmpW(found.cFileName, L".") && lstrcmpW(found.cFileName, L"..")) {
            fn(found);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

void RemoveTree(const std::wstring& folder)
{
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            RemoveFile(path);
        }
    });
    RemoveDirectoryW(folder.c_str());
}

void PlaceKey(HKEY root, const std::wstring& path)
{
    DWORD marker = 1;
    RegSetKeyValueW(root, path.c_str(), L"Marker", REG_DWORD, &marker, sizeof(marker));
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void RemoveKey(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    if (path.compare(0, wcslen(kAppsKey) + 1, std::wstring(kAppsKey) + L"\\") == 0) {
        RegDeleteKeyW(root, kAppsKey);  // fails while anything else is in it
    }
}

namespace {

void SnapshotKey(HKEY key, const std::wstring& path, std::vector<std::wstring>* lines)
{
    lines->push_back(path);
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = 256;
        DWORD type = 0;
        DWORD size = sizeof(data);
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        std::wstring line = path + L" [" + name + L"] " + std::to_wstring(type) + L":";
        for (DWORD i = 0; i < size; ++i) {
            line += std::to_wstring(data[i]) + L",";
        }
        lines->push_back(line);
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        HKEY child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
            SnapshotKey(child, path + L"\\" + name, lines);
            RegCloseKey(child);
        }
    }
}

void SnapshotFolder(const std::wstring& folder, const std::wstring& relative,
                    std::vector<std::wstring>* lines)
{
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
        std::wstring path = relative + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A folder's own time changes whenever something in it comes and goes.
            lines->push_back(path + L"\\");
            SnapshotFolder(folder + L"\\" + entry.cFileName, path, lines);
        } else {
            ULONGLONG size = (ULONGLONG(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
            ULONGLONG time = (ULONGLONG(entry.ftLastWriteTime.dwHighDateTime) << 32) |
                             entry.ftLastWriteTime.dwLowDateTime;
            lines->push_back(path + L" " + std::to_wstring(size) + L" " + std::to_wstring(time));
        }
    });
}

}  // namespace

std::vector<std::wstring> RegistrySnapshot(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> lines;
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        SnapshotKey(key, path, &lines);
        RegCloseKey(key);
    }
    return lines;
}

std::vector<std::wstring> FolderSnapshot(const std::wstring& folder)
{
    std::vector<std::wstring> lines;
    SnapshotFolder(folder, L"", &lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

SetupLibrary::SetupLibrary() : module_(LoadLibraryW((BinFolder() + L"\\SETUP.DLL").c_str()))
{
    if (!module_) {
        return;
    }
    installInit = reinterpret_cast<decltype(installInit)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "Install_Init")));
    installExit = reinterpret_cast<decltype(installExit)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "Install_Exit")));
    uninstallInit = reinterpret_cast<decltype(uninstallInit)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "Uninstall_Init")));
    uninstallExit = reinterpret_cast<decltype(uninstallExit)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "Uninstall_Exit")));
}

SetupLibrary::~SetupLibrary()
{
    if (module_) {
        FreeLibrary(module_);
    }
}

std::vector<std::string> SetupLibrary::ExportNames() const
{
    std::vector<std::string> names;
    const BYTE* base = reinterpret_cast<const BYTE*>(module_);
    if (!base) {
        return names;
    }
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    auto* nameOffsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.push_back(reinterpret_cast<const char*>(base + nameOffsets[i]));
    }
    // An export without a name would be found only by its number.
    for (DWORD i = exports->NumberOfNames; i < exports->NumberOfFunctions; ++i) {
        names.push_back("#" + std::to_string(exports->Base + i));
    }
    return names;
}

Cabinet ProductCabinet()
{
    Cabinet cabinet;
    std::wstring error;
    if (!ReadCabinetDescription(BinFolder() + L"\\" + kDescriptionName, &cabinet, &error)) {
        ADD_FAILURE() << testing::PrintToString(error);
    }
    return cabinet;
}

std::wstring PrepareCabinetFolder(const std::wstring& folder, const std::wstring& leaveOut)
{
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring description = folder + L"\\" + kDescriptionName;
    CopyFileW((BinFolder() + L"\\" + kDescriptionName).c_str(), description.c_str(), FALSE);
    for (const CabinetFile& file : ProductCabinet().files) {
        if (file.source != leaveOut &&
            !CopyFileW(file.sourcePath.c_str(), (folder + L"\\" + file.source).c_str(), FALSE)) {
            ADD_FAILURE() << "cannot copy " << testing::PrintToString(file.sourcePath);
        }
    }
    return description;
}

}  // namespace setup_test
