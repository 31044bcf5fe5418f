// Reads a package's description, the setup information file from which its
// cabinet is made (setup/TavrinFoldKeyboard.inf), into the package. SetupAPI
// reads the file (inf_file.h); on top, this takes the part of the cabinet
// wizard's format that a product's package uses:
//   [Version]          Signature "$Windows NT$", CESignature "$Windows CE$", Provider
//   [CEStrings]        AppName, InstallDir; the record is "<Provider> <AppName>"
//   [CEDevice]         ProcessorType, UnsupportedPlatforms, VersionMin, VersionMax,
//                      BuildMin, BuildMax
//   [DefaultInstall]   CopyFiles, AddReg, CEShortcuts (lists of sections), CESetupDLL,
//                      CESelfRegister (installed files, flagged 0x10000000)
//   [SourceDisksNames], [SourceDisksFiles]   where the cabinet's files come from
//   [DestinationDirs]  the folder of each file list and shortcut list
//   file lists         installed name [, name in the cabinet [, , flags [, unused number]]]
//   shortcut lists     name, 0, installed file it starts [, folder]
//   registry lists     HKLM|HKCU|HKCR, key, value name, 0x00000000 (text) or
//                      0x00010001 (number), data (%InstallDir% kept for the installer)
// With the cabinet wizard's /cpu NAME, each of [CEDevice], [DefaultInstall],
// [SourceDisksNames] and [SourceDisksFiles] is read together with its
// [X.NAME]: list keys and the sections' lines add up, a single value of
// [X.NAME] wins. Folders start with one of the handheld's standard folders,
// %CE2% (\Windows) ..., which the installer resolves in the handheld's
// language, or are handheld paths ("\Program Files"). Descriptions are 8-bit
// text or UTF-16 after a byte-order mark. Everything
// else that the description holds there, and what the cabinet's installation
// data can't carry (text that is not ASCII), is refused with the line and the
// reason.
#pragma once

#include <string>

#include "package.h"

// Reads the description file, for the processor or platform cpu when it is
// not empty; source folders are taken relative to its own folder. False, with
// the file, the line and the reason in *error, when the description can't be
// read or is not in the format above.
bool ReadPackageDescription(const std::wstring& path, Package* package, std::wstring* error,
                            const std::wstring& cpu = std::wstring());
