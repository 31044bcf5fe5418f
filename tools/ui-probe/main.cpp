// Looks at and steers the programs' windows from a script, as automation does:
//   ui-probe wait TITLE MS            waits for a top-level window titled TITLE
//   ui-probe gone CLASS MS            waits until no window of class CLASS is left
//   ui-probe center TITLE ID          prints the screen centre "x y" of the control ID
//                                     that the window TITLE shows (its own, its sheet
//                                     page's or its navigation bar's)
//   ui-probe thumb TITLE ID           prints the screen centre "x y" of the thumb of
//                                     slider ID, where a person takes hold of it
//   ui-probe value TITLE ID           prints what control ID shows: a slider's
//                                     position, a check box's state (0 or 1), or text
//   ui-probe until TITLE ID VALUE MS  waits until control ID shows VALUE
//   ui-probe handle TITLE             prints the window's handle as a number
//   ui-probe page TITLE INDEX         selects a page of the sheet TITLE
//   ui-probe close CLASS              sends WM_CLOSE to the window of class CLASS
// Exits with 0 on success, 1 when the window or control is not there (or the
// wait ran out), 2 for a wrong command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const DWORD kPollMs = 50;

HWND WaitFor(const wchar_t* className, const wchar_t* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(className, title);
        if (window || GetTickCount() - start >= timeoutMs) {
            return window;
        }
        Sleep(kPollMs);
    }
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchVisibleControl(HWND child, LPARAM lParam)
{
    auto* search = reinterpret_cast<ControlSearch*>(lParam);
    // Dialog templates hold 16-bit IDs: 0xFFFF may read back as -1.
    if (LOWORD(GetDlgCtrlID(child)) == LOWORD(search->id) && IsWindowVisible(child)) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The control ID that a person sees in the window: one of its own, of the page
// it shows or of its navigation bar.
HWND Control(HWND window, int id)
{
    ControlSearch search = {id, nullptr};
    EnumChildWindows(window, MatchVisibleControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsClass(HWND window, const wchar_t* className)
{
    wchar_t name[64];
    return GetClassNameW(window, name, 64) && !lstrcmpiW(name, className);
}

// What the control shows, as a person reads it.
std::wstring Value(HWND control)
{
    if (IsClass(control, TRACKBAR_CLASSW)) {
        return std::to_wstring(SendMessageW(control, TBM_GETPOS, 0, 0));
    }
    if (IsClass(control, L"Button")) {
        return std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0));
    }
    wchar_t text[512] = {};
    SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// The slider's thumb in screen coordinates. The slider fills in a RECT whose
// address it is given, so the RECT must live in the slider's own process.
bool ThumbRect(HWND slider, RECT* thumb)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(slider, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) {
        return false;
    }
    bool read = false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
        read = ReadProcessMemory(process, remote, thumb, sizeof(RECT), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return read && MapWindowPoints(slider, nullptr, reinterpret_cast<POINT*>(thumb), 2) != 0;
}

int PrintCentre(const RECT& area)
{
    std::printf("%ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    return 0;
}

int Run(int argc, wchar_t** argv)
{
    if (argc < 3) {
        return 2;
    }
    const std::wstring command = argv[1];
    const wchar_t* name = argv[2];
    long number = argc > 3 ? wcstol(argv[3], nullptr, 10) : 0;

    if (command == L"wait") {
        return WaitFor(nullptr, name, number) ? 0 : 1;
    }
    if (command == L"gone") {
        DWORD start = GetTickCount();
        while (FindWindowW(name, nullptr)) {
            if (GetTickCount() - start >= static_cast<DWORD>(number)) {
                return 1;
            }
            Sleep(kPollMs);
        }
        return 0;
    }
    if (command == L"close") {
        HWND window = FindWindowW(name, nullptr);
        return window && SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr)
                   ? 0
                   : 1;
    }
    HWND window = FindWindowW(nullptr, name);
    if (!window) {
        return 1;
    }
    if (command == L"handle") {
        std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
        return 0;
    }
    if (command == L"page") {
        return SendMessageW(window, PSM_SETCURSEL, number, 0) ? 0 : 1;
    }
    HWND control = Control(window, static_cast<int>(number));
    if (!control) {
        return 1;
    }
    RECT area;
    if (command == L"center") {
        return GetWindowRect(control, &area) ? PrintCentre(area) : 1;
    }
    if (command == L"thumb") {
        return ThumbRect(control, &area) ? PrintCentre(area) : 1;
    }
    if (command == L"value") {
        std::string utf8(1024, '\0');
        std::wstring value = Value(control);
        int length =
            WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, &utf8[0], 1024, nullptr, nullptr);
        std::printf("%s\n", length > 0 ? utf8.c_str() : "");
        return 0;
    }
    if (command == L"until" && argc > 5) {
        DWORD timeoutMs = wcstoul(argv[5], nullptr, 10);
        DWORD start = GetTickCount();
        while (Value(control) != argv[4]) {
            if (GetTickCount() - start >= timeoutMs) {
                return 1;
            }
            Sleep(kPollMs);
        }
        return 0;
    }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    return Run(argc, argv);
}
