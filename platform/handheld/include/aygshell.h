// The part of the Pocket PC shell's <aygshell.h> that the product uses: the
// menu bar and the full-screen dialog of aygshell.dll, from the platform's
// public documentation. The desktop layer declares its own with it
// (desktop/handheld_api.h).
#pragma once

#include <windows.h>

#define SHCMBF_EMPTYBAR 0x0001
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIPDOWN 0x0008

#ifndef RC_INVOKED

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO;

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO;

extern "C" {
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info);
BOOL WINAPI SHInitDialog(SHINITDLGINFO* info);
}

#endif  // RC_INVOKED
