#include "driver_state.h"

CRITICAL_SECTION stateLock;
volatile DWORD powerDownFlag;
volatile DWORD resumedFlag;
HANDLE pollThread;
DWORD pollThreadId;
HWND volatile clientWindow;
volatile DWORD notifiedFlag;
volatile DWORD pollThreadRunning;
