// The part of the handheld's <commctrl.h> that the product uses: sliders and
// the property sheet of commctrl.dll, with the handheld's structure layouts
// (the sheet's header and page are 40 bytes there), from the platform's
// public documentation.
#pragma once

#include <windows.h>

#define TBS_AUTOTICKS 0x0001

#define TBM_GETPOS (WM_USER)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETTICFREQ (WM_USER + 20)

#define PSH_PROPSHEETPAGE 0x00000008
#define PSH_USECALLBACK 0x00000100
#define PSH_HASHELP 0x00000200
#define PSH_MAXIMIZE 0x00002000  // the Pocket PC's full-screen sheet

#define PSCB_INITIALIZED 1
#define PSCB_GETVERSION 3        // the sheet asks the version its callback was written for
#define COMCTL32_VERSION 0x020C  // the Pocket PC sheet

#ifndef RC_INVOKED

typedef int(CALLBACK* PFNPROPSHEETCALLBACK)(HWND, UINT, LPARAM);
struct _PROPSHEETPAGEW;
typedef UINT(CALLBACK* LPFNPSPCALLBACKW)(HWND, UINT, struct _PROPSHEETPAGEW*);

typedef struct _PROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    LPCWSTR pszTemplate;
    HICON hIcon;
    LPCWSTR pszTitle;
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    LPFNPSPCALLBACKW pfnCallback;
    UINT* pcRefParent;
} PROPSHEETPAGEW;

typedef struct _PROPSHEETHEADERW {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    HINSTANCE hInstance;
    HICON hIcon;
    LPCWSTR pszCaption;
    UINT nPages;
    UINT nStartPage;
    const PROPSHEETPAGEW* ppsp;
    PFNPROPSHEETCALLBACK pfnCallback;
} PROPSHEETHEADERW;
typedef const PROPSHEETHEADERW* LPCPROPSHEETHEADERW;

extern "C" {
void WINAPI InitCommonControls(void);
int WINAPI PropertySheetW(LPCPROPSHEETHEADERW header);
}

#endif  // RC_INVOKED
