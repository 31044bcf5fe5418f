// RSN.dll as the device manager has it: loaded afresh from the test's folder
// for each test, its entry points resolved by the prefix, started and opened;
// stopped and unloaded after the test. Each load starts from the module's
// zeroed state.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "stream_driver.h"

// What clients know of the driver, as numbers.
const DWORD kGetResumed = 1;
const DWORD kClearResumed = 2;
const DWORD kSetWindow = 3;
const DWORD kClearWindow = 4;
const UINT kResumedMessage = 1125;
const UINT kPowerDownMessage = 1126;

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Init and Open; Close and Deinit.
    void Start();
    void Stop();

    BOOL Control(DWORD code, const void* input, DWORD inputLength, void* output, DWORD outputLength,
                 DWORD* bytesReturned);
    // Control code 1's word (expects success).
    DWORD Resumed();
    void Register(HWND window);
    void ClearWindow();
    void PowerCycle();
    // Returns just after the polling thread has taken a look, so that the
    // next look is about a second away.
    void AfterALook();

    StreamDriver driver_;
    DWORD device_ = 0;
    DWORD open_ = 0;
    bool running_ = false;
};

std::wstring DriverPath();
bool DriverLoaded();
// Threads of this process, counted in a snapshot.
size_t ThreadCount();

// "Within about a second" on a loaded machine.
const DWORD kMessageTimeoutMs = 2500;
// Long enough for two of the thread's looks.
const DWORD kQuietMs = 2500;
