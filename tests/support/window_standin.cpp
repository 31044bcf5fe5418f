#include "window_standin.h"

#include <cstdlib>

namespace test_support {

std::wstring WindowStandIn::RecordPath() const
{
    std::wstring path = InstalledPath();
    return path.substr(0, path.size() - 4) + L".log";  // in place of ".exe"
}

void WindowStandIn::Reset() const
{
    End();
    RemoveFile(RecordPath());
    InstallProgram(program_, program_);
}

void WindowStandIn::Remove() const
{
    End();
    RemoveFile(RecordPath());
    RemoveFile(InstalledPath());
}

Process WindowStandIn::Start() const
{
    Process started(InstalledPath());
    WaitForWindow(windowClass_, nullptr, 10000);
    return started;
}

std::vector<std::string> WindowStandIn::Record() const
{
    return ReadLines(RecordPath());
}

std::vector<ULONGLONG> WindowStandIn::Ticks(const std::string& event) const
{
    std::vector<ULONGLONG> ticks;
    for (const std::string& line : Record()) {
        if (line.compare(0, event.size() + 1, event + " ") == 0) {
            ticks.push_back(std::strtoull(line.c_str() + line.rfind(' ') + 1, nullptr, 10));
        }
    }
    return ticks;
}

}  // namespace test_support
