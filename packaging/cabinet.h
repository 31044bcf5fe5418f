// What a product's installer cabinet holds and where the installer puts it:
// read from the cabinet's description (cabinet_description.h) by the maker,
// and decoded from the cabinet itself (installation_cabinet.h) by the
// installer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A cabinet's members are numbered: .000 is its installation data, .999 its
// hook library, and each file is the member of its own number between them.
const int kInstallationDataMember = 0;
const int kHookLibraryMember = 999;

struct CabinetFile {
    WORD number;              // the member's .NNN, from 1
    std::wstring source;      // the description's name for it, or its member's name
    std::wstring sourcePath;  // desktop path of the file to install
    std::wstring folder;      // as the installer resolves it: "%CE2%", "%CE1%\Games"
    std::wstring name;        // installed file name
    DWORD flags;              // copy flags, as the description gives them
    std::wstring installed;   // handheld path, on an English handheld
};

struct CabinetShortcut {
    std::wstring folder;  // "%CE17%"
    std::wstring name;    // without ".lnk"
    std::wstring path;    // handheld path of the shortcut file
    std::wstring target;  // handheld path of the installed file that it starts
};

// A registry value that the installer writes.
struct CabinetRegistryValue {
    HKEY root;
    std::wstring rootName;  // "HKLM"
    std::wstring key;
    std::wstring name;  // empty for the key's default value
    DWORD type;         // REG_SZ or REG_DWORD
    std::wstring text;  // of a REG_SZ value
    DWORD number;       // of a REG_DWORD value
};

struct Cabinet {
    std::wstring provider;
    std::wstring appName;
    std::wstring installDir;     // as the installer resolves it: "%CE2%"
    std::wstring installFolder;  // handheld path
    // Where the product runs: 0 for no limit.
    DWORD processorType;
    DWORD versionMinMajor, versionMinMinor, versionMaxMajor, versionMaxMinor;
    DWORD buildMin, buildMax;
    std::vector<std::wstring> unsupportedPlatforms;
    std::wstring hookLibrary;      // name in the description, or member's name
    std::wstring hookLibraryPath;  // desktop path of the one to load
    std::vector<CabinetFile> files;
    std::vector<CabinetShortcut> shortcuts;
    std::vector<CabinetRegistryValue> registryValues;
};

// "<Provider> <AppName>": the installer's record below HKEY_LOCAL_MACHINE
// "Software\Apps".
std::wstring RecordName(const Cabinet& cabinet);

// A folder as the installer names it, "%CEn%" and what follows, as an English
// handheld names it ("%CE11%" is \Windows\Start Menu\Programs); empty when it
// starts with no standard folder that this installer knows. *number gets n.
std::wstring HandheldFolder(const std::wstring& folder, int* number = nullptr);

// The registry roots that a cabinet may write to: "HKLM" and its code in the
// installation data; null when there is none of that name or code.
struct RegistryRoot {
    const wchar_t* name;
    HKEY root;
    WORD code;
};
const RegistryRoot* FindRoot(const std::wstring& name);
const RegistryRoot* FindRoot(WORD code);
const RegistryRoot* FindRoot(HKEY root);

bool SameName(const std::wstring& a, const std::wstring& b);

// Why the text is no plain name of one file, folder, registry key or value
// (printable ASCII, no path, no device, nothing that Windows changes or
// refuses), or null when it is one.
const wchar_t* NameProblem(const std::wstring& name);
