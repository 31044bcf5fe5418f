#include "description_text.h"

#include <cwchar>

#include "handheld_names.h"

namespace {

// How deep [CEStrings] may stand inside one another.
const int kStringDepth = 8;

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
    *minor = 0;
    return ParseNumber(text.substr(0, dot), major) &&
           (dot == std::wstring::npos || ParseNumber(text.substr(dot + 1), minor));
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
// installer. A lone % stays as it is.
bool DescriptionText::Expand(const InfLine& line, const std::wstring& text, std::wstring* expanded,
                             int depth)
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
        const InfLine* definition = inf_.Find(L"CEStrings", name.substr(1, name.size() - 2));
        std::wstring value;
        if (definition) {
            if (!Expand(*definition, Field(*definition, 0), &value, depth + 1)) {
                return false;
            }
        } else if (!HandheldFolder(name).empty()) {
            value = name;
        } else {
            return Fail(line, L"the string " + name + L" is not defined");
        }
        result += value;
        i = close;
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

bool DescriptionText::Text(const InfLine& line, const std::wstring& text, std::wstring* expanded)
{
    if (!Expand(line, text, expanded)) {
        return false;
    }
    return expanded->find(L'%') == std::wstring::npos ||
           Fail(line, L"\"" + *expanded + L"\": a %string% stands only at a folder's start");
}

bool DescriptionText::Folder(const InfLine& line, const std::wstring& text, std::wstring* folder)
{
    if (!Expand(line, text, folder)) {
        return false;
    }
    return (!HandheldFolder(*folder).empty() &&
            folder->find(L'%', folder->find(L'%', 1) + 1) == std::wstring::npos &&
            folder->find(L"\\\\") == std::wstring::npos && folder->back() != L'\\') ||
           Fail(line, L"\"" + *folder + L"\" is no folder below a standard folder such as %CE2%");
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
