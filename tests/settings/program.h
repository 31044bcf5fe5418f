// The real settings program, started from the Windows folder with the
// keyboard-service stand-in beside it and driven from this process, which is
// also the other program that holds or rewrites the settings file.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "keyboard_service.h"
#include "resources/resource.h"
#include "window_standin.h"
#include "test_support.h"

using namespace test_support;

const wchar_t kMainClass[] = L"Fold Keyboard";
const std::wstring kSettingsFile = InWindowsFolder(L"R410.inf");

// The bytes with a repeat delay code and rate in their fields (offsets 4 and 8).
inline std::string WithRepeat(std::string bytes, LONG delayCode, LONG rate)
{
    bytes.replace(4, 4, reinterpret_cast<const char*>(&delayCode), 4);
    return bytes.replace(8, 4, reinterpret_cast<const char*>(&rate), 4);
}

// A 4976-byte file whose bytes differ from one seed to another; seed 0 gives
// the defaults, tag "D" and everything else zero.
inline std::string Image(char seed, LONG delayCode, LONG rate)
{
    std::string bytes(4976, '\0');
    for (size_t i = 0; seed && i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(seed + i % 61);
    }
    return WithRepeat(seed ? bytes : "D" + bytes.substr(1), delayCode, rate);
}

class SettingsProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        kKeyboardService.Reset();
        InstallProgram(L"Tavrin Fold Keyboard.exe", L"Tavrin Fold Keyboard.exe");
    }

    void TearDown() override
    {
        EndProgramsWithWindow(kMainClass);
        kKeyboardService.End();
        RemoveFile(kSettingsFile);
    }

    static Process Start() { return Process(InWindowsFolder(L"Tavrin Fold Keyboard.exe")); }

    // Starts the program and waits for its own Settings page (not one still closing).
    void Open()
    {
        program_ = Start();
        sheet_ = WaitForWindow(L"#32770", L"Tavrin R412 Keyboard", 30000, program_.Id());
        page_ = CurrentPage(sheet_);
        ASSERT_TRUE(Item(IDC_TEST_FIELD));
    }

    HWND Item(int id) const { return GetDlgItem(page_, id); }
    LRESULT Position(int slider) const { return SendMessageW(Item(slider), TBM_GETPOS, 0, 0); }
    bool Checked(int box) const { return SendMessageW(Item(box), BM_GETCHECK, 0, 0) != 0; }
    void Click(int box) const { SendMessageW(Item(box), BM_CLICK, 0, 0); }

    // Moves a slider as the end of a drag does; the caret goes back to the test field.
    void Move(int slider, int position) const
    {
        SendMessageW(Item(slider), TBM_SETPOS, TRUE, position);
        SendMessageW(page_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(Item(slider)));
        EXPECT_EQ(Item(IDC_TEST_FIELD), FocusedWindow(page_));
    }

    Process program_;
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;
};
