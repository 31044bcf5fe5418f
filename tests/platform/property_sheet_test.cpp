// Sheets with the handheld's header flags and callback on the desktop.
#include <gtest/gtest.h>

#include <handheld.h>

#include <algorithm>
#include <vector>

#include "sheet_watch.h"
#include "test_support.h"

using namespace test_support;

namespace {

const int kApplyButton = 0x3021;
std::vector<UINT> callbackMessages;

int CALLBACK RecordingCallback(HWND, UINT message, LPARAM)
{
    callbackMessages.push_back(message);
    return 0;
}

INT_PTR CALLBACK QuietPage(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;  // the dialog manager sets the focus
}

// Puts the focus on its second field itself.
INT_PTR CALLBACK SecondFieldPage(HWND page, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetFocus(GetDlgItem(page, 202));
    }
    return FALSE;
}

INT_PTR RunHandheldSheet(DWORD flags, const std::function<void(HWND)>& inspect,
                         DLGPROC pageProc = QuietPage)
{
    PROPSHEETPAGEW pages[2];
    ZeroMemory(pages, sizeof(pages));
    for (PROPSHEETPAGEW& page : pages) {
        page.dwSize = sizeof(page);
        page.hInstance = GetModuleHandleW(nullptr);
        page.pszTemplate = MAKEINTRESOURCEW(101);
        page.pfnDlgProc = pageProc;
    }
    PROPSHEETHEADERW header;
    ZeroMemory(&header, sizeof(header));
    header.dwSize = sizeof(header);
    header.dwFlags = flags;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = L"Handheld sheet";
    header.nPages = 2;
    header.ppsp = pages;
    header.pfnCallback = RecordingCallback;
    INT_PTR result = -2;
    callbackMessages.clear();
    WithSheet([&] { result = PropertySheetW(&header); }, inspect, L"Handheld sheet");
    return result;
}

TEST(HandheldSheet, MaximiseAndHelpFlagsStillGiveATabbedSheetWithoutHelpOrApply)
{
    INT_PTR result = RunHandheldSheet(
        PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | PSH_MAXIMIZE, [](HWND sheet) {
            HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
            ASSERT_TRUE(tabs);
            EXPECT_TRUE(IsWindowVisible(tabs));
            EXPECT_EQ(2, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, IDOK)));
            for (int absent : {IDHELP, kApplyButton}) {
                HWND button = GetDlgItem(sheet, absent);
                EXPECT_FALSE(button && IsWindowVisible(button)) << "button " << absent;
            }
        });
    EXPECT_GT(result, 0);
}

TEST(HandheldSheet, CallbackHearsOnlyWhatMeansTheSameOnBothPlatforms)
{
    RunHandheldSheet(PSH_PROPSHEETPAGE | PSH_USECALLBACK, [](HWND sheet) {
        // Buttons that the desktop reports to the callback as message 3.
        SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    });
    EXPECT_NE(callbackMessages.end(),
              std::find(callbackMessages.begin(), callbackMessages.end(), PSCB_INITIALIZED));
    for (UINT message : callbackMessages) {
        EXPECT_TRUE(message == PSCB_INITIALIZED || message == PSCB_PRECREATE) << message;
    }
}

TEST(HandheldSheet, HeaderWithoutCallbackRuns)
{
    INT_PTR result = RunHandheldSheet(PSH_PROPSHEETPAGE, [](HWND sheet) {
        EXPECT_TRUE(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    });
    EXPECT_GT(result, 0);
    EXPECT_TRUE(callbackMessages.empty());
}

TEST(HandheldSheet, FocusStaysWhereThePageItselfPutIt)
{
    HWND focus = nullptr, expected = nullptr;
    RunHandheldSheet(
        PSH_PROPSHEETPAGE,
        [&](HWND sheet) {
            HWND page = CurrentPage(sheet);
            expected = GetDlgItem(page, 202);
            WaitUntil([&] { return (focus = FocusedWindow(sheet)) == expected; }, 2000);
        },
        SecondFieldPage);
    EXPECT_TRUE(expected);
    EXPECT_EQ(expected, focus);
}

TEST(HandheldSheet, PageThatLeavesTheFocusToTheSheetGetsItOnItsFirstField)
{
    HWND focus = nullptr, expected = nullptr;
    RunHandheldSheet(PSH_PROPSHEETPAGE, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        expected = GetDlgItem(page, 201);
        WaitUntil([&] { return (focus = FocusedWindow(sheet)) == expected; }, 2000);
    });
    EXPECT_TRUE(expected);
    EXPECT_EQ(expected, focus);
}

}  // namespace
