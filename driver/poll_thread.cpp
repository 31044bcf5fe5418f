#include "poll_thread.h"

#include "driver_state.h"
#include "rsn.h"

namespace {

const DWORD kPollIntervalMs = 1000;

// Under stateLock, so that once RSN_IOCTL_CLEAR_WINDOW has returned nothing
// more is posted to the window it cleared.
void PostToClient(UINT message)
{
    EnterCriticalSection(&stateLock);
    if (clientWindow) {
        PostMessageW(clientWindow, message, 0, 0);
    }
    LeaveCriticalSection(&stateLock);
}

}  // namespace

DWORD WINAPI PollThreadProc(LPVOID)
{
    pollThreadRunning = 1;
    for (;;) {
        if (!notifiedFlag) {
            // Taken before the other flags are read: one look a power cycle,
            // whatever it finds.
            notifiedFlag = 1;
            if (powerDownFlag) {
                PostToClient(RSN_MSG_POWERDOWN);
            } else if (resumedFlag) {
                PostToClient(RSN_MSG_RESUMED);
            }
        }
        Sleep(kPollIntervalMs);
    }
}
