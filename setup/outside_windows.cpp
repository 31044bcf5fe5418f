#include "outside_windows.h"

bool CloseWindowOfClass(LPCWSTR windowClass)
{
    HWND window = FindWindowW(windowClass, NULL);
    if (!window) {
        return false;
    }
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}
