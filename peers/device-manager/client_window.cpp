#include "client_window.h"

#include "transcript.h"

namespace {

const wchar_t kClientClass[] = L"Device manager host client";

Arrivals arrivals;
bool saying;  // from creation to destruction: every message in between is said
std::function<void(const MSG&)> threadMessageHandler;

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!saying) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    double at = Now();
    Say(L"message %u wParam %llu lParam %lld", message, static_cast<unsigned long long>(wParam),
        static_cast<long long>(lParam));
    if (message >= WM_USER) {
        arrivals.count++;
        arrivals.lastMessage = message;
        arrivals.lastAt = at;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateClientWindow()
{
    WNDCLASSW clientClass = {};
    clientClass.lpfnWndProc = ClientWindowProc;
    clientClass.hInstance = GetModuleHandleW(nullptr);
    clientClass.lpszClassName = kClientClass;
    RegisterClassW(&clientClass);
    HWND window = CreateWindowExW(0, kClientClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    saying = window != nullptr;
    return window;
}

void DestroyClientWindow(HWND window)
{
    saying = false;
    DestroyWindow(window);
}

Arrivals ClientArrivals()
{
    return arrivals;
}

void SetThreadMessageHandler(const std::function<void(const MSG&)>& onThreadMessage)
{
    threadMessageHandler = onThreadMessage;
}

void Pump(double ms, const std::function<bool()>& done)
{
    double until = Now() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!msg.hwnd && threadMessageHandler) {
                threadMessageHandler(msg);
            } else {
                DispatchMessageW(&msg);
            }
        }
        double left = until - Now();
        if ((done && done()) || left <= 0) {
            return;
        }
        DWORD wait = left > 60000 ? 60000 : static_cast<DWORD>(left) + 1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}
