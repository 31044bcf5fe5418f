#pragma once

#include <handheld.h>

// Finds the keyboard service's window, starting the service when it is
// missing (at most ten times). Returns null when it never appears.
HWND ContactKeyboardService();
