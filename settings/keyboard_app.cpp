#include "keyboard_app.h"

#include <keyboard_service.h>

#include <new>

#include "app_state.h"
#include "menu_bar_holder.h"
#include "service_contact.h"
#include "settings_sheet.h"

namespace {

const int kMainWindowWidth = 240;
const int kMainWindowHeight = 268;

}  // namespace

HWND KeyboardApp::InitInstance(HINSTANCE instance)
{
    serviceWindow = ContactKeyboardService();
    if (!serviceWindow) {
        return NULL;
    }

    window = FindWindowW(MAIN_WINDOW_CLASS, NULL);
    if (window) {
        SetForegroundWindow(window);
        return NULL;
    }

    this->instance = instance;
    WNDCLASSW mainClass;
    ZeroMemory(&mainClass, sizeof(mainClass));
    mainClass.lpfnWndProc = WindowProc;
    mainClass.hInstance = instance;
    mainClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    mainClass.lpszClassName = MAIN_WINDOW_CLASS;
    RegisterClassW(&mainClass);

    window = CreateWindowExW(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_VISIBLE, 0, 0,
                             kMainWindowWidth, kMainWindowHeight, NULL, NULL, instance, this);
    if (!window) {
        return NULL;
    }

    RunSettingsSheet(instance, window);
    // The default handling destroys the window, which ends the message loop.
    SendMessageW(window, WM_CLOSE, 0, 0);
    return window;
}

LRESULT CALLBACK KeyboardApp::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    KeyboardApp* app;
    if (message == WM_CREATE) {
        app = static_cast<KeyboardApp*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    } else {
        app = reinterpret_cast<KeyboardApp*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!app) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return app->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT KeyboardApp::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd);
    case WM_DESTROY:
        return OnDestroy();
    case WM_PAINT:
        return OnPaint();
    case KBSVC_KEYBOARD_STATE:
        return OnKeyboardState(wParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT KeyboardApp::OnCreate(HWND hwnd)
{
    window = hwnd;
    menuBar = new (std::nothrow) MenuBarHolder(instance, window);
    return 0;
}

LRESULT KeyboardApp::OnDestroy()
{
    delete menuBar;
    menuBar = NULL;
    PostQuitMessage(0);
    return 0;
}

LRESULT KeyboardApp::OnPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT KeyboardApp::OnKeyboardState(WPARAM state)
{
    // Before the Settings page exists there is nobody to tell.
    if (settingsPageWindow) {
        SendMessageW(settingsPageWindow, KBSVC_KEYBOARD_STATE, state, 0);
    }
    return 0;
}
