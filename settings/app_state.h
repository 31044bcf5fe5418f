// Values shared across the settings program; touched only by its one thread.
#pragma once

#include <handheld.h>

// The keyboard service's window, found at start-up and never refreshed.
extern HWND serviceWindow;

// The Settings page, once the sheet has created it; the main window forwards
// the service's keyboard report to it.
extern HWND settingsPageWindow;
