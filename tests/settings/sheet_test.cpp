// The settings sheet and its Info page, run in the test's own process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings_sheet.h"
#include "sheet_watch.h"
#include "test_support.h"

using namespace test_support;

namespace {

const UINT kApplyButton = 0x3021;

class SettingsSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 240, 268,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }

    void RunSheet(const std::function<void(HWND)>& inspect)
    {
        int result = -1;
        WithSheet([&] { result = RunSettingsSheet(GetModuleHandleW(nullptr), parent_); }, inspect);
        EXPECT_EQ(0, result);
    }

    HWND parent_ = nullptr;
};

std::wstring TabText(HWND tabs, int index)
{
    wchar_t text[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

RECT ScreenRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

TEST_F(SettingsSheet, OpensOnTheSettingsPageWithInfoSecond)
{
    RunSheet([&](HWND sheet) {
        EXPECT_EQ(L"Tavrin R412 Keyboard", WindowText(sheet));
        EXPECT_EQ(parent_, GetWindow(sheet, GW_OWNER));
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        ASSERT_TRUE(tabs);
        ASSERT_EQ(2, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(L"Einstellungen", TabText(tabs, 0));
        EXPECT_EQ(L"Info", TabText(tabs, 1));
        EXPECT_EQ(0, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
        HWND page = CurrentPage(sheet);
        EXPECT_TRUE(GetDlgItem(page, IDC_REPEAT_DELAY));
        EXPECT_TRUE(GetDlgItem(page, IDC_TEST_FIELD));
    });
}

TEST_F(SettingsSheet, FillsTheWorkAreaWithOkAsTheOneButton)
{
    RunSheet([](HWND sheet) {
        RECT workArea;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
        RECT frame = ScreenRect(sheet);
        EXPECT_TRUE(EqualRect(&workArea, &frame))
            << frame.left << "," << frame.top << " " << frame.right << "," << frame.bottom;

        HWND ok = GetDlgItem(sheet, IDOK);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(IsWindowVisible(ok));
        EXPECT_TRUE(Inside(ScreenRect(ok), workArea));
        for (int hidden : {IDCANCEL, IDHELP, static_cast<int>(kApplyButton)}) {
            HWND button = GetDlgItem(sheet, hidden);
            EXPECT_FALSE(button && IsWindowVisible(button)) << "button " << hidden;
        }
    });
}

TEST_F(SettingsSheet, EveryControlOfBothPagesLiesInsideThePageArea)
{
    RunSheet([](HWND sheet) {
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        for (int index = 0; index < 2; ++index) {
            SendMessageW(sheet, PSM_SETCURSEL, index, 0);
            HWND page = CurrentPage(sheet);
            RECT pageArea = ScreenRect(tabs);
            SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageArea));
            std::vector<HWND> controls = Children(page);
            EXPECT_GE(controls.size(), 7u);
            for (HWND control : controls) {
                RECT area = ScreenRect(control);
                EXPECT_TRUE(Inside(area, pageArea))
                    << "page " << index << " control " << GetDlgCtrlID(control) << " \""
                    << testing::PrintToString(WindowText(control)) << "\" at " << area.left << ","
                    << area.top << " " << area.right << "," << area.bottom;
            }
        }
    });
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

TEST_F(SettingsSheet, EveryLabelFitsItsControl)
{
    RunSheet([](HWND sheet) {
        for (int index = 0; index < 2; ++index) {
            SendMessageW(sheet, PSM_SETCURSEL, index, 0);
            HWND page = CurrentPage(sheet);
            for (HWND control : Children(page)) {
                std::wstring kind = ClassName(control);
                LONG style = GetWindowLongW(control, GWL_STYLE);
                bool label = kind == L"Static" && (style & SS_TYPEMASK) != SS_ICON;
                bool checkBox = kind == L"Button";
                if (!label && !checkBox) {
                    continue;
                }
                RECT client;
                GetClientRect(control, &client);
                int room = client.right - (checkBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
                EXPECT_LE(TextWidth(control), room)
                    << "page " << index << ": " << testing::PrintToString(WindowText(control));
            }
        }
    });
}

TEST_F(SettingsSheet, InfoPageShowsNameVersionCreditsAndIcon)
{
    RunSheet([](HWND sheet) {
        SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = CurrentPage(sheet);
        std::vector<std::wstring> texts;
        HICON icon = nullptr;
        for (HWND control : Children(page)) {
            if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
            } else {
                texts.push_back(WindowText(control));
            }
        }
        EXPECT_TRUE(icon);
        std::vector<std::wstring> expected = {
            L"Tavrin Fold Keyboard",     L"V1.03 (Build 1002)",        L"Copyright © 2002 Tavrin",
            L"Alle Rechte vorbehalten.", L"Entworfen und hergestellt", L"von Tavrin",
        };
        EXPECT_EQ(expected, texts);
    });
}

TEST(SettingsSheetCallback, AsksForThePocketPcSheet)
{
    EXPECT_EQ(0x20C, SettingsSheetCallback(nullptr, PSCB_GETVERSION, 0));
    EXPECT_EQ(0, SettingsSheetCallback(nullptr, PSCB_PRECREATE, 0));
    EXPECT_EQ(0, SettingsSheetCallback(nullptr, 0x4711, 0));
}

}  // namespace
