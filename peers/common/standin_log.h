// What the stand-ins share: a log of what they did, for tests to read, the
// way their windows end, and switches that tests set in the registry.
#pragma once

#include <windows.h>

// Appends one line to the log beside the program: "<program>.log" in the
// folder of its executable. Several copies may append at once.
void StandInLog(const wchar_t* format, ...);

// The window procedure's default for a stand-in's window: WM_CLOSE is logged
// as "close <tick>" (the system tick count in ms) and destroys the window, the
// window's destruction ends the message loop, and the rest goes to
// DefWindowProcW.
LRESULT CALLBACK StandInWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A DWORD value of HKCU\Software\Stand-ins\<key>, or fallback when unset.
DWORD StandInSwitch(const wchar_t* key, const wchar_t* name, DWORD fallback);
void SetStandInSwitch(const wchar_t* key, const wchar_t* name, DWORD value);
