// The settings program as a user starts it and uses its switches.
#include "program.h"

namespace {

TEST_F(SettingsProgram, StartsTheServiceAndRunsTheSheetOverItsMainWindowUntilDone)
{
    Open();
    EXPECT_EQ(1, kKeyboardService.Count("start"));
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow(page_) == Item(IDC_TEST_FIELD); }, 5000));
    HWND main = FindWindowW(kMainClass, nullptr);
    EXPECT_EQ(main, GetWindow(sheet_, GW_OWNER));
    EXPECT_EQ(L"Tavrin Fold KB", WindowText(main));
    RECT frame, expected = {0, 0, 240, 268};
    GetWindowRect(main, &frame);
    EXPECT_TRUE(IsWindowVisible(main) && EqualRect(&expected, &frame));
    HWND bar = FindWindowW(L"HandheldMenuBar", nullptr);
    EXPECT_TRUE(bar && IsWindowVisible(bar) && GetWindow(bar, GW_OWNER) == main);

    // A second start restarts a missing service, brings the first to the front and ends.
    HWND other = CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(SetForegroundWindow(other));
    kKeyboardService.End();
    Process second = Start();
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(2, kKeyboardService.Count("start"));
    EXPECT_EQ(std::vector<HWND>{main}, TopLevelWindows(kMainClass));
    EXPECT_EQ(main, GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));

    PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

void Press(WORD key)
{
    INPUT strokes[2] = {};
    strokes[0].type = strokes[1].type = INPUT_KEYBOARD;
    strokes[0].ki.wVk = strokes[1].ki.wVk = key;
    strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, strokes, sizeof(INPUT));
}

// Real keys: the navigation bar and the hidden desktop buttons stay out of the way.
TEST_F(SettingsProgram, EnterMakesANewLineInTheTestFieldAndTabGoesRoundThePage)
{
    Open();
    ASSERT_TRUE(WaitUntil([&] { return FocusedWindow(page_) == Item(IDC_TEST_FIELD); }, 5000));
    SetForegroundWindow(sheet_);
    for (WORD key : {WORD('A'), WORD(VK_RETURN), WORD('B')}) {
        Press(key);
    }
    EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(IDC_TEST_FIELD)) == L"a\r\nb"; }, 5000));
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    for (HWND next : {Item(IDC_SOUND_ENABLED), tabs, Item(IDC_REPEAT_DELAY)}) {
        Press(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusedWindow(page_) == next; }, 5000))
            << ClassName(FocusedWindow(page_));
    }
    EXPECT_TRUE(IsWindowVisible(sheet_));
}

TEST_F(SettingsProgram, ServiceThatNeverShowsItsWindowMeansTenLaunchesAndExitZero)
{
    kKeyboardService.Set(L"CreatesWindow", 0);
    Process program = Start();  // which would wait on its sheet had it gone on
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(10, kKeyboardService.Count("start"));
}

// Without the service's answers the states start as keyboard off and sound on.
TEST_F(SettingsProgram, SwitchesSendOnlyChangesAndReportsSetBoxesAndStates)
{
    kKeyboardService.Set(L"Answers", 0);
    Process service = kKeyboardService.Start();  // running: not started again
    Open();
    std::string asker = " " + std::to_string(reinterpret_cast<UINT_PTR>(page_)) + " 0";
    EXPECT_EQ(1, kKeyboardService.Count("message 1237" + asker));
    EXPECT_EQ(1, kKeyboardService.Count("message 1240" + asker));
    Click(IDC_SOUND_ENABLED);  // on already: nothing to send
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_EQ(1, kKeyboardService.Count("message 1242 0 0"));
    EXPECT_EQ(1, kKeyboardService.Count("message 1239 1 0"));

    HWND main = FindWindowW(kMainClass, nullptr);  // forwards the keyboard's
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 0, 0);
    SendMessageW(page_, KBSVC_SOUND_STATE, 1, 0);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0);
    EXPECT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    Click(IDC_KEYBOARD_ENABLED);
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(1, kKeyboardService.Count("message 1239 0 0"));
    EXPECT_EQ(2, kKeyboardService.Count("message 1242 0 0"));
    EXPECT_EQ(4, kKeyboardService.Count("message 1239") + kKeyboardService.Count("message 1242"));
    EXPECT_EQ(1, kKeyboardService.Count("start"));
}

}  // namespace
