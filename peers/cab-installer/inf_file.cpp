#include "inf_file.h"

#include <windows.h>

namespace {

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsSpace(text[first])) {
        ++first;
    }
    while (end > first && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(first, end - first);
}

std::wstring LineError(int number, const std::wstring& reason)
{
    return L"line " + std::to_wstring(number) + L": " + reason;
}

// One field being read: spaces outside quotes count only between its parts.
class FieldBuilder {
public:
    void Add(wchar_t c, bool quoted)
    {
        if (!quoted && IsSpace(c)) {
            if (!text_.empty() || started_) {
                pendingSpaces_ += c;
            }
            return;
        }
        text_ += pendingSpaces_;
        pendingSpaces_.clear();
        text_ += c;
        started_ = true;
    }
    void Quote() { started_ = true; }  // "" is an empty field, not a missing one
    std::wstring Take()
    {
        std::wstring field = text_;
        text_.clear();
        pendingSpaces_.clear();
        started_ = false;
        return field;
    }

private:
    std::wstring text_;
    std::wstring pendingSpaces_;
    bool started_ = false;
};

// Splits a line of a section into its key and fields.
bool ParseLine(const std::wstring& text, InfLine* line, std::wstring* error)
{
    FieldBuilder field;
    bool quoted = false;
    bool hasKey = false;
    wchar_t lastUnquoted = 0;  // the last character outside quotes but for spaces
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
                field.Add(L'"', true);
                ++i;
            } else {
                quoted = !quoted;
                field.Quote();
            }
            continue;
        }
        if (quoted) {
            field.Add(c, true);
            continue;
        }
        if (c == L';') {
            break;
        }
        if (!IsSpace(c)) {
            lastUnquoted = c;
        }
        if (c == L'=' && !hasKey && line->fields.empty()) {
            line->key = field.Take();
            hasKey = true;
        } else if (c == L',') {
            line->fields.push_back(field.Take());
        } else {
            field.Add(c, false);
        }
    }
    if (quoted) {
        *error = LineError(line->number, L"a quote is not closed");
        return false;
    }
    if (lastUnquoted == L'\\') {
        *error = LineError(line->number, L"lines continued with \\ are not supported");
        return false;
    }
    line->fields.push_back(field.Take());
    return true;
}

// "[name]" with nothing but a comment after it.
bool ParseSectionName(const std::wstring& text, int number, std::wstring* name, std::wstring* error)
{
    size_t close = text.find(L']');
    std::wstring rest = close == std::wstring::npos ? L"" : Trim(text.substr(close + 1));
    if (close == std::wstring::npos || (!rest.empty() && rest[0] != L';')) {
        *error = LineError(number, L"a section name must stand alone in [brackets]");
        return false;
    }
    *name = Trim(text.substr(1, close - 1));
    if (name->empty()) {
        *error = LineError(number, L"a section needs a name");
        return false;
    }
    return true;
}

bool ToWide(const std::string& utf8, std::wstring* wide)
{
    if (utf8.empty()) {
        wide->clear();
        return true;
    }
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                     static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide->resize(length);
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        &(*wide)[0], length);
    return true;
}

}  // namespace

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool InfFile::Parse(const std::string& utf8, std::wstring* error)
{
    sections_.clear();
    std::wstring text;
    if (!ToWide(utf8, &text)) {
        *error = L"the file is not UTF-8 text";
        return false;
    }
    if (!text.empty() && text[0] == 0xFEFF) {
        text.erase(0, 1);
    }
    int number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t next = text.find(L'\n', start);
        size_t end = next == std::wstring::npos ? text.size() : next;
        if (end > start && text[end - 1] == L'\r') {
            --end;
        }
        std::wstring content = Trim(text.substr(start, end - start));
        start = next == std::wstring::npos ? text.size() : next + 1;
        ++number;
        if (content.empty() || content[0] == L';') {
            continue;
        }
        if (content[0] == L'[') {
            std::wstring name;
            if (!ParseSectionName(content, number, &name, error)) {
                return false;
            }
            if (Section(name)) {
                *error = LineError(number, L"the section [" + name + L"] appears twice");
                return false;
            }
            sections_.push_back({name, {}});
            continue;
        }
        if (sections_.empty()) {
            *error = LineError(number, L"the line stands outside of any [section]");
            return false;
        }
        InfLine line = {number, L"", {}};
        if (!ParseLine(content, &line, error)) {
            return false;
        }
        sections_.back().lines.push_back(line);
    }
    return true;
}

const InfSection* InfFile::Section(const std::wstring& name) const
{
    for (const InfSection& section : sections_) {
        if (SameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

const InfLine* InfFile::Find(const std::wstring& section, const std::wstring& key) const
{
    const InfSection* found = Section(section);
    if (!found) {
        return nullptr;
    }
    for (const InfLine& line : found->lines) {
        if (SameName(line.key, key)) {
            return &line;
        }
    }
    return nullptr;
}
