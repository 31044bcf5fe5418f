// Stand-in for an outside program that the installer hooks close: a hidden
// top-level window of one class that ends on WM_CLOSE. Built once per class
// (STAND_IN_CLASS):
//   KeybdR810.exe    the other keyboard model's service, class "KeybdR810"
//   StateWindow.exe  the state window, class "STATEWINDOW"
// Each records in "<program>.log" beside its executable, with the system's
// tick count in ms, so that tests can order what happens in several processes:
//   "start <pid> <tick>", "close <tick>", "exit"
#include <windows.h>

#include <standin_log.h>

namespace {

const wchar_t kWindowClass[] = L"" STAND_IN_CLASS;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    StandInLog(L"start %lu %llu", GetCurrentProcessId(), GetTickCount64());

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StandInWindowProc;  // records WM_CLOSE and ends
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    if (!CreateWindowExW(0, kWindowClass, kWindowClass, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr)) {
        return 1;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    StandInLog(L"exit");
    return 0;
}
