// The settings sheet and its pages, run in this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <new>

#include "keyboard_settings.h"
#include "menu_bar_holder.h"
#include "resources/resource.h"
#include "settings_sheet.h"
#include "sheet_watch.h"
#include "test_support.h"

// While set, allocating a settings record fails, as `new` may on the handheld.
bool recordAllocationFails = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return size == sizeof(KeyboardSettings) && recordAllocationFails ? nullptr
                                                                     : std::malloc(size ? size : 1);
}

using namespace test_support;

namespace {

// Nothing lies over the window's centre: it is what a tap there reaches.
bool Uncovered(HWND window)
{
    const RECT rect = WindowRect(window);
    return WindowFromPoint({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}) == window;
}

// Checks that each control of the page lies uncovered in the page area and its
// text fits it in its font; returns the labels' texts, "icon" for a shown icon.
std::wstring CheckPage(HWND page, const RECT& pageArea)
{
    std::wstring labels;
    for (HWND item = GetWindow(page, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        std::wstring text = WindowText(item);
        bool label = ClassName(item) == L"Static";
        bool icon = label && (GetWindowLongW(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        HDC dc = GetDC(item);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ReleaseDC(item, dc);
        RECT room;
        GetClientRect(item, &room);
        room.right -= ClassName(item) == L"Button" ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
        EXPECT_TRUE(Within(WindowRect(item), pageArea) && Uncovered(item))
            << testing::PrintToString(text);
        EXPECT_TRUE(icon || extent.cx <= room.right) << testing::PrintToString(text);
        if (label) {
            labels += (icon && SendMessageW(item, STM_GETICON, 0, 0) ? L"icon" : text) + L"; ";
        }
    }
    return labels;
}

// The handheld's screen from the top: the navigation bar with the caption and
// ok, the page, the tabs, the menu bar; each page fills its area.
TEST(SettingsSheet, LooksAsOnTheHandheldWithTwoPagesWhoseControlsFitUncovered)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 240, 268,
                                  nullptr, nullptr, nullptr, nullptr);
    MenuBarHolder menu(GetModuleHandleW(nullptr), parent);
    std::wstring infoLabels;
    WithSheet([&] { EXPECT_EQ(0, RunSettingsSheet(GetModuleHandleW(nullptr), parent)); },
              [&](HWND sheet) {
                  EXPECT_EQ(L"Tavrin R412 Keyboard", WindowText(sheet));
                  EXPECT_EQ(parent, GetWindow(sheet, GW_OWNER));
                  const RECT screen = ScreenArea();
                  HWND ok = NavigationBarOk(sheet);
                  ASSERT_TRUE(ok && Within(WindowRect(ok), screen) && Uncovered(ok));
                  EXPECT_EQ(L"Tavrin R412 Keyboard", WindowText(GetParent(ok)));
                  const RECT bar = WindowRect(GetParent(ok)), menuBar = WindowRect(menu.menuBar);
                  EXPECT_TRUE(bar.top == screen.top && menuBar.bottom == screen.bottom);
                  for (int hidden : {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */}) {
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, hidden))) << hidden;
                  }
                  auto tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
                  RECT pageArea = WindowRect(tabs), tab;
                  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageArea));
                  SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
                  MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&tab), 2);
                  EXPECT_TRUE(bar.bottom <= pageArea.top && pageArea.bottom <= tab.top &&
                              tab.bottom <= menuBar.top);
                  for (int index : {0, 1}) {
                      SendMessageW(sheet, PSM_SETCURSEL, index, 0);
                      const RECT page = WindowRect(CurrentPage(sheet));
                      EXPECT_TRUE(EqualRect(&pageArea, &page)) << index;
                      EXPECT_EQ(index ? L"Info" : L"Einstellungen", WindowText(CurrentPage(sheet)));
                      infoLabels = CheckPage(CurrentPage(sheet), pageArea);
                  }
              });
    DestroyWindow(parent);
    EXPECT_EQ(
        L"icon; Tavrin Fold Keyboard; V1.03 (Build 1002); Copyright © 2002 Tavrin; "
        L"Alle Rechte vorbehalten.; Entworfen und hergestellt; von Tavrin; ",
        infoLabels);
    EXPECT_EQ(0x20C, SettingsSheetCallback(nullptr, PSCB_GETVERSION, 0));  // the Pocket PC sheet
}

TEST(SettingsPage, WithoutItsRecordSavesNothingAndKeepsTheCaretInTheTestField)
{
    RemoveFile(InWindowsFolder(L"R410.inf"));
    InitCommonControls();
    recordAllocationFails = true;
    HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS_PAGE),
                                   nullptr, SettingsPageProc, 0);
    recordAllocationFails = false;
    SendMessageW(page, WM_HSCROLL, TB_THUMBPOSITION,
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_REPEAT_DELAY)));
    EXPECT_EQ(GetDlgItem(page, IDC_TEST_FIELD), GetFocus());
    EXPECT_FALSE(FileExists(InWindowsFolder(L"R410.inf")));
    DestroyWindow(page);
}

}  // namespace
