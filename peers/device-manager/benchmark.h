// Measures a resume notifier under the host: how long a resume takes to
// reach the client window, and what the driver's thread costs when idle.
#pragma once

#include <windows.h>

#include "stream_driver.h"

struct BenchmarkDriver {
    StreamDriver::PowerFn powerDown;
    StreamDriver::PowerFn powerUp;
    DWORD device;
    DWORD threadId;  // the driver's polling thread
};

// `cycles` power cycles at moments unrelated to the driver's pass, as a
// user's are; then `idleSeconds` without any. Says the resume-to-message
// latency (minimum, median, maximum) and the thread's CPU time when idle.
void RunBenchmark(const BenchmarkDriver& driver, int cycles, int idleSeconds);
