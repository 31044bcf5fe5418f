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
    HWND bar = FindWindowExW(main, nullptr, L"HandheldMenuBar", nullptr);
    EXPECT_TRUE(bar && IsWindowVisible(bar));

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

// Each launch is waited for: a service slow to show its window is launched
// once; one that ends without a window, ten times, one launch after another.
TEST_F(SettingsProgram, WaitsForASlowServiceAndLaunchesOneWithoutWindowTenTimes)
{
    kKeyboardService.Set(L"StartDelayMs", 1500);
    Open();
    EXPECT_EQ(1, kKeyboardService.Count("start"));
    TearDown();

    kKeyboardService.Reset();
    kKeyboardService.Set(L"CreatesWindow", 0);
    Process program = Start();  // which would wait on its sheet had it gone on
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));  // not ten whole waits
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(10, kKeyboardService.Count("start"));
}

// Keying a slider takes the focus from the test field; the page gives it
// back, so what the user types next lands there.
TEST_F(SettingsProgram, TypingAfterASliderIsKeyedGoesToTheTestField)
{
    Open();
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet_; }, 5000));
    auto send = [](WORD virtualKey, wchar_t character, DWORD flags) {
        INPUT event = {};
        event.type = INPUT_KEYBOARD;
        event.ki = {virtualKey, character, flags | (character ? KEYEVENTF_UNICODE : 0u), 0, 0};
        SendInput(1, &event, sizeof(event));
    };
    auto key = [&](WORD virtualKey, wchar_t character = 0) {
        send(virtualKey, character, 0);
        send(virtualKey, character, KEYEVENTF_KEYUP);
    };
    auto focusOn = [&](int id) {
        return WaitUntil([&] { return FocusedWindow(page_) == Item(id); }, 5000);
    };
    ASSERT_TRUE(focusOn(IDC_TEST_FIELD));
    send(VK_SHIFT, 0, 0);
    key(VK_TAB);
    key(VK_TAB);  // back past the keyboard switch to the rate slider
    send(VK_SHIFT, 0, KEYEVENTF_KEYUP);
    EXPECT_TRUE(focusOn(IDC_REPEAT_RATE));
    key(VK_RIGHT);
    EXPECT_TRUE(focusOn(IDC_TEST_FIELD));
    EXPECT_EQ(1, Position(IDC_REPEAT_RATE));
    key(0, L'o');
    key(0, L'k');
    EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(IDC_TEST_FIELD)) == L"ok"; }, 5000))
        << testing::PrintToString(WindowText(Item(IDC_TEST_FIELD)));
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
