// One stream driver under the host, as under the device manager: loaded and
// started (Init, then Open) at the beginning, power-down and resume on
// command, closed, stopped (Deinit) and unloaded at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "stream_driver.h"

class DeviceManagerHost {
public:
    // Loads the driver, calls Init and Open and registers the host's window
    // through control code 3. False when the driver cannot be used.
    bool Start(const std::wstring& path, const std::string& prefix);
    // Runs commands (see main.cpp); false once one of them was "quit".
    bool Run(const std::vector<std::wstring>& words);
    // Close, Deinit, unload.
    void Stop();

private:
    bool RunOne(const std::vector<std::wstring>& words, size_t& next);
    BOOL Control(DWORD code, DWORD inputWord, bool withInput, DWORD* outputWord);
    void RegisterWindow(HWND window);
    void GetResumed();

    StreamDriver driver_;
    DWORD device_ = 0;
    DWORD open_ = 0;
    HWND window_ = nullptr;
    DWORD driverThreadId_ = 0;
    bool started_ = false;
};
