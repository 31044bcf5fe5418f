// Stand-in for the keyboard service KeybdR410: a hidden top-level window of
// class "KeybdR410" that keeps a keyboard and a sound state, answers the
// queries, takes the set messages and ends on WM_CLOSE.
//
// Tests steer it with values under HKCU\Software\Stand-ins\KeybdR410:
//   Keyboard, Sound   the states (kept there, so they outlive a restart; default 1)
//   CreatesWindow     0: start, record, and end without a window
//   Answers           0: record queries but never answer them
//   StartDelayMs      how long it takes to show its window after its start
// and read what it did in KeybdR410.log beside its executable.
#include <keyboard_service.h>
#include <standin_log.h>

namespace {

const wchar_t kSwitchesKey[] = L"KeybdR410";

void Answer(WPARAM asker, UINT answer, const wchar_t* state)
{
    if (StandInSwitch(kSwitchesKey, L"Answers", 1)) {
        PostMessageW(reinterpret_cast<HWND>(asker), answer, StandInSwitch(kSwitchesKey, state, 1),
                     0);
    }
}

LRESULT CALLBACK ServiceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case KBSVC_QUERY_KEYBOARD:
    case KBSVC_QUERY_SOUND:
    case KBSVC_SET_KEYBOARD:
    case KBSVC_SET_SOUND:
        StandInLog(L"message %u %llu %lld", message, static_cast<unsigned long long>(wParam),
                   static_cast<long long>(lParam));
        if (message == KBSVC_QUERY_KEYBOARD) {
            Answer(wParam, KBSVC_KEYBOARD_STATE, L"Keyboard");
        } else if (message == KBSVC_QUERY_SOUND) {
            Answer(wParam, KBSVC_SOUND_STATE, L"Sound");
        } else {
            SetStandInSwitch(kSwitchesKey, message == KBSVC_SET_KEYBOARD ? L"Keyboard" : L"Sound",
                             static_cast<DWORD>(wParam));
        }
        return 0;
    default:
        return StandInWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    StandInLog(L"start %lu", GetCurrentProcessId());
    Sleep(StandInSwitch(kSwitchesKey, L"StartDelayMs", 0));  // a slow handheld after a reset

    // One service at a time, even when two start together.
    HANDLE startup = CreateMutexW(nullptr, FALSE, L"KeybdR410 stand-in start-up");
    WaitForSingleObject(startup, INFINITE);
    HWND service = nullptr;
    if (FindWindowW(KBSVC_WINDOW_CLASS, nullptr)) {
        StandInLog(L"duplicate");
    } else if (!StandInSwitch(kSwitchesKey, L"CreatesWindow", 1)) {
        StandInLog(L"no-window");
    } else {
        WNDCLASSW serviceClass = {};
        serviceClass.lpfnWndProc = ServiceWindowProc;
        serviceClass.hInstance = instance;
        serviceClass.lpszClassName = KBSVC_WINDOW_CLASS;
        RegisterClassW(&serviceClass);
        service = CreateWindowExW(0, KBSVC_WINDOW_CLASS, KBSVC_WINDOW_CLASS, WS_OVERLAPPED, 0, 0, 0,
                                  0, nullptr, nullptr, instance, nullptr);
    }
    ReleaseMutex(startup);
    CloseHandle(startup);
    if (!service) {
        return 0;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    StandInLog(L"exit");
    return 0;
}
