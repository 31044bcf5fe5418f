// Reads and dismisses a message box, the way a person would look at it and
// press its button, so that nothing waits for one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace setup_test {

struct SeenMessageBox {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;  // the visible buttons' texts
    bool icon = false;
    HWND owner = nullptr;
};

// Waits for a message box of the process, reads it and presses OK.
SeenMessageBox DismissMessageBox(DWORD processId, DWORD timeoutMs);

// Calls run() on this thread while a second thread reads and dismisses the
// message box that this process shows.
SeenMessageBox WithMessageBox(const std::function<void()>& run);

}  // namespace setup_test
