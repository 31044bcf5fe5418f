#include "menu_bar_holder.h"

MenuBarHolder::MenuBarHolder(HINSTANCE instance, HWND parent) : menuBar(NULL)
{
    SHMENUBARINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.hwndParent = parent;
    info.dwFlags = SHCMBF_EMPTYBAR;
    info.nToolBarId = 0;
    info.hInstRes = instance;
    info.nBmpId = 0;
    info.cBmpImages = 0;
    if (SHCreateMenuBar(&info)) {
        menuBar = info.hwndMB;
    }
}

MenuBarHolder::~MenuBarHolder()
{
    if (menuBar) {
        DestroyWindow(menuBar);
    }
}
