// What the installer does between the hooks, one item at a time, on the
// desktop's file system and registry. Each step returns whether it succeeded.
#pragma once

#include <windows.h>

#include <string>

#include "cabinet.h"

// The desktop path of a handheld path such as "\Windows\KeyTap.wav".
std::wstring DesktopPath(LPCWSTR handheldPath);

// Copies a file from the source folder to its installed place.
bool CopyCabinetFile(const std::wstring& sourceFolder, const CabinetFile& file);
bool DeleteInstalledFile(LPCWSTR installedPath);

// Shortcut files hold "<count>#<command line>", the count being the number of
// characters after '#'. Missing folders are created, and on removal deleted
// again once empty.
bool CreateShortcut(const CabinetShortcut& shortcut);
bool DeleteShortcut(const CabinetShortcut& shortcut);

// The record below HKEY_LOCAL_MACHINE "Software\Apps" that marks the product
// installed. WriteRecord tells which of the key and its values failed.
bool RecordExists(LPCWSTR appName);
void WriteRecord(LPCWSTR appName, LPCWSTR installFolder, bool* keyFailed, WORD* failedValues);
bool DeleteRecord(LPCWSTR appName);
