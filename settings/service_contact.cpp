#include "service_contact.h"

#include <keyboard_service.h>

namespace {

const int kMaxLaunches = 10;
const DWORD kPollIntervalMs = 50;
// After a soft reset the service may need a second or more to show its window
// on a slow handheld; five seconds is several times that, and ten launches
// that hang without a window still give up within a minute.
const DWORD kLaunchWaitMs = 5000;

HWND FindService()
{
    return FindWindowW(KBSVC_WINDOW_CLASS, NULL);
}

// Starts the service and waits for its window until it shows, the started
// process ends or the wait's bound has passed. Returns the window, or null.
HWND LaunchService()
{
    PROCESS_INFORMATION launched;
    if (!CreateProcessW(KBSVC_EXECUTABLE, NULL, NULL, NULL, FALSE, 0, NULL, NULL, NULL,
                        &launched)) {
        return FindService();
    }
    CloseHandle(launched.hThread);
    HWND service = FindService();
    for (DWORD waited = 0; !service && waited < kLaunchWaitMs; waited += kPollIntervalMs) {
        bool ended = WaitForSingleObject(launched.hProcess, kPollIntervalMs) == WAIT_OBJECT_0;
        service = FindService();
        if (ended) {
            break;
        }
    }
    CloseHandle(launched.hProcess);
    return service;
}

}  // namespace

HWND ContactKeyboardService()
{
    HWND service = FindService();
    for (int launches = 0; !service && launches < kMaxLaunches; ++launches) {
        service = LaunchService();
    }
    return service;
}
