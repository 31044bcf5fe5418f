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
    EXPECT_TRUE(
        WaitUntil([&] { return GetAncestor(GetForegroundWindow(), GA_ROOTOWNER) == main; }, 5000));

    PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

// Each launch is waited for, and none is made while the last one's process
// runs: a service slow to show its window is launched once; one that ends
// without a window, ten times, one launch after another; one slower than the
// program's bound of five seconds, once: the program ends as when the service
// never shows, leaving it to start, and its next start finds its window.
TEST_F(SettingsProgram, WaitsForASlowServiceAndLaunchesOneWithoutWindowTenTimes)
{
    const struct {
        const wchar_t* name;  // the stand-in's switch
        DWORD value;
        bool opens;  // the program goes on to its sheet
        int launches;
    } cases[] = {
        {L"StartDelayMs", 1500, true, 1},
        {L"CreatesWindow", 0, false, 10},
        {L"StartDelayMs", 6500, false, 1},  // just past the bound
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(testing::Message() << row.value << " " << row.launches);
        TearDown();
        kKeyboardService.Reset();
        kKeyboardService.Set(row.name, row.value);
        if (row.opens) {
            Open();
        } else {
            Process program = Start();  // which would wait on its sheet had it gone on
            DWORD exitCode = 99;
            ASSERT_TRUE(program.WaitForExit(30000, &exitCode));  // not ten whole waits
            EXPECT_EQ(0u, exitCode);
        }
        EXPECT_EQ(row.launches, kKeyboardService.Count("start"));
    }
    // The slow service, left running, shows its window at last.
    ASSERT_TRUE(WaitUntil([] { return kKeyboardService.Window() != nullptr; }, 15000));
    Open();
    EXPECT_EQ(1, kKeyboardService.Count("start"));
}

void Press(WORD key)
{
    INPUT strokes[2] = {};
    strokes[0].type = strokes[1].type = INPUT_KEYBOARD;
    strokes[0].ki.wVk = strokes[1].ki.wVk = key;
    strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, strokes, sizeof(INPUT));
}

// Real keys: Enter makes a new line in the test field; Tab goes round the page,
// the navigation bar and the hidden desktop buttons out of the way; a keyed
// slider takes the focus, and the page gives it back to the test field, so
// what the user types next lands there.
TEST_F(SettingsProgram, RealKeysTypeInTheTestFieldAndGoRoundThePage)
{
    Open();
    auto focusOn = [&](HWND window) {
        return WaitUntil([&] { return FocusedWindow(page_) == window; }, 5000);
    };
    auto typed = [&](const wchar_t* text) {
        return WaitUntil([&] { return WindowText(Item(IDC_TEST_FIELD)) == text; }, 5000);
    };
    ASSERT_TRUE(focusOn(Item(IDC_TEST_FIELD)));
    SetForegroundWindow(sheet_);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet_; }, 5000));
    for (WORD key : {WORD('A'), WORD(VK_RETURN), WORD('B')}) {
        Press(key);
    }
    EXPECT_TRUE(typed(L"a\r\nb"));
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
    for (HWND next : {Item(IDC_SOUND_ENABLED), tabs, Item(IDC_REPEAT_DELAY)}) {
        Press(VK_TAB);
        EXPECT_TRUE(focusOn(next)) << ClassName(FocusedWindow(page_));
    }
    Press(VK_RIGHT);
    EXPECT_TRUE(focusOn(Item(IDC_TEST_FIELD)));
    EXPECT_EQ(1, Position(IDC_REPEAT_DELAY));
    Press('C');
    EXPECT_TRUE(typed(L"a\r\nbc")) << testing::PrintToString(WindowText(Item(IDC_TEST_FIELD)));
    EXPECT_TRUE(IsWindowVisible(sheet_));
}

// Without the service's answers the states start as keyboard off and sound on.
TEST_F(SettingsProgram, SwitchesSendOnlyChangesAndReportsSetBoxesAndStates)
{
    kKeyboardService.Set(L"Answers", 0);
    Process service = kKeyboardService.Start();  // running: not started again
    Open();
    // The service's record of a message: "message <number> <wParam> <lParam>".
    auto received = [](UINT message, const std::string& arguments = "") {
        return kKeyboardService.Count("message " + std::to_string(message) + arguments);
    };
    std::string asker = " " + std::to_string(reinterpret_cast<UINT_PTR>(page_)) + " 0";
    EXPECT_TRUE(WaitUntil([&] { return received(KBSVC_QUERY_SOUND, asker); }, 5000));
    EXPECT_EQ(1, received(KBSVC_QUERY_KEYBOARD, asker));  // posted before the other
    EXPECT_EQ(1, received(KBSVC_QUERY_SOUND, asker));
    Click(IDC_SOUND_ENABLED);  // on already: nothing to send
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_EQ(1, received(KBSVC_SET_SOUND, " 0 0"));
    EXPECT_EQ(1, received(KBSVC_SET_KEYBOARD, " 1 0"));

    HWND main = FindWindowW(kMainClass, nullptr);  // forwards the keyboard's
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 0, 0);
    SendMessageW(page_, KBSVC_SOUND_STATE, 1, 0);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0);
    EXPECT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    Click(IDC_KEYBOARD_ENABLED);
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(1, received(KBSVC_SET_KEYBOARD, " 0 0"));
    EXPECT_EQ(2, received(KBSVC_SET_SOUND, " 0 0"));
    EXPECT_EQ(4, received(KBSVC_SET_KEYBOARD) + received(KBSVC_SET_SOUND));
    EXPECT_EQ(1, kKeyboardService.Count("start"));
}

}  // namespace
