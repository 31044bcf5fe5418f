// Looks at and steers the programs' windows from a script, as automation does:
//   ui-probe wait TITLE MS            waits for a top-level window titled TITLE
//   ui-probe gone CLASS MS            waits until no window of class CLASS is left
//   ui-probe center TITLE ID          prints the screen centre "x y" of control ID
//                                     of the window TITLE or of its current sheet page
//   ui-probe page TITLE INDEX         selects a page of the sheet TITLE
//   ui-probe close CLASS              sends WM_CLOSE to the window of class CLASS
// Exits with 0 on success, 1 when the window or control is not there.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND WaitFor(const wchar_t* className, const wchar_t* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(className, title);
        if (window || GetTickCount() - start >= timeoutMs) {
            return window;
        }
        Sleep(50);
    }
}

HWND Control(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    if (!control) {
        HWND page = reinterpret_cast<HWND>(SendMessageW(window, PSM_GETCURRENTPAGEHWND, 0, 0));
        control = page ? GetDlgItem(page, id) : nullptr;
    }
    return control;
}

int Run(int argc, wchar_t** argv)
{
    if (argc < 3) {
        return 2;
    }
    const wchar_t* command = argv[1];
    const wchar_t* name = argv[2];
    long number = argc > 3 ? wcstol(argv[3], nullptr, 10) : 0;

    if (!wcscmp(command, L"wait")) {
        return WaitFor(nullptr, name, number) ? 0 : 1;
    }
    if (!wcscmp(command, L"gone")) {
        DWORD start = GetTickCount();
        while (FindWindowW(name, nullptr)) {
            if (GetTickCount() - start >= static_cast<DWORD>(number)) {
                return 1;
            }
            Sleep(50);
        }
        return 0;
    }
    if (!wcscmp(command, L"close")) {
        HWND window = FindWindowW(name, nullptr);
        return window && SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr)
                   ? 0
                   : 1;
    }
    HWND window = FindWindowW(nullptr, name);
    if (!window) {
        return 1;
    }
    if (!wcscmp(command, L"page")) {
        return SendMessageW(window, PSM_SETCURSEL, number, 0) ? 0 : 1;
    }
    if (!wcscmp(command, L"center")) {
        HWND control = Control(window, static_cast<int>(number));
        RECT area;
        if (!control || !GetWindowRect(control, &area)) {
            return 1;
        }
        std::printf("%ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        return 0;
    }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    return Run(argc, argv);
}
