#pragma once

#include <handheld.h>

// Finds the keyboard service's window, starting the service when it is
// missing: each start is waited for until its window shows, the started
// process ends (then the service is started again, at most ten times in all)
// or a bound has passed with the process still running, which is never
// started twice. Returns null when the window hasn't appeared.
HWND ContactKeyboardService();
