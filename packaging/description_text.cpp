#include "description_text.h"

#include <cwchar>

#include "handheld_names.h"

namespace {

// How deep [CEStrings] may stand inside one another, and how long a text may
// grow with them: as long as SetupAPI lets a field be.
const int kStringDepth = 8;
const size_t kLongestText = MAX_INF_STRING_LENGTH;

}  // namespace

bool ParseNumber(const std::wstring& text, DWORD* value)
{
    bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    std::wstring digits = text.substr(hex ? 2 : 0);
    if (digits.empty() || digits.find_first_not_of(hex ? L"0123456789abcdefABCDEF"
                                                       : L"0123456789") != std::wstring::npos) {
        return false;
    }
    unsigned long long number = std::wcstoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (number > 0xFFFFFFFFull) {  // ULLONG_MAX too when it doesn't fit
        return false;
    }
    *value = static_cast<DWORD>(number);
    return true;
}

bool ParseVersion(const std::wstring& text, DWORD* major, DWORD* minor)
{
    size_t dot = text.find(L'.');
    std::wstring digits = dot == std::wstring::npos ? L"0" : text.substr(dot + 1);
    return ParseNumber(text.substr(0, dot), major) &&
           digits.find_first_not_of(L"0123456789") == std::wstring::npos &&
           ParseNumber(digits, minor);
}

std::wstring Field(const InfLine& line, size_t index)
{
    return index < line.fields.size() ? line.fields[index] : std::wstring();
}

bool DescriptionText::Fail(const std::wstring& reason)
{
    *error_ = reason;
    return false;
}

bool DescriptionText::Fail(const InfLine& line, const std::wstring& reason)
{
    return Fail(L"line " + std::to_wstring(line.number) + L": " + reason);
}

// The text with every %string% of [CEStrings] replaced (SetupAPI has
// replaced those of [Strings]); the standard folders %CEn% stay for the
// installer, and so does, in data, every %text% that is not a string of
// [CEStrings] or is %InstallDir%. A lone % stays as it is.
bool DescriptionText::Expand(const InfLine& line, const std::wstring& text, bool data,
                             std::wstring* expanded, int depth)
{
    if (depth > kStringDepth) {
        return Fail(line, L"%strings% refer to one another in a circle");
    }
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t close = text[i] == L'%' ? text.find(L'%', i + 1) : std::wstring::npos;
        if (close == std::wstring::npos) {
            result += text[i];
            continue;
        }
        std::wstring name = text.substr(i, close - i + 1);
        std::wstring key = name.substr(1, name.size() - 2);
        const InfLine* definition = inf_.Find(L"CEStrings", key);
        std::wstring value = name;
        if (definition && !(data && SameName(key, L"InstallDir"))) {
            if (!ExpandString(*definition, depth, &value)) {
                return false;
            }
        } else if (!data && HandheldFolder(name).empty()) {
            return Fail(line, L"the string " + name + L" is not defined");
        }
        result += value;
        i = close;
        if (result.size() > kLongestText) {
            return Fail(line, L"the %strings% make a text longer than " +
                                  std::to_wstring(kLongestText) + L" characters");
        }
    }
    for (wchar_t c : result) {
        if (c > 0x7F) {
            return Fail(line, L"\"" + result +
                                  L"\" is not ASCII, which the cabinet's installation data "
                                  L"can't carry");
        }
    }
    *expanded = result;
    return true;
}

// A string of [CEStrings], expanded once however often the description uses
// it: strings that each use the next many times expand in linear time.
bool DescriptionText::ExpandString(const InfLine& definition, int depth, std::wstring* value)
{
    auto known = strings_.find(&definition);
    if (known != strings_.end()) {
        *value = known->second;
        return true;
    }
    if (!Expand(definition, Field(definition, 0), false, value, depth + 1)) {
        return false;
    }
    strings_[&definition] = *value;
    return true;
}

bool DescriptionText::Text(const InfLine& line, const std::wstring& text, std::wstring* expanded)
{
    if (!Expand(line, text, false, expanded)) {
        return false;
    }
    return expanded->find(L'%') == std::wstring::npos ||
           Fail(line, L"\"" + *expanded + L"\": a %string% stands only at a folder's start");
}

bool DescriptionText::Data(const InfLine& line, const std::wstring& text, std::wstring* expanded)
{
    return Expand(line, text, true, expanded);
}

bool DescriptionText::Folder(const InfLine& line, const std::wstring& text, std::wstring* folder)
{
    if (!Expand(line, text, false, folder)) {
        return false;
    }
    // Its one %string%, if any, is the standard folder that it starts with.
    size_t rest = folder->compare(0, 1, L"%") == 0 ? folder->find(L'%', 1) + 1 : 0;
    return (!InstallationFolder(*folder).empty() &&
            folder->find(L'%', rest) == std::wstring::npos &&
            folder->find(L"\\\\") == std::wstring::npos && folder->back() != L'\\') ||
           Fail(line, L"\"" + *folder +
                          L"\" is no folder below a standard folder such as %CE2% nor a "
                          L"handheld path such as \\Program Files");
}

bool DescriptionText::Required(const wchar_t* section, const wchar_t* key, std::wstring* value)
{
    const InfLine* line = inf_.Find(section, key);
    if (!line) {
        return Fail(L"[" + std::wstring(section) + L"] has no " + key);
    }
    if (!Text(*line, Field(*line, 0), value)) {
        return false;
    }
    return !value->empty() || Fail(*line, std::wstring(key) + L" is empty");
}
