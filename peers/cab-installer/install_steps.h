// What the installer does between the hooks, one item at a time, on the
// desktop's file system and registry. Each step returns whether it succeeded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "package.h"

// The desktop path of a handheld path such as "\Windows\KeyTap.wav", as the
// handheld layer resolves it; empty when it can't (never the current drive).
std::wstring DesktopPath(const std::wstring& handheldPath);

// What an installation put in place, which its removal takes away: the
// handheld paths of files, shortcuts and the folders it created, registry
// values as "HKLM\key\name" (ValuePath) and the keys it created as
// "HKLM\key".
struct InstalledItems {
    std::vector<std::wstring> files;
    std::vector<std::wstring> shortcuts;
    std::vector<std::wstring> values;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> keys;
};

// Copies a file of the cabinet to its installed place, creating the folders
// that are missing (listed in *installed).
bool CopyPackageFile(const PackageFile& file, InstalledItems* installed);
bool DeleteInstalledFile(const std::wstring& installedPath);

// Shortcut files hold "<count>#<command line>", the count being the number of
// characters after '#'. Missing folders are created (listed in *installed).
// A shortcut that can't be written whole is not left behind.
bool CreateShortcut(const PackageShortcut& shortcut, InstalledItems* installed);
bool DeleteShortcut(const std::wstring& handheldPath);

// Deletes a folder that the installation created, once it is empty.
bool RemoveCreatedFolder(const std::wstring& handheldPath);

// The record below HKEY_LOCAL_MACHINE "Software\Apps" that marks the product
// installed and keeps what was installed. WriteRecord tells which of the key
// and its values failed; ReadRecord is false when there is no record.
bool RecordExists(const std::wstring& appName);
void WriteRecord(const std::wstring& appName, const std::wstring& installFolder,
                 const InstalledItems& installed, bool* keyFailed, WORD* failedValues);
bool ReadRecord(const std::wstring& appName, InstalledItems* installed);
bool DeleteRecord(const std::wstring& appName);

// A value that the cabinet's description adds to the registry, creating its
// key and the keys above it as needed (those it creates listed in
// *installed), with the installation folder for %InstallDir% in its text;
// *keyFailed tells whether the key could not be created. On removal the
// value goes, and the keys that the installation created once empty.
std::wstring ValuePath(const PackageRegistryValue& value);
// A text value's text with the installation folder for each %InstallDir%.
std::wstring ValueText(const PackageRegistryValue& value, const std::wstring& installFolder);
bool WriteRegistryValue(const PackageRegistryValue& value, const std::wstring& installFolder,
                        bool* keyFailed, InstalledItems* installed);
bool DeleteRegistryValue(const std::wstring& valuePath);
bool RemoveCreatedKey(const std::wstring& keyPath);
