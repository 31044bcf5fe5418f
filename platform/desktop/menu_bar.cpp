#include "handheld_api.h"

namespace {

const WCHAR kMenuBarClass[] = L"HandheldMenuBar";
const int kMenuBarHeight = 26;  // the handheld's menu bar height in pixels

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
    RECT parentArea;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!GetClientRect(info->hwndParent, &parentArea) || !RegisterMenuBarClass(instance)) {
        return FALSE;
    }
    info->hwndMB = CreateWindowExW(0, kMenuBarClass, nullptr, WS_CHILD | WS_VISIBLE, 0,
                                   parentArea.bottom - kMenuBarHeight, parentArea.right,
                                   kMenuBarHeight, info->hwndParent, nullptr, instance, nullptr);
    return info->hwndMB != nullptr;
}
