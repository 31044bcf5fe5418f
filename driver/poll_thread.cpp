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
    // Read once: a client's null window between a test and a second read
    // would send the post to no window, into this thread's own queue.
    HWND client = clientWindow;
    if (client) {
        PostMessageW(client, message, 0, 0);
    }
    LeaveCriticalSection(&stateLock);
}

}  // namespace

DWORD WINAPI PollThreadProc(LPVOID)
{
    // Until RSN_Deinit sets the stop event; a wait that fails ends the loop
    // too, rather than turning it into a busy one.
    do {
        if (!notifiedFlag) {
            // Taken before the other flags are read: one look a power cycle,
            // whatever it finds. The interlocked store, one cheap call on the
            // handheld, keeps those reads from passing it on a multi-core
            // processor; a single core keeps that order anyway.
            InterlockedExchange(reinterpret_cast<LONG*>(const_cast<DWORD*>(&notifiedFlag)), 1);
            if (powerDownFlag) {
                PostToClient(RSN_MSG_POWERDOWN);
            } else if (resumedFlag) {
                PostToClient(RSN_MSG_RESUMED);
            }
        }
    } while (WaitForSingleObject(stopEvent, kPollIntervalMs) == WAIT_TIMEOUT);
    return 0;
}
