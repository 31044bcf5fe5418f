#include "settings_sheet.h"

// Everything on the page is in its template; the dialog manager does the rest.
INT_PTR CALLBACK InfoPageProc(HWND page, UINT message, WPARAM, LPARAM)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(page, &paint);
        EndPaint(page, &paint);
    }
    return 0;
}
