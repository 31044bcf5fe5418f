#include "inf_file.h"

#include "handheld_names.h"

namespace {

std::wstring Capitals(std::wstring name)
{
    CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

std::wstring Trim(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L" \t");
    size_t last = text.find_last_not_of(L" \t");
    return first == std::wstring::npos ? L"" : text.substr(first, last - first + 1);
}

// The file's text: UTF-16 after its byte-order mark, otherwise 8-bit text,
// whose ASCII alone (brackets, semicolons, line ends) matters here.
bool ReadText(const std::wstring& path, std::wstring* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text->assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    } else {
        text->assign(bytes.begin(), bytes.end());
    }
    return true;
}

// Where each section's lines stand in the file, as SetupAPI counts them:
// blank lines and comments are none, a line ending in '\' goes on in the next.
std::map<std::wstring, std::vector<int>> LineNumbers(const std::wstring& text)
{
    std::map<std::wstring, std::vector<int>> numbers;
    std::vector<int>* section = nullptr;
    bool continued = false;
    int number = 0;
    for (size_t start = 0; start < text.size(); ++number) {
        size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        std::wstring line = Trim(text.substr(start, end - start));
        start = end + 1;
        while (!line.empty() && line.back() == L'\r') {
            line = Trim(line.substr(0, line.size() - 1));
        }
        bool wasContinued = continued;
        continued = !line.empty() && line.back() == L'\\';
        if (wasContinued || line.empty() || line[0] == L';') {
            continue;
        }
        if (line[0] == L'[') {
            section = &numbers[Capitals(Trim(line.substr(1, line.find(L']') - 1)))];
        } else if (section) {
            section->push_back(number + 1);
        }
    }
    return numbers;
}

const wchar_t* Reason(DWORD error)
{
    switch (error) {
    case ERROR_EXPECTED_SECTION_NAME:
        return L"the line stands outside of any [section]";
    case ERROR_BAD_SECTION_NAME_LINE:
        return L"a section name must stand alone in [brackets]";
    case ERROR_SECTION_NAME_TOO_LONG:
        return L"the section's name is too long";
    case ERROR_WRONG_INF_STYLE:
        return L"[Version] has no Signature \"$Windows NT$\"";
    default:
        return nullptr;
    }
}

std::wstring Field(PINFCONTEXT context, DWORD index, bool* found)
{
    DWORD size = 0;
    *found = SetupGetStringFieldW(context, index, nullptr, 0, &size) && size > 0;
    std::wstring text(*found ? size : 1, L'\0');
    *found = *found && SetupGetStringFieldW(context, index, &text[0], size, nullptr);
    text.resize(*found ? size - 1 : 0);
    return text;
}

}  // namespace

InfFile::~InfFile()
{
    if (inf_ != INVALID_HANDLE_VALUE) {
        SetupCloseInfFile(inf_);
    }
}

bool InfFile::Open(const std::wstring& path, std::wstring* error)
{
    std::wstring text;
    if (!ReadText(path, &text)) {
        *error = L"cannot read it (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    lineNumbers_ = LineNumbers(text);
    UINT errorLine = 0;
    inf_ = SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine);
    if (inf_ == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        *error = errorLine ? L"line " + std::to_wstring(errorLine) + L": " : L"";
        *error += Reason(code) ? Reason(code)
                               : L"SetupAPI can't read it (error " + std::to_wstring(code) + L")";
        return false;
    }
    const InfLine* signature = Find(L"Version", L"Signature");
    if (!signature || signature->fields.empty() ||
        !SameName(signature->fields[0], L"$Windows NT$")) {
        *error = (signature ? L"line " + std::to_wstring(signature->number) + L": " : L"") +
                 std::wstring(Reason(ERROR_WRONG_INF_STYLE));
        return false;
    }
    return true;
}

const InfSection* InfFile::Section(const std::wstring& name) const
{
    std::wstring capitals = Capitals(name);
    auto cached = sections_.find(capitals);
    if (cached != sections_.end()) {
        return &cached->second;
    }
    LONG count = SetupGetLineCountW(inf_, name.c_str());
    if (count < 0) {
        return nullptr;
    }
    InfSection section = {name, {}};
    auto numbers = lineNumbers_.find(capitals);
    for (LONG index = 0; index < count; ++index) {
        INFCONTEXT context;
        if (!SetupGetLineByIndexW(inf_, name.c_str(), index, &context)) {
            break;
        }
        InfLine line = {0, L"", {}};
        if (numbers != lineNumbers_.end() && size_t(index) < numbers->second.size()) {
            line.number = numbers->second[index];
        }
        DWORD fields = SetupGetFieldCount(&context);
        bool found = false;
        for (DWORD field = 1; field <= fields; ++field) {
            line.fields.push_back(Field(&context, field, &found));
        }
        // A lone field without '=' is its line's key too.
        line.key = Field(&context, 0, &found);
        if (fields == 1 && line.key == line.fields[0]) {
            line.key.clear();
        }
        // A line of nothing but a blank (SetupAPI's reading of a stray 0 byte
        // at the file's end) is no line to the wizard either.
        if (!line.key.empty() || fields != 1 || !Trim(line.fields[0]).empty()) {
            section.lines.push_back(line);
        }
    }
    return &sections_.emplace(capitals, section).first->second;
}

const InfLine* InfFile::Find(const std::wstring& section, const std::wstring& key) const
{
    const InfSection* found = Section(section);
    if (!found) {
        return nullptr;
    }
    for (auto line = found->lines.rbegin(); line != found->lines.rend(); ++line) {
        if (SameName(line->key, key)) {
            return &*line;
        }
    }
    return nullptr;
}

bool InfFile::Combine(const std::wstring& name, const std::wstring& other)
{
    const InfSection* added = Section(other);
    if (!added) {
        return false;
    }
    const InfSection* own = Section(name);
    InfSection combined = own ? *own : InfSection{name, {}};
    combined.lines.insert(combined.lines.end(), added->lines.begin(), added->lines.end());
    sections_[Capitals(name)] = combined;
    return true;
}
