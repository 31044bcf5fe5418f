// Control of a stand-in that is installed in the Windows folder, shows a
// window of one class, keeps a log "<program>.log" beside itself and reads
// its switches from HKCU\Software\Stand-ins\<program>: the keyboard service,
// the other model's service and the state window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace test_support {

class WindowStandIn {
public:
    WindowStandIn(const wchar_t* program, const wchar_t* windowClass)
        : program_(program), windowClass_(windowClass)
    {
    }

    // Ends any running copy, forgets its log and switches, installs it.
    void Reset() const;
    // Ends any running copy and deletes it and its log.
    void Remove() const;
    // Starts the installed copy and waits for its window.
    Process Start() const;
    HWND Window() const { return FindWindowW(windowClass_, nullptr); }
    void End() const { EndProgramsWithWindow(windowClass_); }
    std::wstring InstalledPath() const { return InWindowsFolder(program_); }

    // A switch the stand-in reads at start (see the stand-in).
    void Set(const wchar_t* name, DWORD value) const;

    // Its log, a line an event (see the stand-in).
    std::vector<std::string> Log() const;
    // How many of the log's lines begin so.
    int Count(const std::string& linePrefix) const;
    // The ticks (system tick count, ms) of the log's lines of one event,
    // "start" or "close", in order.
    std::vector<ULONGLONG> Ticks(const std::string& event) const;

private:
    std::wstring LogPath() const;
    std::wstring SwitchesKey() const;

    const wchar_t* program_;
    const wchar_t* windowClass_;
};

const WindowStandIn kKeyboardService(L"KeybdR410.exe", L"KeybdR410");

}  // namespace test_support
