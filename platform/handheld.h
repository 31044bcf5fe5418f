// The handheld platform as the deliverables see it: include this instead of
// <windows.h>, <commctrl.h> and <aygshell.h>.
//
// On the handheld it is the platform's own headers. On desktop Windows it adds
// what the handheld has and the desktop lacks, and gives the few desktop
// functions whose meaning differs the handheld's meaning, so that the
// deliverables' code is the handheld code on both.
#pragma once

#ifdef _WIN32_WCE
#include <windows.h>
#include <commctrl.h>
#include <aygshell.h>
#else
#include "desktop/handheld_api.h"
#endif

// The compile-time assertion of the platform's own headers (winnt.h), which
// every fixed layout of the code is held to; in the same form for headers
// that lack it.
#ifndef C_ASSERT
#define C_ASSERT(e) typedef char HandheldCompileTimeCheck[(e) ? 1 : -1]
#endif

#ifdef _WIN32_WCE

// The handheld's fixed structure sizes; code fills dwSize and cbSize with sizeof.
C_ASSERT(sizeof(PROPSHEETHEADERW) == 40);  // the sheet header
C_ASSERT(sizeof(PROPSHEETPAGEW) == 40);    // a sheet page
C_ASSERT(sizeof(SHMENUBARINFO) == 36);     // the menu bar's description

// Window longs are 32 bits wide there, pointers included.
#define SetWindowLongPtrW SetWindowLongW
#define GetWindowLongPtrW GetWindowLongW
#define GWLP_USERDATA GWL_USERDATA

// Handles are 32-bit words there; older SDKs lack the helper that widens a
// 32-bit handle on wider platforms.
#ifndef LongToHandle
#define LongToHandle(h) ((HANDLE)(LONG)(h))
#endif

#else  // desktop Windows

// The handheld's entry function takes a wide command line (link with -municode).
#define WinMain wWinMain

// Desktop functions that take the handheld's meaning (see desktop/handheld_api.h).
#define PropertySheetW HandheldPropertySheetW
#define CreateProcessW HandheldCreateProcessW
#define CreateFileW HandheldCreateFileW
#define DeleteFileW HandheldDeleteFileW

#endif
