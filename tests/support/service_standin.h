// Control of the keyboard-service stand-in installed as "\Windows\KeybdR410.exe".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace test_support {

class ServiceStandIn {
public:
    // Ends any running copy, forgets its record and settings, installs it.
    static void Reset();
    // A value under HKCU\Software\Stand-ins\KeybdR410 (see the stand-in).
    static void Set(const wchar_t* name, DWORD value);
    static DWORD Get(const wchar_t* name, DWORD fallback);
    // Starts the installed copy and waits for its window.
    static Process Start();
    static HWND Window();
    static void End();

    // Its record, a line each: "start <pid>", "duplicate", "no-window",
    // "message <number> <wParam> <lParam>", "close <tick>", "exit"; the tick
    // is the system tick count in ms.
    static std::vector<std::string> Record();
    static int Count(const std::string& linePrefix);
};

}  // namespace test_support
