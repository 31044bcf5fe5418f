#pragma once

#include <handheld.h>

// Finds the keyboard service's window, starting the service when it is
// missing (at most ten times, each waited for until its window shows or the
// started process ends). Returns null when it never appears.
HWND ContactKeyboardService();
