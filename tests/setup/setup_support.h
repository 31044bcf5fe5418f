// Helpers for the tests of the installer hooks and of the cabinet: files and
// registry keys of an installation, and the cabinet's description.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cabinet_description.h"
#include "test_support.h"

namespace setup_test {

namespace fs = std::filesystem;
using Paths = std::vector<std::wstring>;

const wchar_t kAppsKey[] = L"Software\\Apps";
// An earlier version's record below HKEY_LOCAL_MACHINE.
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
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(fs::path(path), std::ios::binary) << content;
}

inline void RemoveTree(const std::wstring& path)
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// Creates a key with one value in it.
inline void PlaceKey(HKEY root, const std::wstring& path)
{
    DWORD marker = 1;
    RegSetKeyValueW(root, path.c_str(), L"Marker", REG_DWORD, &marker, sizeof(marker));
}

inline bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// Used only by the cabinet's tests: the cabinet's description beside the built
// files, read by the installer stand-in's own reader.
const wchar_t kDescriptionName[] = L"TavrinFoldKeyboard.inf";
inline Cabinet ProductCabinet()
{
    Cabinet cabinet;
    std::wstring error;
    std::wstring path = test_support::BinFolder() + L"\\" + kDescriptionName;
    EXPECT_TRUE(ReadCabinetDescription(path, &cabinet, &error)) << testing::PrintToString(error);
    return cabinet;
}

// Deletes the key tree, and the Apps key once it is empty.
inline void RemoveKey(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, kAppsKey);  // fails while anything is in it
}

// Fills the folder with the description and the built files that it names,
// but for leaveOut. Returns the description's path.
inline std::wstring PrepareCabinetFolder(const std::wstring& folder,
                                         const std::wstring& leaveOut = L"")
{
    RemoveTree(folder);
    fs::create_directory(folder);
    fs::copy_file(test_support::BinFolder() + L"\\" + kDescriptionName,
                  folder + L"\\" + kDescriptionName);
    for (const CabinetFile& file : ProductCabinet().files) {
        if (file.source != leaveOut) {
            fs::copy_file(file.sourcePath, folder + L"\\" + file.source);
        }
    }
    return folder + L"\\" + kDescriptionName;
}

}  // namespace setup_test
