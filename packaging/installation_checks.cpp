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
        const std::wstring& part = found->second;
        bool standard = !HandheldFolder(part).empty() && part.find(L'\\') == std::wstring::npos;
        if (i == 0 && inFolder && !standard) {
            return item + L" starts with " + Quoted(part) + L", no standard folder such as %CE2%";
        }
        std::wstring problem = i == 0 && inFolder ? L"" : PlainNameProblem(item + L"'s name", part);
        if (!problem.empty()) {
            return problem;
        }
        *path += (i ? L"\\" : L"") + part;
    }
    return path->empty() ? item + L" names nothing" : L"";
}
