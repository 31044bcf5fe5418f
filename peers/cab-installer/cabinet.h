// What the product's installer cabinet holds and where it puts it. One table
// of each, so that a cabinet description read from a file can replace them.
#pragma once

#include <windows.h>

struct CabinetFile {
    LPCWSTR source;     // name in the source folder
    LPCWSTR installed;  // handheld path
};

struct CabinetShortcut {
    LPCWSTR path;    // handheld path of the shortcut file
    LPCWSTR target;  // handheld path of the program it starts
};

struct Cabinet {
    LPCWSTR installFolder;
    LPCWSTR hookLibrary;           // name in the source folder
    LPCWSTR installedHookLibrary;  // its installed copy, which the removal loads
    const CabinetFile* files;
    size_t fileCount;
    const CabinetShortcut* shortcuts;
    size_t shortcutCount;
    LPCWSTR appName;  // the product's record below HKEY_LOCAL_MACHINE "Software\Apps"
};

const Cabinet& ProductCabinet();
