#pragma once

#include <handheld.h>

class MenuBarHolder;

#define MAIN_WINDOW_CLASS L"Fold Keyboard"  // also marks a running settings program
#define MAIN_WINDOW_TITLE L"Tavrin Fold KB"

// The settings program: contacts the keyboard service, keeps to one instance,
// owns the main window and runs the settings sheet. Its one virtual member,
// the destructor, is the product's convention for its small classes, kept
// although the one object lives until the process ends.
class KeyboardApp {
public:
    KeyboardApp() : instance(NULL), window(NULL), menuBar(NULL) {}
    virtual ~KeyboardApp() {}

    // Runs the settings sheet and returns the (by then closed) main window;
    // null when the program must end at once.
    HWND InitInstance(HINSTANCE instance);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND hwnd);
    LRESULT OnDestroy();
    LRESULT OnPaint();
    LRESULT OnKeyboardState(WPARAM state);

    KeyboardApp(const KeyboardApp&);  // not copied
    KeyboardApp& operator=(const KeyboardApp&);

    HINSTANCE instance;
    HWND window;
    MenuBarHolder* menuBar;
};
