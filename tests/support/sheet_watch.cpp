#include "sheet_watch.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace test_support {

namespace {

HWND FindOwnSheet(const wchar_t* title)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == GetCurrentProcessId() && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace

HWND NavigationBarOk(HWND dialog)
{
    HWND bar = FindWindowExW(dialog, nullptr, L"HandheldNavBar", nullptr);
    return bar ? FindWindowExW(bar, nullptr, L"Button", L"ok") : nullptr;
}

void WithSheet(const std::function<void()>& run, const std::function<void(HWND sheet)>& inspect,
               const wchar_t* sheetTitle)
{
    std::atomic<bool> done(false);
    std::thread watcher([&] {
        HWND sheet = nullptr;
        for (int waited = 0; !sheet && !done && waited < 15000; waited += 20) {
            Sleep(20);
            sheet = FindOwnSheet(sheetTitle);
        }
        if (!sheet) {
            return;
        }
        inspect(sheet);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    run();
    done = true;
    watcher.join();
}

}  // namespace test_support
