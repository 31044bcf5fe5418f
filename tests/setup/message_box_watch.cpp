#include "message_box_watch.h"

#include <thread>

#include "test_support.h"

using namespace test_support;

namespace setup_test {

namespace {

const int kMessageTextId = 0xFFFF;

HWND FindMessageBox(DWORD processId)
{
    for (HWND window : TopLevelWindows(L"#32770")) {
        if (WindowProcessId(window) == processId && IsWindowVisible(window) &&
            GetDlgItem(window, kMessageTextId)) {
            return window;
        }
    }
    return nullptr;
}

SeenMessageBox Read(HWND box)
{
    SeenMessageBox seen;
    seen.found = true;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kMessageTextId));
    seen.owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        std::wstring className = ClassName(child);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (className == L"Button") {
            seen.buttons.push_back(WindowText(child));
        } else if (className == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
            // The box may keep an empty icon control.
            seen.icon |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
    }
    return seen;
}

}  // namespace

SeenMessageBox DismissMessageBox(DWORD processId, DWORD timeoutMs)
{
    HWND box = nullptr;
    DWORD start = GetTickCount();
    while (!(box = FindMessageBox(processId)) && GetTickCount() - start < timeoutMs) {
        Sleep(20);
    }
    if (!box) {
        return {};
    }
    SeenMessageBox seen = Read(box);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return seen;
}

SeenMessageBox WithMessageBox(const std::function<void()>& run)
{
    SeenMessageBox seen;
    std::thread watcher([&] { seen = DismissMessageBox(GetCurrentProcessId(), 10000); });
    run();
    watcher.join();
    return seen;
}

}  // namespace setup_test
