// Device-manager host: loads a stream-interface driver as the handheld's
// device manager does and drives it by command, for tests, the demo and
// measurements.
//
//   device-manager DRIVER PREFIX [COMMAND...]
//   device-manager --builtin NAME [COMMAND...]
//
// DRIVER is the library's path, PREFIX its entry-point prefix ("RSN"). With
// --builtin the host takes both from the driver's registration below
// HKEY_LOCAL_MACHINE "Drivers\BuiltIn\NAME" (Dll, Prefix, Index; a library
// without a folder is looked for in \Windows), as the device manager does at
// start-up, and keeps a record of the device below "Drivers\Active" while the
// driver is loaded. The host loads the library, resolves the ten entry points,
// calls Init and Open and registers a window of its own through control code
// 3. Then it runs the commands given on its command line or, without any,
// those on its standard input until "quit" or the end of the input. At the end
// it calls Close and Deinit and unloads the driver. Commands:
//   down, up, cycle      power-down, resume, or both in a row
//   wait MS              handle messages for MS milliseconds
//   window [HWND]        control code 3 with the host's window, or another one
//   clear-window         control code 4
//   get                  control code 1; says "resumed 0" or "resumed 1"
//   clear                control code 2
//   bench [CYCLES [IDLE_SECONDS]]
//                        resume-to-message latency over CYCLES power cycles
//                        (20), then the driver thread's CPU time over
//                        IDLE_SECONDS without any (60)
//   quit
// Every line it says (what it does, and every message its window receives)
// is stamped with the milliseconds since it started, written to its standard
// output and appended to device-manager.log beside it.
//
// Exit code 0; 1 when the driver cannot be loaded or is not registered; 2 for a
// wrong command line.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <sstream>

#include <handheld.h>

#include "client_window.h"
#include "host.h"
#include "registration.h"
#include "transcript.h"

namespace {

const UINT kInputLine = WM_APP + 1;  // lParam: a new std::wstring, or null at the end

std::vector<std::wstring> Words(const std::wstring& line)
{
    std::wistringstream stream(line);
    std::vector<std::wstring> words;
    std::wstring word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

// Reads standard input on a thread of its own, so that the window's messages
// are said as they arrive, and posts each line to the main thread.
DWORD WINAPI ReadInput(LPVOID mainThread)
{
    DWORD target = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(mainThread));
    char line[512];
    while (std::fgets(line, sizeof(line), stdin)) {
        wchar_t wide[512];
        int length = MultiByteToWideChar(CP_UTF8, 0, line, -1, wide, 512);
        auto* text = new std::wstring(wide, length > 0 ? length - 1 : 0);
        PostThreadMessageW(target, kInputLine, 0, reinterpret_cast<LPARAM>(text));
    }
    PostThreadMessageW(target, kInputLine, 0, 0);
    return 0;
}

void RunInput(DeviceManagerHost& host)
{
    std::deque<std::wstring*> lines;
    bool ended = false;
    SetThreadMessageHandler([&](const MSG& msg) {
        if (msg.message == kInputLine) {
            lines.push_back(reinterpret_cast<std::wstring*>(msg.lParam));
        }
    });
    // The thread's queue exists (the host has a window), so nothing posted is lost.
    UINT_PTR self = GetCurrentThreadId();
    HANDLE reader = CreateThread(nullptr, 0, ReadInput, reinterpret_cast<LPVOID>(self), 0, nullptr);
    if (reader) {
        CloseHandle(reader);
    }
    while (!ended) {
        Pump(INFINITE, [&] { return !lines.empty(); });
        std::wstring* line = lines.front();
        lines.pop_front();
        ended = !line || !host.Run(Words(*line));
        delete line;
    }
    SetThreadMessageHandler(nullptr);
}

// The library's path and prefix from the registration; false when there is none.
bool FromRegistration(const std::wstring& name, std::wstring* path, std::wstring* prefix,
                      ActiveRecord* active)
{
    DriverRegistration registration;
    std::wstring problem;
    if (!ReadRegistration(name, &registration, &problem)) {
        Say(L"%ls", problem.c_str());
        return false;
    }
    Say(L"HKLM\\%ls: Dll %ls, Prefix %ls, Index %lu, Order %lu", registration.key.c_str(),
        registration.library.c_str(), registration.prefix.c_str(), registration.index,
        registration.order);
    wchar_t desktopPath[MAX_PATH];
    std::wstring handheldPath = registration.LibraryPath();
    *path = ResolveHandheldPath(handheldPath.c_str(), desktopPath, MAX_PATH) ? desktopPath
                                                                             : handheldPath;
    *prefix = registration.prefix;
    std::wstring record = active->Add(registration);
    Say(L"device %ls, recorded under HKLM\\%ls", registration.DeviceName().c_str(), record.c_str());
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("usage: device-manager DRIVER PREFIX | --builtin NAME [COMMAND...]\n", stderr);
        return 2;
    }
    std::wstring path = argv[1];
    std::wstring prefix = argv[2];
    ActiveRecord active;
    if (path == L"--builtin" && !FromRegistration(argv[2], &path, &prefix, &active)) {
        return 1;
    }
    DeviceManagerHost host;
    if (!host.Start(path, std::string(prefix.begin(), prefix.end()))) {
        return 1;
    }
    if (argc > 3) {
        std::vector<std::wstring> words;
        for (int i = 3; i < argc; ++i) {
            for (const std::wstring& word : Words(argv[i])) {
                words.push_back(word);
            }
        }
        host.Run(words);
    } else {
        RunInput(host);
    }
    host.Stop();
    return 0;
}
