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

// A page as handed to the desktop sheet: the page's own description followed
// by its dialog procedure. The sheet keeps the extra bytes with its copy of
// the page and passes that copy with WM_INITDIALOG.
struct DesktopPage {
    PROPSHEETPAGEW page;
    DLGPROC handheldProc;
};

const wchar_t kHandheldProcProperty[] = L"HandheldPageProc";

// Set before the sheet runs.
UINT restoreFocusMessage;

// Runs the page's own procedure. After creating a page the desktop sheet moves
// the focus to the page's first tab stop; the handheld leaves it where the
// page put it in WM_INITDIALOG, so it is put back there once the sheet is done.
INT_PTR CALLBACK DesktopPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const DesktopPage* described = reinterpret_cast<const DesktopPage*>(lParam);
        // Kept through an integer: C++98 casts no code pointer to a data pointer.
        SetPropW(page, kHandheldProcProperty,
                 reinterpret_cast<HANDLE>(reinterpret_cast<UINT_PTR>(described->handheldProc)));
        INT_PTR result = described->handheldProc(page, message, wParam, lParam);
        HWND focus = GetFocus();
        if (!result && focus && IsChild(page, focus)) {
            PostMessageW(page, restoreFocusMessage, reinterpret_cast<WPARAM>(focus), 0);
        }
        return result;
    }
    if (message == restoreFocusMessage) {
        HWND focus = reinterpret_cast<HWND>(wParam);
        if (IsWindow(focus) && IsChild(page, focus) && IsWindowVisible(page)) {
            SetFocus(focus);
        }
        return TRUE;
    }
    DLGPROC handheldProc = reinterpret_cast<DLGPROC>(
        reinterpret_cast<UINT_PTR>(GetPropW(page, kHandheldProcProperty)));
    if (message == WM_NCDESTROY) {
        RemovePropW(page, kHandheldProcProperty);
    }
    return handheldProc ? handheldProc(page, message, wParam, lParam) : FALSE;
}

// Copies the pages, each with DesktopPageProc in front of its own procedure.
// Returns null when there is nothing to wrap or no memory; the caller frees it.
DesktopPage* WrapPages(const PROPSHEETHEADERW& header)
{
    if (!(header.dwFlags & PSH_PROPSHEETPAGE) || !header.ppsp || header.nPages == 0) {
        return NULL;
    }
    DesktopPage* pages = static_cast<DesktopPage*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, header.nPages * sizeof(DesktopPage)));
    if (!pages) {
        return NULL;
    }
    const BYTE* from = reinterpret_cast<const BYTE*>(header.ppsp);
    for (UINT index = 0; index < header.nPages; ++index) {
        const PROPSHEETPAGEW* page = reinterpret_cast<const PROPSHEETPAGEW*>(from);
        DWORD size = page->dwSize < sizeof(PROPSHEETPAGEW) ? page->dwSize : sizeof(PROPSHEETPAGEW);
        CopyMemory(&pages[index].page, page, size);
        pages[index].page.dwSize = sizeof(DesktopPage);
        if (page->pfnDlgProc) {
            pages[index].handheldProc = page->pfnDlgProc;
            pages[index].page.pfnDlgProc = DesktopPageProc;
        }
        from += page->dwSize;
    }
    return pages;
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

    restoreFocusMessage = RegisterWindowMessageW(L"HandheldRestorePageFocus");
    DesktopPage* pages = WrapPages(*header);
    if (pages) {
        desktopHeader.ppsp = &pages[0].page;
    }

    PFNPROPSHEETCALLBACK enclosingCallback = handheldCallback;
    if ((header->dwFlags & PSH_USECALLBACK) && header->pfnCallback) {
        handheldCallback = header->pfnCallback;
        desktopHeader.pfnCallback = DesktopSheetCallback;
    } else {
        desktopHeader.dwFlags &= ~PSH_USECALLBACK;
    }
    INT_PTR result = PropertySheetW(&desktopHeader);
    handheldCallback = enclosingCallback;
    if (pages) {
        HeapFree(GetProcessHeap(), 0, pages);
    }
    return result;
}
