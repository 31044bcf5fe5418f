#include "app_state.h"

HWND serviceWindow;
HWND settingsPageWindow;
KeyboardSettings* keyboardSettings;
DWORD keyboardEnabled = 0;
DWORD soundEnabled = 1;
