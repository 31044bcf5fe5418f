// The platform's power calls only record what happened; the polling thread
// does the reporting. No lock and no platform call here.
#include "driver_state.h"
#include "rsn.h"

void RSN_PowerDown(DWORD)
{
    powerDownFlag = 1;
    resumedFlag = 0;
    notifiedFlag = 0;  // a new power cycle: the thread looks again
}

void RSN_PowerUp(DWORD)
{
    // A resume without a recorded power-down leaves the resumed state alone.
    if (powerDownFlag) {
        resumedFlag = 1;
    }
    powerDownFlag = 0;
}
