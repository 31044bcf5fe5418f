#include "driver_state.h"

CRITICAL_SECTION stateLock;
volatile DWORD powerDownFlag;
volatile DWORD resumedFlag;
HANDLE pollThread;
DWORD pollThreadId;
HANDLE stopEvent;
HWND volatile clientWindow;
volatile DWORD notifiedFlag;
DWORD runningFlag;
