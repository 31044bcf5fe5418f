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
    if (!pollThread) {
        InitializeCriticalSection(&stateLock);
        pollThread = CreateThread(nullptr, 0, PollThreadProc, nullptr, 0, &pollThreadId);
    }
    return 1;
}

BOOL RSN_Deinit(DWORD)
{
    if (pollThread) {
        // Not during its start-up: the thread may hold the loader's lock there.
        while (!pollThreadRunning && WaitForSingleObject(pollThread, 1) == WAIT_TIMEOUT) {
        }
        // With the lock held the thread is never ended inside its post, nor
        // the lock deleted under it; once it has ended the module may go.
        EnterCriticalSection(&stateLock);
        TerminateThread(pollThread, 0);
        WaitForSingleObject(pollThread, INFINITE);
        LeaveCriticalSection(&stateLock);
        CloseHandle(pollThread);
        pollThread = nullptr;
        pollThreadRunning = 0;
    }
    DeleteCriticalSection(&stateLock);
    return TRUE;
}
