#include "installation_checks.h"

#include "handheld_names.h"

std::wstring Quoted(std::wstring text)
{
    for (wchar_t& c : text) {
        c = Printable(c) ? c : L'?';
    }
    return L"\"" + text + L"\"";
}

std::wstring PlainNameProblem(const std::wstring& what, const std::wstring& name)
{
    const wchar_t* problem = NameProblem(name);
    return problem ? what + L" " + Quoted(name) + L" " + problem : L"";
}

std::wstring LongPathProblem(const std::wstring& item, const std::wstring& path)
{
    return path.size() < MAX_PATH ? L"" : item + L"'s path is longer than the handheld takes";
}

std::wstring PathProblem(const std::wstring& item, const std::vector<WORD>& ids,
                         const std::map<WORD, std::wstring>& strings, bool inFolder,
                         std::wstring* path)
{
    path->clear();
    for (size_t i = 0; i < ids.size(); ++i) {
        auto found = strings.find(ids[i]);
        if (found == strings.end()) {
            return item + L" names the string " + std::to_wstring(ids[i]) + L", which is not there";
        }
        *path += (i ? L"\\" : L"") + found->second;
    }
    if (path->empty()) {
        return item + L" names nothing";
    }
    size_t start = 0;  // of the parts that must be plain names
    if (inFolder) {
        start = path->find(L'\\');
        std::wstring base = path->substr(0, start);
        if (start != 0 && HandheldFolder(base).empty()) {
            return item + L" starts with " + Quoted(base) +
                   L", neither a standard folder such as %CE2% nor the handheld's root";
        }
        if (start == std::wstring::npos) {
            return L"";
        }
        ++start;
    }
    for (size_t end = start;; start = end + 1) {
        end = path->find(L'\\', start);
        std::wstring problem =
            PlainNameProblem(item + L"'s name", path->substr(start, end - start));
        if (!problem.empty() || end == std::wstring::npos) {
            return problem;
        }
    }
}
