#include "handheld_api.h"

namespace {

// The callback of the modal sheet being run.
PFNPROPSHEETCALLBACK handheldCallback;

int CALLBACK DesktopSheetCallback(HWND sheet, UINT message, LPARAM lParam)
{
    // Only what means the same on both platforms is passed on: on the desktop
    // message 3 is a button notification, not the version query.
    if (message == PSCB_PRECREATE || message == PSCB_INITIALIZED) {
        return handheldCallback(sheet, message, lParam);
    }
    return 0;
}

}  // namespace

INT_PTR WINAPI HandheldPropertySheetW(LPCPROPSHEETHEADERW header)
{
    if (!header) {
        return -1;
    }
    PROPSHEETHEADERW desktopHeader = *header;
    // The handheld's maximised sheet would be a wizard here, and its sheet has
    // neither Help nor Apply buttons.
    desktopHeader.dwFlags &= ~(PSH_MAXIMIZE | PSH_HASHELP);
    desktopHeader.dwFlags |= PSH_NOAPPLYNOW;

    PFNPROPSHEETCALLBACK enclosingCallback = handheldCallback;
    if ((header->dwFlags & PSH_USECALLBACK) && header->pfnCallback) {
        handheldCallback = header->pfnCallback;
        desktopHeader.pfnCallback = DesktopSheetCallback;
    } else {
        desktopHeader.dwFlags &= ~PSH_USECALLBACK;
    }
    INT_PTR result = PropertySheetW(&desktopHeader);
    handheldCallback = enclosingCallback;
    return result;
}
