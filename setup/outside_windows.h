// Windows of programs outside the product that the hooks close: the state
// window, and the service of the other keyboard model, which the hooks start
// again after a removal. The keyboard service's own class comes from
// keyboard_service.h.
#pragma once

#include <handheld.h>

#define STATE_WINDOW_CLASS L"STATEWINDOW"
#define OTHER_SERVICE_WINDOW_CLASS L"KeybdR810"
#define OTHER_SERVICE_EXECUTABLE L"\\windows\\KeybdR810.exe"  // started without a command line

// Sends WM_CLOSE to the top-level window of the class and returns once it has
// been handled; false, with nothing sent, when there is no such window.
bool CloseWindowOfClass(LPCWSTR windowClass);
