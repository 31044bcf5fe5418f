// What the host says: one line a thing, stamped with the milliseconds since
// it started, on its standard output (flushed at once) and in its record.
#pragma once

#include <windows.h>

// Milliseconds since the host started, to a tenth or better.
double Now();

// Writes "<ms> ms  <text>" as one line.
void Say(const wchar_t* format, ...);
