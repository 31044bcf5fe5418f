#include "service_contact.h"

#include <keyboard_service.h>

namespace {

const int kMaxLaunches = 10;
// A freshly started service needs a moment to create its window.
const DWORD kPollIntervalMs = 50;
const DWORD kWindowWaitMs = 500;

HWND FindService()
{
    return FindWindowW(KBSVC_WINDOW_CLASS, nullptr);
}

}  // namespace

HWND ContactKeyboardService()
{
    HWND service = FindService();
    for (int launches = 0; !service && launches < kMaxLaunches; ++launches) {
        CreateProcessW(KBSVC_EXECUTABLE, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       nullptr, nullptr);
        for (DWORD waited = 0; !service && waited < kWindowWaitMs; waited += kPollIntervalMs) {
            Sleep(kPollIntervalMs);
            service = FindService();
        }
    }
    return service;
}
