#include <handheld.h>

#include <new>

#include "keyboard_app.h"

namespace {

// Lives for the whole process.
KeyboardApp* theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    theApp = new (std::nothrow) KeyboardApp;
    if (!theApp || !theApp->InitInstance(instance)) {
        return 0;
    }
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, NULL, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
