// What the handheld has and desktop Windows lacks or means otherwise, written
// for the desktop. The deliverables reach it through handheld.h, which also
// maps the desktop names onto the Handheld* functions declared here.
#pragma once

#include <windows.h>
#include <commctrl.h>
// After them: the compiler's NULL, not the 64-bit headers' 0LL, a long long
// that C++98 lacks.
#include <stddef.h>

// --- Shell: menu bar and dialog initialisation -------------------------------

// The handheld shell's interface, declared once for both (aygshell.h of the
// handheld layer); on the desktop:
// - SHCreateMenuBar creates an empty bar along the bottom of the screen, owned
//   by the parent, and returns it in hwndMB; DestroyWindow removes it.
// - With SHIDIF_DONEBUTTON, SHInitDialog takes the dialog's frame and fills the
//   screen above the menu bar with it, under a navigation bar of its own: its
//   title and an "ok" that sends it IDOK, the one way out, as Done is on the
//   handheld; the dialog's OK and Cancel buttons are hidden. A sheet gets the
//   handheld's layout: the tabs along its bottom, the page above them. The
//   desktop has no input panel to lower, so SHIDIF_SIPDOWN does nothing.
#include "../handheld/include/aygshell.h"

// --- Property sheets -------------------------------------------------------

// The handheld's maximised sheet. On the desktop 0x2000 asks for an old-style
// wizard, so it is never handed on (SHInitDialog does the maximising).
#define PSH_MAXIMIZE 0x2000

// The handheld sheet asks its callback for the version it was written for;
// 0x20C selects the Pocket PC style. On the desktop message 3 is a button
// notification and the version query is never sent.
#define PSCB_GETVERSION 3
#undef COMCTL32_VERSION
#define COMCTL32_VERSION 0x020C

// PropertySheetW with the handheld's header flags and callback messages.
INT_PTR WINAPI HandheldPropertySheetW(LPCPROPSHEETHEADERW header);

// --- Processes -------------------------------------------------------------

// CreateProcessW as on the handheld: start-up and process information may be
// null (the handles received are then closed), and the application name is a
// handheld path.
BOOL WINAPI HandheldCreateProcessW(LPCWSTR applicationName, LPWSTR commandLine,
                                   LPSECURITY_ATTRIBUTES processAttributes,
                                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                                   DWORD creationFlags, LPVOID environment,
                                   LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                                   LPPROCESS_INFORMATION processInformation);

// --- Files -----------------------------------------------------------------

// A handheld path such as "\Windows\R410.inf" names the one file system there.
// On the desktop a leading backslash means the current drive, so such a path
// is taken on the drive that holds the Windows folder instead. Other paths
// pass unchanged. Returns false when the result would not fit.
bool ResolveHandheldPath(LPCWSTR path, LPWSTR resolved, size_t capacity);

HANDLE WINAPI HandheldCreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                  LPSECURITY_ATTRIBUTES securityAttributes,
                                  DWORD creationDisposition, DWORD flagsAndAttributes,
                                  HANDLE templateFile);
BOOL WINAPI HandheldDeleteFileW(LPCWSTR fileName);
