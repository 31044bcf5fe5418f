// The text of a package's description as the maker takes it, apart from what
// the sections mean: every %string% of [CEStrings] expanded (SetupAPI has
// expanded those of [Strings]), the standard folders %CEn% left for the
// installer, as is %InstallDir% in a registry value's data, nothing but ASCII
// (which the installation data carries), and numbers as the cabinet wizard
// reads them. Each failure names its line.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "inf_file.h"

// The section readers derive from it for the text of their lines and for
// their failures.
class DescriptionText {
public:
    DescriptionText(const InfFile& inf, std::wstring* error) : inf_(inf), error_(error) {}

    const InfFile& Inf() const { return inf_; }
    std::wstring* Error() const { return error_; }

    // False, with the reason in the error, and the line's number before it.
    bool Fail(const std::wstring& reason);
    bool Fail(const InfLine& line, const std::wstring& reason);

    // A name or value: no standard folder in it.
    bool Text(const InfLine& line, const std::wstring& text, std::wstring* expanded);
    // A registry value's data: %InstallDir%, which the installer replaces, and
    // any other %text% that [CEStrings] doesn't define stay as they are.
    bool Data(const InfLine& line, const std::wstring& text, std::wstring* expanded);
    // A folder: a standard folder and what follows, or a handheld path
    // ("\Program Files").
    bool Folder(const InfLine& line, const std::wstring& text, std::wstring* folder);
    // The expanded first field of a key that must be there and not be empty.
    bool Required(const wchar_t* section, const wchar_t* key, std::wstring* value);

private:
    bool Expand(const InfLine& line, const std::wstring& text, bool data, std::wstring* expanded,
                int depth = 0);
    bool ExpandString(const InfLine& definition, int depth, std::wstring* value);

    const InfFile& inf_;
    std::wstring* error_;
    // Each string of [CEStrings] expanded once, by its line.
    std::map<const InfLine*, std::wstring> strings_;
};

// The line's field at the index, or empty.
std::wstring Field(const InfLine& line, size_t index);

// Decimal, or hexadecimal after 0x: "010" is ten.
bool ParseNumber(const std::wstring& text, DWORD* value);
// The digits after the dot as a decimal number: "3.00" as 3 and 0, "4.2" as 4
// and 2, "4.20" as 4 and 20.
bool ParseVersion(const std::wstring& text, DWORD* major, DWORD* minor);
