// Runs something modal on the test's thread (a property sheet, or a whole
// program start) while another thread looks at the sheet and then closes it
// with OK, as Done does.
#pragma once

#include <windows.h>

#include <functional>

namespace test_support {

// Calls run() on this thread; once a sheet titled sheetTitle of this process
// appears, inspect(sheet) runs on a second thread and the sheet is closed.
void WithSheet(const std::function<void()>& run, const std::function<void(HWND sheet)>& inspect,
               const wchar_t* sheetTitle = L"Tavrin R412 Keyboard");

// The "ok" (Done) in the navigation bar across the top of the dialog, or null.
HWND NavigationBarOk(HWND dialog);

}  // namespace test_support
