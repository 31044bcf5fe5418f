#include "handheld_api.h"
#include "screen.h"

namespace {

const WCHAR kMenuBarClass[] = L"HandheldMenuBar";
const WCHAR kNavigationBarClass[] = L"HandheldNavBar";
const int kOkWidth = 28;
const int kOkHeight = 20;
const int kMargin = 4;

bool RegisterBarClass(const WCHAR* name, WNDPROC procedure, int colour)
{
    WNDCLASSW barClass = {};
    barClass.lpfnWndProc = procedure;
    barClass.hInstance = GetModuleHandleW(NULL);
    barClass.hbrBackground = GetSysColorBrush(colour);
    barClass.lpszClassName = name;
    return RegisterClassW(&barClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The title left of the ok, white on the caption colour.
void PaintTitle(HWND bar)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    WCHAR title[128];
    GetWindowTextW(bar, title, 128);
    RECT room;
    GetClientRect(bar, &room);
    room.left += kMargin;
    room.right -= kOkWidth + 2 * kMargin;
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, title, -1, &room, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    EndPaint(bar, &paint);
}

LRESULT CALLBACK NavigationBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintTitle(bar);
        return 0;
    case WM_COMMAND:
        // "ok" is the dialog's own OK button to the dialog.
        return LOWORD(wParam) == IDOK ? SendMessageW(GetParent(bar), message, wParam, lParam) : 0;
    default:
        return DefWindowProcW(bar, message, wParam, lParam);
    }
}

}  // namespace

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (!info) {
        return FALSE;
    }
    info->hwndMB = NULL;
    RECT screen;
    if (!IsWindow(info->hwndParent) || !GetScreenArea(&screen) ||
        !RegisterBarClass(kMenuBarClass, DefWindowProcW, COLOR_BTNFACE)) {
        return FALSE;
    }
    // The handheld's menu bar lies along the bottom of the screen, whatever
    // its parent's place: here a tool window that its parent owns.
    info->hwndMB =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuBarClass, NULL,
                        WS_POPUP | WS_VISIBLE | WS_DLGFRAME, screen.left,
                        screen.bottom - kBarHeight, screen.right - screen.left, kBarHeight,
                        info->hwndParent, NULL, GetModuleHandleW(NULL), NULL);
    return info->hwndMB != NULL;
}

HWND CreateNavigationBar(HWND dialog)
{
    RECT area;
    WCHAR title[128];
    if (!GetClientRect(dialog, &area) ||
        !RegisterBarClass(kNavigationBarClass, NavigationBarProc, COLOR_ACTIVECAPTION)) {
        return NULL;
    }
    GetWindowTextW(dialog, title, 128);
    HINSTANCE instance = GetModuleHandleW(NULL);
    // Out of the dialog's tab order, as the handheld's bar is.
    HWND bar = CreateWindowExW(0, kNavigationBarClass, title, WS_CHILD | WS_VISIBLE, 0, 0,
                               area.right, kBarHeight, dialog, NULL, instance, NULL);
    HWND ok =
        CreateWindowExW(0, L"BUTTON", L"ok", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                        area.right - kOkWidth - kMargin, (kBarHeight - kOkHeight) / 2, kOkWidth,
                        kOkHeight, bar, reinterpret_cast<HMENU>(IDOK), instance, NULL);
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return bar;
}
