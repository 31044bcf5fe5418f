// The resume notifier as the device manager and its clients see it: the ten
// stream-interface entry points under the prefix RSN, the control codes and
// the messages posted to the client's window.
#pragma once

#include <handheld.h>

extern "C" {

// The device manager's calls. Contexts are 32-bit words: the device context
// and every open context are 1, since all opens share one module-wide state.
DWORD RSN_Init(DWORD registryContext);
BOOL RSN_Deinit(DWORD deviceContext);
DWORD RSN_Open(DWORD deviceContext, DWORD access, DWORD shareMode);
BOOL RSN_Close(DWORD openContext);
BOOL RSN_IOControl(DWORD openContext, DWORD code, PBYTE input, DWORD inputLength, PBYTE output,
                   DWORD outputLength, PDWORD bytesReturned);

// The platform's power handling.
void RSN_PowerUp(DWORD deviceContext);
void RSN_PowerDown(DWORD deviceContext);

// The driver carries no data: these fail with all bits set.
DWORD RSN_Read(DWORD openContext, LPVOID buffer, DWORD count);
DWORD RSN_Write(DWORD openContext, LPCVOID buffer, DWORD count);
DWORD RSN_Seek(DWORD openContext, LONG distance, WORD moveMethod);

}  // extern "C"

// Control codes: the plain numbers, not values built with CTL_CODE.
const DWORD RSN_IOCTL_GET_RESUMED = 1;    // output: the resumed state as one 32-bit word
const DWORD RSN_IOCTL_CLEAR_RESUMED = 2;  // no buffers
const DWORD RSN_IOCTL_SET_WINDOW = 3;     // input: the window handle as one 32-bit word
const DWORD RSN_IOCTL_CLEAR_WINDOW = 4;   // no buffers; nothing is posted after it returns

// Posted to the client's window, wParam and lParam 0, at most one a power cycle.
const UINT RSN_MSG_RESUMED = WM_USER + 101;    // resumed after a power-down
const UINT RSN_MSG_POWERDOWN = WM_USER + 102;  // powered down, no resume seen yet

// Failure result of RSN_Read, RSN_Write and RSN_Seek.
const DWORD RSN_FAILED = 0xFFFFFFFF;

// The control codes are the plain numbers 1 to 4; clients know the messages by
// their numbers; contexts, codes and results are 32-bit words.
C_ASSERT(RSN_IOCTL_GET_RESUMED == 1 && RSN_IOCTL_CLEAR_RESUMED == 2 && RSN_IOCTL_SET_WINDOW == 3 &&
         RSN_IOCTL_CLEAR_WINDOW == 4);
C_ASSERT(RSN_MSG_RESUMED == 1125 && RSN_MSG_POWERDOWN == 1126);
C_ASSERT(sizeof(DWORD) == 4 && sizeof(RSN_FAILED) == 4);
