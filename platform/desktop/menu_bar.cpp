#include "handheld_api.h"
#include "screen.h"

namespace {

const WCHAR kMenuBarClass[] = L"HandheldMenuBar";

bool RegisterMenuBarClass(HINSTANCE instance)
{
    WNDCLASSW menuBarClass = {};
    menuBarClass.lpfnWndProc = DefWindowProcW;
    menuBarClass.hInstance = instance;
    menuBarClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    menuBarClass.lpszClassName = kMenuBarClass;
    return RegisterClassW(&menuBarClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info)
{
    if (!info) {
        return FALSE;
    }
    info->hwndMB = nullptr;
    RECT screen;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!IsWindow(info->hwndParent) || !GetScreenArea(&screen) || !RegisterMenuBarClass(instance)) {
        return FALSE;
    }
    // The handheld's menu bar lies along the bottom of the screen, whatever
    // its parent's place: here a tool window that its parent owns.
    info->hwndMB = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuBarClass, nullptr,
                                   WS_POPUP | WS_VISIBLE | WS_DLGFRAME, screen.left,
                                   screen.bottom - kBarHeight, screen.right - screen.left,
                                   kBarHeight, info->hwndParent, nullptr, instance, nullptr);
    return info->hwndMB != nullptr;
}
