// The handheld's names that a package may use: its standard folders, the
// registry roots, and what makes a plain name of one file, folder, registry
// key or value. The description's reader, the installation data's decoder and
// the cab archive's reader all hold names to these rules.
#pragma once

#include <windows.h>

#include <string>

// "%CE2%" for 2: a standard folder as the installer names it.
std::wstring StandardFolder(int number);

// A folder as the installer names it, "%CEn%" and what follows, as an English
// handheld names it ("%CE11%" is \Windows\Start Menu\Programs); empty when it
// starts with no standard folder that this installer knows. *number gets n.
std::wstring HandheldFolder(const std::wstring& folder, int* number = nullptr);

// The handheld path of a folder that starts either with a standard folder
// (HandheldFolder; *number gets n) or with an absolute handheld path
// ("\Program Files\App", itself; *number gets 0); empty for any other.
std::wstring InstallationFolder(const std::wstring& folder, int* number = nullptr);

// The registry roots that a package may write to: "HKLM" and its code in the
// installation data; null when there is none of that name or code.
struct RegistryRoot {
    const wchar_t* name;
    HKEY root;
    WORD code;
};
const RegistryRoot* FindRoot(const std::wstring& name);
const RegistryRoot* FindRoot(WORD code);
const RegistryRoot* FindRoot(HKEY root);

// Names as Windows compares them: ignoring case.
bool SameName(const std::wstring& a, const std::wstring& b);

// Printable ASCII, the characters of a plain name.
bool Printable(wchar_t c);

// Why the text is no plain name of one file, folder, registry key or value
// (printable ASCII, no path, no device, nothing that Windows changes or
// refuses), or null when it is one.
const wchar_t* NameProblem(const std::wstring& name);
