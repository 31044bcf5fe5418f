// A package's cabinet, as the handheld's installer takes it: a cab archive
// (cab_archive.h) whose members have 8.3 names, NAME.NNN, in the wizard's order: the
// installation data NAME.000 first, the hook library .999 next, then each file of the
// installation data as the member of its number, from the highest down (... .002, .001). NAME is up
// to eight letters and digits of the item's own name, padded on the left with '0'.
#pragma once

#include <string>

#include "package.h"

// "KEYBDR41.002" for "KeybdR410.exe" and 2.
std::string MemberName(const std::wstring& name, int number);

// Writes the package's cabinet: its installation data, the files from their
// desktop paths, and the hook library. False, with the reason in *error, when
// it can't; no cabinet is left then.
bool WritePackageCabinet(const Package& package, const std::wstring& path, std::wstring* error);

// Checks the whole cabinet, then extracts its numbered members into the folder and decodes its
// installation data into the package: the files' sources are their members there, and the
// hook library is the .999 (empty without one). Before anything is extracted,
// the members' names (NAME.NNN, each number once) and their total size (at
// most 16 MiB); then the installation data (installation_data.h), every file
// of which must have its member, and every numbered member but the .000 and
// the .999 belong to a file. Members without a number (_setup.xml) are
// neither extracted nor installed. False, with one line naming what is wrong in *error, for
// a file that is no such cabinet, a damaged or an unsafe one.
bool OpenPackageCabinet(const std::wstring& path, const std::wstring& folder, Package* package,
                        std::wstring* error);
