// What the installer does between the hooks, one item at a time, on the
// desktop's file system and registry. Each step returns whether it succeeded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "package.h"

// The desktop path of a handheld path such as "\Windows\KeyTap.wav".
std::wstring DesktopPath(const std::wstring& handheldPath);

// Copies a file of the cabinet to its installed place.
bool CopyPackageFile(const PackageFile& file);
bool DeleteInstalledFile(const std::wstring& installedPath);

// Shortcut files hold "<count>#<command line>", the count being the number of
// characters after '#'. Missing folders are created, and on removal deleted
// again once empty. A shortcut that can't be written whole is not left behind.
bool CreateShortcut(const PackageShortcut& shortcut);
bool DeleteShortcut(const std::wstring& handheldPath);

// What an installation put in place, which its removal takes away: the
// handheld paths of files and shortcuts, and registry values as
// "HKLM\key\name" (ValuePath).
struct InstalledItems {
    std::vector<std::wstring> files;
    std::vector<std::wstring> shortcuts;
    std::vector<std::wstring> values;
};

// The record below HKEY_LOCAL_MACHINE "Software\Apps" that marks the product
// installed and keeps what was installed. WriteRecord tells which of the key
// and its values failed; ReadRecord is false when there is no record.
bool RecordExists(const std::wstring& appName);
void WriteRecord(const std::wstring& appName, const std::wstring& installFolder,
                 const InstalledItems& installed, bool* keyFailed, WORD* failedValues);
bool ReadRecord(const std::wstring& appName, InstalledItems* installed);
bool DeleteRecord(const std::wstring& appName);

// A value that the cabinet's description adds to the registry, creating its
// key as needed; *keyFailed tells whether the key could not be created. On
// removal the value goes, and its key and the keys above it once empty.
std::wstring ValuePath(const PackageRegistryValue& value);
bool WriteRegistryValue(const PackageRegistryValue& value, bool* keyFailed);
bool DeleteRegistryValue(const std::wstring& valuePath);
