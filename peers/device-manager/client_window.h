// The host's own window, which it registers with the driver as the client:
// a message-only window that says every message it receives.
#pragma once

#include <windows.h>

#include <functional>

HWND CreateClientWindow();
void DestroyClientWindow(HWND window);

// How many messages the client window has received, and the latest.
struct Arrivals {
    unsigned count;
    UINT lastMessage;
    double lastAt;  // Now() when it arrived
};
Arrivals ClientArrivals();

// Handles this thread's messages for the time, or until done() says so.
// Messages posted to the thread itself are handed to onThreadMessage.
void Pump(double ms, const std::function<bool()>& done = nullptr);
void SetThreadMessageHandler(const std::function<void(const MSG&)>& onThreadMessage);
