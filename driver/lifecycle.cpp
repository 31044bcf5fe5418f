// Loading, starting and stopping the driver.
#include "driver_state.h"
#include "poll_thread.h"
#include "rsn.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

DWORD RSN_Init(DWORD)
{
    // A second call while the driver runs keeps its lock and its thread; a
    // call after RSN_Deinit starts it afresh.
    if (!runningFlag) {
        InitializeCriticalSection(&stateLock);
        // Manual reset: a stop, once asked for, stays asked for.
        stopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
        // A thread that could not be told to stop is not started.
        if (stopEvent) {
            pollThread = CreateThread(NULL, 0, PollThreadProc, NULL, 0, &pollThreadId);
        }
        runningFlag = 1;
    }
    return 1;
}

BOOL RSN_Deinit(DWORD)
{
    if (!runningFlag) {
        return TRUE;  // never started, or stopped already
    }
    // The thread finishes its pass and returns: it is never stopped inside
    // its post or under the lock, and a thread that returns gives back its
    // stack, which one that is killed keeps. Once it has ended, the lock can
    // go and the module may be unloaded.
    if (pollThread) {
        SetEvent(stopEvent);
        WaitForSingleObject(pollThread, INFINITE);
        CloseHandle(pollThread);
        pollThread = NULL;
    }
    if (stopEvent) {
        CloseHandle(stopEvent);
        stopEvent = NULL;
    }
    DeleteCriticalSection(&stateLock);
    runningFlag = 0;
    return TRUE;
}
