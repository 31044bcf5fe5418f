// The lists of a package's description that [DefaultInstall] names: the file
// lists (CopyFiles), the shortcut lists (CEShortcuts) and the registry lists
// (AddReg), each into the folder that [DestinationDirs] gives it.
#pragma once

#include <string>
#include <vector>

#include "description_text.h"
#include "package.h"

// A file that [SourceDisksFiles] names, and where it is on the desktop; the
// last of a name wins ([SourceDisksFiles.NAME]'s lines come last).
struct SourceFile {
    std::wstring name;
    std::wstring path;
};
const SourceFile* FindSource(const std::vector<SourceFile>& files, const std::wstring& name);

// Reads the files, then the shortcuts to them, then the registry values into
// the package, each file from its source. False, with the line and the reason
// in *error, for a line that is not in the format (package_description.h).
bool ReadInstallLists(const InfFile& inf, const std::vector<SourceFile>& sources, Package* package,
                      std::wstring* error);
