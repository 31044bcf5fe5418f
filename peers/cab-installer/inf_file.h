// A setup information (.inf) file in the handheld cabinet wizard's format, as
// far as a cabinet description uses it: [sections] of lines, each line a list
// of comma-separated fields, optionally after a key and '='; ';' starts a
// comment; a field in double quotes keeps its commas, semicolons and spaces
// ("" stands for one quote). Names of sections and keys ignore case. Strings
// in %percent signs% are left for the reader of the description to expand.
#pragma once

#include <string>
#include <vector>

struct InfLine {
    int number;                        // in the file, from 1
    std::wstring key;                  // before '=', empty on a plain list line
    std::vector<std::wstring> fields;  // unquoted, spaces around them trimmed
};

struct InfSection {
    std::wstring name;
    std::vector<InfLine> lines;
};

class InfFile {
public:
    // Reads UTF-8 text (a leading byte-order mark is skipped). False, with the
    // line and the reason in *error, for text that is not in this format.
    bool Parse(const std::string& utf8, std::wstring* error);

    // The section, or null when the file has none of that name.
    const InfSection* Section(const std::wstring& name) const;
    // The first line of the section with that key, or null.
    const InfLine* Find(const std::wstring& section, const std::wstring& key) const;

private:
    std::vector<InfSection> sections_;
};

bool SameName(const std::wstring& a, const std::wstring& b);
