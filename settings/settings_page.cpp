#include "app_state.h"
#include "settings_sheet.h"

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        settingsPageWindow = page;
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(page, &paint);
        EndPaint(page, &paint);
        break;
    }
    }
    return 0;
}
