#include "window_standin.h"

#include <algorithm>
#include <cstdlib>

namespace test_support {

namespace {

// The file's lines, without their "\r\n".
std::vector<std::string> ReadLines(const std::wstring& path)
{
    std::string text = ReadFileBytes(path);
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

std::wstring WindowStandIn::LogPath() const
{
    std::wstring path = InstalledPath();
    return path.substr(0, path.size() - 4) + L".log";  // in place of ".exe"
}

std::wstring WindowStandIn::SwitchesKey() const
{
    std::wstring name(program_);
    return L"Software\\Stand-ins\\" + name.substr(0, name.size() - 4);
}

void WindowStandIn::Reset() const
{
    End();
    RemoveFile(LogPath());
    RegDeleteTreeW(HKEY_CURRENT_USER, SwitchesKey().c_str());
    InstallProgram(program_, program_);
}

void WindowStandIn::Set(const wchar_t* name, DWORD value) const
{
    RegSetKeyValueW(HKEY_CURRENT_USER, SwitchesKey().c_str(), name, REG_DWORD, &value,
                    sizeof(value));
}

void WindowStandIn::Remove() const
{
    End();
    RemoveFile(LogPath());
    RemoveFile(InstalledPath());
}

Process WindowStandIn::Start() const
{
    Process started(InstalledPath());
    WaitForWindow(windowClass_, nullptr, 10000);
    return started;
}

std::vector<std::string> WindowStandIn::Log() const
{
    return ReadLines(LogPath());
}

int WindowStandIn::Count(const std::string& linePrefix) const
{
    int count = 0;
    for (const std::string& line : Log()) {
        count += line.compare(0, linePrefix.size(), linePrefix) == 0;
    }
    return count;
}

std::vector<ULONGLONG> WindowStandIn::Ticks(const std::string& event) const
{
    std::vector<ULONGLONG> ticks;
    for (const std::string& line : Log()) {
        if (line.compare(0, event.size() + 1, event + " ") == 0) {
            ticks.push_back(std::strtoull(line.c_str() + line.rfind(' ') + 1, nullptr, 10));
        }
    }
    return ticks;
}

}  // namespace test_support
