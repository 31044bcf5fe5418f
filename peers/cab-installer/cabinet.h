// What a product's installer cabinet holds and where the installer puts it,
// as the cabinet's description says (cabinet_description.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CabinetFile {
    std::wstring source;      // name in the cabinet
    std::wstring sourcePath;  // desktop path of the file to install
    std::wstring installed;   // handheld path
};

struct CabinetShortcut {
    std::wstring path;    // handheld path of the shortcut file
    std::wstring target;  // handheld path of the program it starts
};

// A registry value that the installer writes.
struct CabinetRegistryValue {
    HKEY root;
    std::wstring rootName;  // as the description names the root: "HKLM"
    std::wstring key;
    std::wstring name;  // empty for the key's default value
    DWORD type;         // REG_SZ or REG_DWORD
    std::wstring text;  // of a REG_SZ value
    DWORD number;       // of a REG_DWORD value
};

struct Cabinet {
    // The product's record below HKEY_LOCAL_MACHINE "Software\Apps".
    std::wstring appName;
    std::wstring installFolder;         // handheld path
    std::wstring hookLibrary;           // name in the cabinet
    std::wstring hookLibraryPath;       // desktop path of the one to load for the installation
    std::wstring installedHookLibrary;  // handheld path of its installed copy, or empty
    std::vector<CabinetFile> files;
    std::vector<CabinetShortcut> shortcuts;
    std::vector<CabinetRegistryValue> registryValues;
};
