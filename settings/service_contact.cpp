#include "service_contact.h"

#include <keyboard_service.h>

namespace {

const int kMaxLaunches = 10;
const DWORD kPollIntervalMs = 50;
// How long a launched service may take to show its window, on the clock, which
// a busy handheld doesn't stretch as it stretches each wait. After a soft
// reset a slow handheld needs a second or two; five seconds is several times
// that, yet short for a user waiting for the sheet. A service still starting
// then is left to run and never launched again: two copies would both take
// the keyboard.
const DWORD kLaunchWaitMs = 5000;

HWND FindService()
{
    return FindWindowW(KBSVC_WINDOW_CLASS, NULL);
}

// Starts the service and waits until its window shows, the started process
// ends or the bound has passed. Returns the window, or null; *running tells
// whether the process was still running without a window at the bound.
HWND LaunchService(bool* running)
{
    *running = false;
    const DWORD launchedAt = GetTickCount();
    PROCESS_INFORMATION launched;
    if (!CreateProcessW(KBSVC_EXECUTABLE, NULL, NULL, NULL, FALSE, 0, NULL, NULL, NULL,
                        &launched)) {
        return FindService();
    }
    CloseHandle(launched.hThread);
    HWND service = FindService();
    bool ended = false;
    while (!service && !ended && GetTickCount() - launchedAt < kLaunchWaitMs) {
        ended = WaitForSingleObject(launched.hProcess, kPollIntervalMs) == WAIT_OBJECT_0;
        service = FindService();
    }
    CloseHandle(launched.hProcess);
    *running = !service && !ended;
    return service;
}

}  // namespace

HWND ContactKeyboardService()
{
    HWND service = FindService();
    bool running = false;
    // A launch that ended without a window is followed by the next; one still
    // running is not, and its window is for the program's next start to find.
    for (int launches = 0; !service && !running && launches < kMaxLaunches; ++launches) {
        service = LaunchService(&running);
    }
    return service;
}
