// Values shared across the settings program; touched only by its one thread.
// They are process-wide on purpose: the main window forwards the service's
// keyboard report to the page whose handle it reads here, and the page's
// procedure, a plain dialog procedure, has no object to keep them in.
#pragma once

#include <handheld.h>

class KeyboardSettings;

// The keyboard service's window, found at start-up and never refreshed.
extern HWND serviceWindow;

// The Settings page while it exists; the main window forwards the service's
// keyboard report to it.
extern HWND settingsPageWindow;

// The Settings page's record of the settings file, while the page exists.
extern KeyboardSettings* keyboardSettings;

// The last keyboard and key-sound states reported by or sent to the service.
extern DWORD keyboardEnabled;
extern DWORD soundEnabled;
