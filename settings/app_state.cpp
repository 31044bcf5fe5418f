#include "app_state.h"

HWND serviceWindow;
HWND settingsPageWindow;
