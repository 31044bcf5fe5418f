// The emulated handheld's screen, as the desktop side lays it out: the
// navigation bar across the top, the menu bar across the bottom and the
// maximised dialog between them.
#pragma once

#include <windows.h>

// Both bars are as high as the handheld's.
const int kBarHeight = 26;

// The handheld's whole screen is the desktop's work area.
inline bool GetScreenArea(RECT* screen)
{
    return SystemParametersInfoW(SPI_GETWORKAREA, 0, screen, 0) != 0;
}

// Puts the navigation bar across the top of the dialog: the dialog's title and
// an "ok" that sends the dialog IDOK, as the handheld's Done does.
HWND CreateNavigationBar(HWND dialog);
