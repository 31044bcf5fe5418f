#include "handheld_api.h"
#include "screen.h"

namespace {

// The handheld's dialog has no frame of its own: the navigation bar is its caption.
void RemoveFrame(HWND dialog)
{
    LONG style = GetWindowLongW(dialog, GWL_STYLE);
    SetWindowLongW(dialog, GWL_STYLE, style & ~(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    LONG exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    const LONG edges = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    SetWindowLongW(dialog, GWL_EXSTYLE, exStyle & ~edges);
}

// The handheld's sheet: the tabs along its bottom, the page above them. The
// sheet gives the pages that it creates later the same area.
void LayOutSheet(HWND sheet)
{
    HWND tabs = PropSheet_GetTabControl(sheet);
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    RECT area;
    if (!tabs || !GetClientRect(sheet, &area)) {
        return;
    }
    SetWindowLongW(tabs, GWL_STYLE, GetWindowLongW(tabs, GWL_STYLE) | TCS_BOTTOM);
    SetWindowPos(tabs, NULL, 0, kBarHeight, area.right, area.bottom - kBarHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    area.top = kBarHeight;
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    SetWindowPos(page, NULL, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The handheld's maximised dialog: the screen between the navigation bar,
// which is the dialog's own, and the menu bar.
void Maximise(HWND dialog)
{
    RECT screen;
    if (!GetScreenArea(&screen)) {
        return;
    }
    RemoveFrame(dialog);
    SetWindowPos(dialog, NULL, screen.left, screen.top, screen.right - screen.left,
                 screen.bottom - screen.top - kBarHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The bar's ok is Done, the one way out: the desktop's buttons give way to it.
    ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
    CreateNavigationBar(dialog);
    LayOutSheet(dialog);
}

}  // namespace

BOOL WINAPI SHInitDialog(SHINITDLGINFO* info)
{
    if (!info || !IsWindow(info->hDlg)) {
        return FALSE;
    }
    if ((info->dwMask & SHIDIM_FLAGS) && (info->dwFlags & SHIDIF_DONEBUTTON)) {
        Maximise(info->hDlg);
    }
    return TRUE;
}
