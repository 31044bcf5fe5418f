#pragma once

#include <handheld.h>

// The polling thread's procedure: once a second it looks whether a power
// cycle has begun since its last look and tells the client window what it
// finds, at most one message a cycle. Takes a null parameter; returns 0 when
// stopEvent is set.
DWORD WINAPI PollThreadProc(LPVOID);
