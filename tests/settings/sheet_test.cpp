// The settings sheet and its pages, run in this process; a second thread
// looks at the sheet and presses OK.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "keyboard_settings.h"
#include "resources/resource.h"
#include "settings_sheet.h"
#include "sheet_watch.h"
#include "test_support.h"

// While set, allocating a settings record fails, as `new` may on the handheld
// (the code under test is built with -fcheck-new).
std::atomic<bool> recordAllocationFails(false);

#ifdef __clang__
#pragma clang diagnostic ignored "-Wnew-returns-null"  // the point here
#endif

void* operator new(std::size_t size)
{
    if (size == sizeof(KeyboardSettings) && recordAllocationFails) {
        return nullptr;
    }
    void* block = std::malloc(size ? size : 1);
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

using namespace test_support;

namespace {

bool Inside(HWND window, const RECT& area)
{
    RECT rect, both;
    GetWindowRect(window, &rect);
    return IntersectRect(&both, &rect, &area) && EqualRect(&both, &rect);
}

// Width of a control's text in the control's own font.
int TextWidth(HWND control)
{
    std::wstring text = WindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ font =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, font);
    ReleaseDC(control, dc);
    return extent.cx;
}

// Checks that each control of the page lies in the page area and its text fits
// it; returns the texts of the labels, "icon" for the icon.
std::vector<std::wstring> CheckPage(HWND page, const RECT& pageArea)
{
    std::vector<std::wstring> labels;
    for (HWND control = GetWindow(page, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        bool label = ClassName(control) == L"Static";
        bool icon = label && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        RECT client;
        GetClientRect(control, &client);
        int box = ClassName(control) == L"Button" ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
        std::wstring text =
            icon && SendMessageW(control, STM_GETICON, 0, 0) ? L"icon" : WindowText(control);
        EXPECT_TRUE(Inside(control, pageArea)) << testing::PrintToString(text);
        EXPECT_TRUE(icon || TextWidth(control) <= client.right - box)
            << testing::PrintToString(text);
        if (label) {
            labels.push_back(text);
        }
    }
    return labels;
}

TEST(SettingsSheet, FillsTheWorkAreaWithOkAndTwoPagesWhoseControlsFit)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 240, 268,
                                  nullptr, nullptr, nullptr, nullptr);
    std::vector<std::wstring> infoLabels;
    int result = -1;
    WithSheet([&] { result = RunSettingsSheet(GetModuleHandleW(nullptr), parent); },
              [&](HWND sheet) {
                  EXPECT_EQ(L"Tavrin R412 Keyboard", WindowText(sheet));
                  EXPECT_EQ(parent, GetWindow(sheet, GW_OWNER));
                  RECT workArea, frame;
                  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
                  GetWindowRect(sheet, &frame);
                  EXPECT_TRUE(EqualRect(&workArea, &frame));
                  HWND ok = GetDlgItem(sheet, IDOK);
                  EXPECT_TRUE(IsWindowVisible(ok) && Inside(ok, workArea));
                  for (int hidden : {IDCANCEL, IDHELP, 0x3021 /* Apply */}) {
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet, hidden))) << hidden;
                  }
                  auto tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
                  EXPECT_EQ(L"Einstellungen", WindowText(CurrentPage(sheet)));
                  RECT pageArea;
                  GetWindowRect(tabs, &pageArea);
                  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageArea));
                  CheckPage(CurrentPage(sheet), pageArea);
                  SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                  EXPECT_EQ(L"Info", WindowText(CurrentPage(sheet)));
                  infoLabels = CheckPage(CurrentPage(sheet), pageArea);
              });
    EXPECT_EQ(0, result);
    DestroyWindow(parent);
    std::vector<std::wstring> expected = {L"icon",
                                          L"Tavrin Fold Keyboard",
                                          L"V1.03 (Build 1002)",
                                          L"Copyright © 2002 Tavrin",
                                          L"Alle Rechte vorbehalten.",
                                          L"Entworfen und hergestellt",
                                          L"von Tavrin"};
    EXPECT_EQ(expected, infoLabels);
    EXPECT_EQ(0x20C, SettingsSheetCallback(nullptr, PSCB_GETVERSION, 0));  // the Pocket PC sheet
}

TEST(SettingsPageWithoutRecord, MovesSaveNothingAndKeepTheCaretInTheTestField)
{
    RemoveFile(InWindowsFolder(L"R410.inf"));
    bool caretInTestField = false;
    recordAllocationFails = true;
    WithSheet([] { RunSettingsSheet(GetModuleHandleW(nullptr), nullptr); },
              [&](HWND sheet) {
                  HWND page = CurrentPage(sheet);
                  HWND slider = GetDlgItem(page, IDC_REPEAT_DELAY);
                  SendMessageW(page, WM_HSCROLL, TB_THUMBPOSITION,
                               reinterpret_cast<LPARAM>(slider));
                  caretInTestField = FocusedWindow(page) == GetDlgItem(page, IDC_TEST_FIELD);
              });
    recordAllocationFails = false;
    EXPECT_TRUE(caretInTestField);
    EXPECT_FALSE(FileExists(InWindowsFolder(L"R410.inf")));
}

}  // namespace
