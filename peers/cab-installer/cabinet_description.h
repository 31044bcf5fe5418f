// Reads a cabinet's description, the setup information file from which the
// handheld's cabinet wizard builds the cabinet (setup/TavrinFoldKeyboard.inf),
// into what the installer does with it. It understands the part of the format
// that a product's cabinet uses:
//   [Version]          Signature "$Windows NT$", Provider
//   [CEStrings]        AppName, InstallDir; the record is "<Provider> <AppName>"
//   [Strings]          further %strings%
//   [DefaultInstall]   CopyFiles, AddReg, CEShortcuts (lists of sections), CESetupDLL
//   [SourceDisksNames], [SourceDisksFiles]   where the cabinet's files come from
//   [DestinationDirs]  the folder of each file list and shortcut list
//   file lists         installed name [, name in the cabinet [, , flags]]
//   shortcut lists     name, 0, installed file it starts [, folder]
//   registry lists     HKLM|HKCU|HKCR, key, value name, 0x00000000 (text) or
//                      0x00010001 (number), data
// and refuses anything else it meets there with the line and the reason. The
// handheld's standard folders (%CE2% is \Windows, %CE11% its Start menu's
// Programs folder ...) are those of an English handheld.
#pragma once

#include <string>

#include "cabinet.h"

// Reads the description file; source folders are taken relative to its own
// folder. False, with the file, the line and the reason in *error, when the
// description can't be read or is not in the format above.
bool ReadCabinetDescription(const std::wstring& path, Cabinet* cabinet, std::wstring* error);

// The same from the description's UTF-8 text, which stands in `folder`.
bool ParseCabinetDescription(const std::string& utf8, const std::wstring& folder, Cabinet* cabinet,
                             std::wstring* error);
