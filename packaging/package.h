// A product's package: what its installer cabinet installs and where the
// installer puts it. Read from the package's description
// (package_description.h) by the maker, and decoded from the cabinet itself
// (package_cabinet.h) by the installer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A cabinet's members are numbered: .000 is its installation data, .999 its
// hook library, and each file is the member of its own number between them.
const int kInstallationDataMember = 0;
const int kHookLibraryMember = 999;
const int kMostFiles = kHookLibraryMember - 1;

// A registry value's type as the description (AddReg's flags) and the
// installation data both write it; the package holds REG_SZ or REG_DWORD.
const DWORD kTextValueType = 0x00000000;
const DWORD kNumberValueType = 0x00010001;

struct PackageFile {
    WORD number;              // the member's .NNN, from 1
    std::wstring source;      // the description's name for it, or its member's name
    std::wstring sourcePath;  // desktop path of the file to install
    std::wstring folder;  // "%CE2%", "%CE1%\Games", or below the handheld's root: "\Program Files"
    std::wstring name;    // installed file name
    DWORD flags;          // copy flags, as the description gives them
    std::wstring installed;  // handheld path, on an English handheld
};

struct PackageShortcut {
    std::wstring folder;  // "%CE17%"
    std::wstring name;    // the shortcut file's name, with ".lnk"
    std::wstring path;    // handheld path of the shortcut file
    std::wstring target;  // handheld path of the installed file that it starts
};

// The word in a registry value's text that the installer replaces with the
// installation folder.
const wchar_t kInstallDirWord[] = L"%InstallDir%";

// A registry value that the installer writes.
struct PackageRegistryValue {
    HKEY root;
    std::wstring rootName;  // "HKLM"
    std::wstring key;
    std::wstring name;  // empty for the key's default value
    DWORD type;         // REG_SZ or REG_DWORD
    std::wstring text;  // of a REG_SZ value; its %InstallDir% is the installation folder
    DWORD number;       // of a REG_DWORD value
};

struct Package {
    std::wstring provider;
    std::wstring appName;
    std::wstring installDir;     // "%CE2%", "%CE1%\App" or "\Program Files"
    std::wstring installFolder;  // handheld path
    // Where the product runs: 0 for no limit.
    DWORD processorType;
    DWORD versionMinMajor, versionMinMinor, versionMaxMajor, versionMaxMinor;
    DWORD buildMin, buildMax;
    std::vector<std::wstring> unsupportedPlatforms;
    std::wstring hookLibrary;      // name in the description, or member's name
    std::wstring hookLibraryPath;  // desktop path of the one to load
    std::vector<PackageFile> files;
    std::vector<PackageShortcut> shortcuts;
    std::vector<PackageRegistryValue> registryValues;
};

// "<Provider> <AppName>": the installer's record below HKEY_LOCAL_MACHINE
// "Software\Apps".
inline std::wstring RecordName(const Package& package)
{
    return package.provider + L" " + package.appName;
}
