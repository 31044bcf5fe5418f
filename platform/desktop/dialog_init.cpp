#include "handheld_api.h"

namespace {

void MoveBy(HWND dialog, HWND control, int dx, int dy, bool grow)
{
    RECT area;
    if (!control || !GetWindowRect(control, &area)) {
        return;
    }
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    if (grow) {
        area.right += dx;
        area.bottom += dy;
    } else {
        OffsetRect(&area, dx, dy);
    }
    SetWindowPos(control, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The handheld's maximised dialog: the whole work area, the contents grown
// with it and the buttons in the bottom right corner.
void FillWorkArea(HWND dialog)
{
    RECT workArea, frame;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0) ||
        !GetWindowRect(dialog, &frame)) {
        return;
    }
    int dx = (workArea.right - workArea.left) - (frame.right - frame.left);
    int dy = (workArea.bottom - workArea.top) - (frame.bottom - frame.top);
    SetWindowPos(dialog, nullptr, workArea.left, workArea.top, workArea.right - workArea.left,
                 workArea.bottom - workArea.top, SWP_NOZORDER | SWP_NOACTIVATE);

    HWND tabs = PropSheet_GetTabControl(dialog);
    if (!tabs) {
        return;
    }
    MoveBy(dialog, tabs, dx, dy, true);
    MoveBy(dialog, PropSheet_GetCurrentPageHwnd(dialog), dx, dy, true);
    MoveBy(dialog, GetDlgItem(dialog, IDOK), dx, dy, false);
}

}  // namespace

BOOL WINAPI SHInitDialog(SHINITDLGINFO* info)
{
    if (!info || !IsWindow(info->hDlg)) {
        return FALSE;
    }
    if ((info->dwMask & SHIDIM_FLAGS) && (info->dwFlags & SHIDIF_DONEBUTTON)) {
        // OK plays Done, the one way out.
        ShowWindow(GetDlgItem(info->hDlg, IDCANCEL), SW_HIDE);
        FillWorkArea(info->hDlg);
    }
    return TRUE;
}
