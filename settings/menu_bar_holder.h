#pragma once

#include <handheld.h>

// Owns the main window's empty menu bar; deleted through its virtual
// destructor, the one virtual member, as the product's small classes are.
class MenuBarHolder {
public:
    MenuBarHolder(HINSTANCE instance, HWND parent);
    virtual ~MenuBarHolder();

    HWND menuBar;  // null when the bar could not be created

private:
    MenuBarHolder(const MenuBarHolder&);  // not copied
    MenuBarHolder& operator=(const MenuBarHolder&);
};
