// Reads and dismisses a message box, the way a person would look at it and
// press its button, so that nothing waits for one.
#pragma once

#include "test_support.h"

namespace setup_test {

struct SeenMessageBox {
    bool found = false;
    std::wstring caption, text;
    std::vector<std::wstring> buttons;  // the visible buttons' texts
    bool icon = false;
    HWND owner = nullptr;
};

// Waits for a message box of the process, reads it and presses OK.
inline SeenMessageBox DismissMessageBox(DWORD processId, DWORD timeoutMs)
{
    using namespace test_support;
    const int kTextId = 0xFFFF;
    HWND box = nullptr;
    for (ULONGLONG end = GetTickCount64() + timeoutMs; !box && GetTickCount64() < end; Sleep(20)) {
        for (HWND window : TopLevelWindows(L"#32770")) {
            if (WindowProcessId(window) == processId && IsWindowVisible(window) &&
                GetDlgItem(window, kTextId)) {
                box = window;
            }
        }
    }
    if (!box) {
        return {};
    }
    SeenMessageBox seen{true, WindowText(box), WindowText(GetDlgItem(box, kTextId)),
                        {},   false,           GetWindow(box, GW_OWNER)};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && ClassName(child) == L"Button") {
            seen.buttons.push_back(WindowText(child));
        }
        // The box may keep an empty icon control.
        seen.icon |= IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0;
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return seen;
}

}  // namespace setup_test
