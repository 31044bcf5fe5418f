// The emulated handheld's screen, as the desktop side lays it out.
#pragma once

#include <windows.h>

// The menu bar is as high as the handheld's.
const int kBarHeight = 26;

// The handheld's whole screen is the desktop's work area.
inline bool GetScreenArea(RECT* screen)
{
    return SystemParametersInfoW(SPI_GETWORKAREA, 0, screen, 0) != 0;
}
