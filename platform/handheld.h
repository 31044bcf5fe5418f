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

// The handheld's fixed structure sizes; code fills dwSize and cbSize with sizeof.
static_assert(sizeof(PROPSHEETHEADERW) == 40, "handheld sheet header is 40 bytes");
static_assert(sizeof(PROPSHEETPAGEW) == 40, "handheld sheet page is 40 bytes");
static_assert(sizeof(SHMENUBARINFO) == 36, "handheld menu bar info is 36 bytes");

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

#include "desktop/handheld_api.h"

// The handheld's entry function takes a wide command line (link with -municode).
#define WinMain wWinMain

// Desktop functions that take the handheld's meaning (see desktop/handheld_api.h).
#define PropertySheetW HandheldPropertySheetW
#define CreateProcessW HandheldCreateProcessW
#define CreateFileW HandheldCreateFileW
#define DeleteFileW HandheldDeleteFileW

#endif
