// A setup information (.inf) file, read through Windows' own INF API
// (SetupAPI): its sections, lines, quoted fields, comments, continued lines
// and [Strings], with each line's number in the file for messages. Names of
// sections and keys ignore case; %strings% that [Strings] doesn't define are
// left for the reader of the description (%CEn%, [CEStrings]).
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <map>
#include <string>
#include <vector>

struct InfLine {
    int number;                        // in the file, from 1
    std::wstring key;                  // before '=', empty on a plain list line
    std::vector<std::wstring> fields;  // after '='
};

struct InfSection {
    std::wstring name;
    std::vector<InfLine> lines;
};

class InfFile {
public:
    InfFile() = default;
    ~InfFile();
    InfFile(const InfFile&) = delete;
    InfFile& operator=(const InfFile&) = delete;

    // False, with the line and the reason in *error, for a file that SetupAPI
    // can't read as a setup information file with Signature "$Windows NT$".
    bool Open(const std::wstring& path, std::wstring* error);

    // The section, or null when the file has none of that name.
    const InfSection* Section(const std::wstring& name) const;
    // The last line of the section with that key, or null.
    const InfLine* Find(const std::wstring& section, const std::wstring& key) const;

    // From now on the section holds its own lines and then those of the other
    // section (whose line wins in Find); false when the other is not there.
    bool Combine(const std::wstring& name, const std::wstring& other);

private:
    HINF inf_ = INVALID_HANDLE_VALUE;
    // The file's line number of each line of a section, by the section's name
    // in capitals; SetupAPI counts the lines of a section only.
    std::map<std::wstring, std::vector<int>> lineNumbers_;
    mutable std::map<std::wstring, InfSection> sections_;
};
