// The driver's one set of state, shared by its entry points and its polling
// thread; all zero when the module is loaded.
//
// The flags are plain 32-bit words written by whole-word stores; volatile
// makes the polling thread reread them at every pass. The thread's store of
// notifiedFlag is interlocked, so the flag reads after it can't pass it. Only
// the thread's post to the client window and the clearing of that window are
// ordered, by stateLock.
#pragma once

#include <handheld.h>

// Initialised by RSN_Init, deleted by RSN_Deinit.
extern CRITICAL_SECTION stateLock;
// 1 from a power-down until the next resume.
extern volatile DWORD powerDownFlag;
// 1 when a resume has followed a power-down, until a client clears it or the
// next power-down.
extern volatile DWORD resumedFlag;
// The polling thread; null while the driver is not running.
extern HANDLE pollThread;
// Received from CreateThread and read by nobody: the driver's state has
// always kept it, and a debugger shows it.
extern DWORD pollThreadId;
// Set by RSN_Deinit: the polling thread ends its wait for the next pass and
// returns.
extern HANDLE stopEvent;
// The window that receives the notifications; null when none is registered.
extern HWND volatile clientWindow;
// 1 once the polling thread has taken its one look at the current power cycle.
extern volatile DWORD notifiedFlag;
// 1 from RSN_Init to RSN_Deinit, while stateLock is initialised. Only those
// two write it, and the device manager never calls them at once;
// RSN_IOControl refuses every control code while it is 0.
extern DWORD runningFlag;

// The flags and the thread identifier are 32-bit words.
C_ASSERT(sizeof(powerDownFlag) == 4 && sizeof(resumedFlag) == 4 && sizeof(pollThreadId) == 4 &&
         sizeof(notifiedFlag) == 4 && sizeof(runningFlag) == 4);
