// Helpers for the tests of the installer hooks: files and registry keys of an
// installation.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

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
    test_support::WriteFileBytes(path, content);
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

}  // namespace setup_test
