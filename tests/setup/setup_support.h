// Helpers for the tests of the installer hooks and of the cabinet: files and
// registry keys of an installation, and the cabinet's description with a
// folder for the installer stand-in.
#pragma once

#include <installer_hooks.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cabinet_description.h"
#include "test_support.h"

namespace setup_test {

namespace fs = std::filesystem;

const wchar_t kAppsKey[] = L"Software\\Apps";
// "Software\Apps\Tavrin Fold Keyboard V<version>"
inline std::wstring VersionKey(const std::wstring& version)
{
    return std::wstring(kAppsKey) + L"\\Tavrin Fold Keyboard V" + version;
}

// A handheld path ("\Windows\...") on the drive of the Windows folder.
inline std::wstring OnWindowsDrive(const std::wstring& handheldPath)
{
    return test_support::WindowsFolder().substr(0, 2) + handheldPath;
}

// Writes a small file, creating its folders.
inline void PlaceFile(const std::wstring& path, const std::string& content = "earlier")
{
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream(fs::path(path), std::ios::binary) << content;
}

inline void RemoveTree(const std::wstring& folder)
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Every file and folder below the folder, as sorted paths relative to it.
inline std::vector<std::wstring> FilesBelow(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        paths.push_back(entry.path().wstring().substr(folder.size()));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Creates a key with one value in it.
inline void PlaceKey(HKEY root, const std::wstring& path)
{
    DWORD marker = 1;
    RegSetKeyValueW(root, path.c_str(), L"Marker", REG_DWORD, &marker, sizeof(marker));
}

// The key and every key below it, as sorted paths relative to it ("" for the
// key itself); none when the key is missing.
inline std::vector<std::wstring> KeysBelow(HKEY root, const std::wstring& path,
                                           const std::wstring& relative = L"")
{
    std::vector<std::wstring> keys;
    HKEY key;
    if (RegOpenKeyExW(root, (path + relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return keys;
    }
    keys.push_back(relative);
    wchar_t name[256];
    for (DWORD i = 0, length = 256;
         RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256) {
        std::vector<std::wstring> below = KeysBelow(root, path, relative + L"\\" + name);
        keys.insert(keys.end(), below.begin(), below.end());
    }
    RegCloseKey(key);
    std::sort(keys.begin(), keys.end());
    return keys;
}

inline bool KeyExists(HKEY root, const std::wstring& path)
{
    return !KeysBelow(root, path).empty();
}

// Deletes the key tree; with a subkey of "Software\Apps", also the Apps key
// once it is empty.
inline void RemoveKey(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, kAppsKey);  // fails while anything is in it
}

// The sorted lines of a that the sorted b lacks.
inline std::vector<std::wstring> Without(const std::vector<std::wstring>& a,
                                         const std::vector<std::wstring>& b)
{
    std::vector<std::wstring> rest;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rest));
    return rest;
}

// The cabinet's description beside the built files, read by the installer
// stand-in's own reader; a failure to read it fails the test.
const wchar_t kDescriptionName[] = L"TavrinFoldKeyboard.inf";
inline Cabinet ProductCabinet()
{
    Cabinet cabinet;
    std::wstring error;
    EXPECT_TRUE(ReadCabinetDescription(test_support::BinFolder() + L"\\" + kDescriptionName,
                                       &cabinet, &error))
        << testing::PrintToString(error);
    return cabinet;
}

// Fills the folder with the description and the built files that it names,
// but for leaveOut. Returns the description's path.
inline std::wstring PrepareCabinetFolder(const std::wstring& folder,
                                         const std::wstring& leaveOut = L"")
{
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring description = folder + L"\\" + kDescriptionName;
    CopyFileW((test_support::BinFolder() + L"\\" + kDescriptionName).c_str(), description.c_str(),
              FALSE);
    for (const CabinetFile& file : ProductCabinet().files) {
        EXPECT_TRUE(
            file.source == leaveOut ||
            CopyFileW(file.sourcePath.c_str(), (folder + L"\\" + file.source).c_str(), FALSE))
            << testing::PrintToString(file.sourcePath);
    }
    return description;
}

}  // namespace setup_test
