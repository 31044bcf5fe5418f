#include "driver_state.h"
#include "rsn.h"

namespace {

const DWORD kWordSize = 4;

// Buffers come from clients and need not be aligned: words are copied.
BOOL GetResumed(PBYTE output, DWORD outputLength, PDWORD bytesReturned)
{
    if (!output || outputLength < kWordSize || !bytesReturned) {
        return FALSE;
    }
    DWORD resumed = resumedFlag;
    CopyMemory(output, &resumed, kWordSize);
    *bytesReturned = kWordSize;
    return TRUE;
}

BOOL SetWindow(PBYTE input, DWORD inputLength)
{
    if (!input || inputLength < kWordSize) {
        return FALSE;
    }
    LONG word;
    CopyMemory(&word, input, kWordSize);
    // Window handles are 32-bit significant; a wider platform widens them
    // as it widens every 32-bit handle.
    clientWindow = static_cast<HWND>(LongToHandle(word));
    return TRUE;
}

BOOL ClearWindow()
{
    EnterCriticalSection(&stateLock);
    clientWindow = NULL;
    LeaveCriticalSection(&stateLock);
    return TRUE;
}

}  // namespace

BOOL RSN_IOControl(DWORD, DWORD code, PBYTE input, DWORD inputLength, PBYTE output,
                   DWORD outputLength, PDWORD bytesReturned)
{
    // A client may use its handle before the driver's start or keep it past
    // its stop: the lock is not initialised then, and nothing is done.
    if (!runningFlag) {
        return FALSE;
    }
    switch (code) {
    case RSN_IOCTL_GET_RESUMED:
        return GetResumed(output, outputLength, bytesReturned);
    case RSN_IOCTL_CLEAR_RESUMED:
        resumedFlag = 0;
        return TRUE;
    case RSN_IOCTL_SET_WINDOW:
        return SetWindow(input, inputLength);
    case RSN_IOCTL_CLEAR_WINDOW:
        return ClearWindow();
    default:
        return FALSE;
    }
}
