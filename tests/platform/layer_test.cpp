// The handheld layer on the desktop: paths, program starts, dialogs, menu bar, sheet.
#include <gtest/gtest.h>

#include <handheld.h>

#include <tuple>
#include <vector>

#include "window_standin.h"
#include "sheet_watch.h"
#include "test_support.h"

using namespace test_support;

namespace {

TEST(HandheldPath, RootedPathsTakeTheWindowsDriveWhateverTheCurrentDirectory)
{
    const std::wstring drive = WindowsFolder().substr(0, 2), refused = L"refused";
    const std::tuple<const wchar_t*, size_t, std::wstring> rows[] = {
        {L"\\Windows\\R410.inf", MAX_PATH, drive + L"\\Windows\\R410.inf"},
        {L"\\abcd", 8, drive + L"\\abcd"},
        {L"\\abcde", 8, refused},
        {L"Z:\\tmp\\x.inf", MAX_PATH, L"Z:\\tmp\\x.inf"},
        {L"\\\\server\\share\\x", MAX_PATH, L"\\\\server\\share\\x"},
    };
    for (const auto& [path, capacity, expected] : rows) {
        wchar_t resolved[MAX_PATH];
        EXPECT_EQ(expected, ResolveHandheldPath(path, resolved, capacity) ? resolved : refused)
            << path;
    }

    // From another current directory: files, and programs started with or without information.
    kKeyboardService.Reset();
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\tmp"));
    const wchar_t* file = L"\\Windows\\handheld-path-test.tmp";
    CloseHandle(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    EXPECT_TRUE(DeleteFileW(file));
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileW(std::wstring(MAX_PATH, L'a').c_str(), GENERIC_READ,
                                                0, nullptr, OPEN_EXISTING, 0, nullptr));

    const wchar_t* service = L"\\Windows\\KeybdR410.exe";
    PROCESS_INFORMATION started = {};
    EXPECT_TRUE(CreateProcessW(service, nullptr, nullptr, nullptr, 0, 0, 0, 0, nullptr, &started));
    EXPECT_TRUE(TerminateProcess(started.hProcess, 0)) << "the information handed back";
    WaitForSingleObject(started.hProcess, 10000);
    EXPECT_TRUE(CloseHandle(started.hProcess) && CloseHandle(started.hThread));
    EXPECT_TRUE(CreateProcessW(service, nullptr, nullptr, nullptr, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_TRUE(WaitForWindow(L"KeybdR410", nullptr, 10000));
    kKeyboardService.End();
}

UINT commandsToDialog = 0;

INT_PTR CALLBACK CountsCommands(HWND, UINT message, WPARAM wParam, LPARAM)
{
    commandsToDialog += message == WM_COMMAND && LOWORD(wParam) == IDOK;
    return FALSE;
}

bool HasCaption(HWND window)
{
    return (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

TEST(HandheldWindows, DoneMakesAFramelessDialogUnderItsNavigationBarAboveTheMenuBar)
{
    const RECT screen = ScreenArea();
    for (DWORD mask : {DWORD(SHIDIM_FLAGS), DWORD(0)}) {
        for (DWORD flags : {SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN, SHIDIF_SIPDOWN}) {
            const bool done = mask && flags & SHIDIF_DONEBUTTON;
            HWND dialog = CreateDialogW(0, MAKEINTRESOURCEW(100), 0, CountsCommands);
            SHINITDLGINFO info = {mask, dialog, flags};
            EXPECT_TRUE(SHInitDialog(&info));
            const RECT aboveMenuBar = {screen.left, screen.top, screen.right, screen.bottom - 26};
            const RECT frame = WindowRect(dialog);
            EXPECT_EQ(done, EqualRect(&aboveMenuBar, &frame) && !HasCaption(dialog)) << flags;
            EXPECT_EQ(!done, IsWindowVisible(GetDlgItem(dialog, IDOK)) &&
                                 IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
            HWND ok = NavigationBarOk(dialog);
            ASSERT_EQ(done, ok != nullptr) << mask << " " << flags;
            if (done) {
                const RECT bar = WindowRect(GetParent(ok));
                const RECT top = {screen.left, screen.top, screen.right, screen.top + 26};
                EXPECT_TRUE(EqualRect(&top, &bar));
                EXPECT_EQ(L"Plain dialog", WindowText(GetParent(ok)));
                SendMessageW(ok, BM_CLICK, 0, 0);
                EXPECT_EQ(1u, commandsToDialog) << "ok is the dialog's IDOK";
            }
            DestroyWindow(dialog);
            EXPECT_FALSE(SHInitDialog(&info) || SHInitDialog(nullptr)) << "no dialog";
        }
    }

    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_VISIBLE, 0, 0, 240, 268, 0, 0, 0, 0);
    SHMENUBARINFO info = {sizeof(info), parent, SHCMBF_EMPTYBAR, 0, nullptr, 0, 0, nullptr, 0};
    ASSERT_TRUE(SHCreateMenuBar(&info));
    const RECT bar = WindowRect(info.hwndMB);
    const RECT bottom = {screen.left, screen.bottom - 26, screen.right, screen.bottom};
    EXPECT_TRUE(EqualRect(&bottom, &bar) && IsWindowVisible(info.hwndMB));
    EXPECT_EQ(parent, GetWindow(info.hwndMB, GW_OWNER));
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(info.hwndMB)) << "goes with its parent";
    EXPECT_FALSE(SHCreateMenuBar(&info) || info.hwndMB || SHCreateMenuBar(nullptr));
}

std::vector<UINT> callbackMessages;

int CALLBACK Callback(HWND sheet, UINT message, LPARAM)
{
    callbackMessages.push_back(message);
    SHINITDLGINFO init = {SHIDIM_FLAGS, sheet, SHIDIF_DONEBUTTON};
    return message == PSCB_INITIALIZED ? SHInitDialog(&init) : 0;
}

int applied = 0;

INT_PTR CALLBACK FocusesItsSecondField(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetFocus(GetDlgItem(page, 202));
    }
    applied += message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY;
    return FALSE;
}

TEST(HandheldSheet, HasTabsAtTheBottomNoButtonsKeepsThePagesFocusAndEndsAsOkByOk)
{
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.pszTemplate = MAKEINTRESOURCEW(101);
    page.pfnDlgProc = FocusesItsSecondField;
    const DWORD flags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_MAXIMIZE | PSH_HASHELP;
    PROPSHEETHEADERW header = {sizeof(header), flags,    0,  0, {}, L"Handheld sheet", 1, {},
                               {&page},        Callback, {}, 0, {}};
    auto inspect = [&](HWND sheet) {
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_TRUE(IsWindowVisible(tabs) && GetWindowLongW(tabs, GWL_STYLE) & TCS_BOTTOM);
        RECT tab, screen = ScreenArea();
        SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&tab), 2);
        screen.bottom -= 26;
        EXPECT_TRUE(Within(tab, screen)) << "the tab on the screen, above the menu bar";
        for (int button : {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */}) {
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, button))) << button;
        }
        EXPECT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusedWindow(sheet)) == 202; }, 2000))
            << "the focus where the page put it";
        // Posted, as a tap is: a click sent from this thread would be handled inside
        // the sheet's wait for a message, and its loop would not look again until
        // something else arrived.
        PostMessageW(NavigationBarOk(sheet), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }, 5000));
    };
    WithSheet([&] { PropertySheetW(&header); }, inspect, L"Handheld sheet");
    EXPECT_EQ(1, applied) << "ok applies the pages as OK does";
    EXPECT_EQ(std::vector<UINT>({PSCB_PRECREATE, PSCB_INITIALIZED}), callbackMessages)
        << "message 3 is a button's to the desktop's callback, the version query on the handheld";
}

}  // namespace
