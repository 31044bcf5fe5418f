// The settings program as a user starts and uses it: its start and end, the
// switches that talk to the service and the sliders that save the settings file.
#include "program.h"

namespace {

TEST_F(SettingsProgram, StartsTheServiceAndRunsTheSheetOverItsMainWindowUntilDone)
{
    Open();
    EXPECT_EQ(1, ServiceStandIn::Count("start"));
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
    ServiceStandIn::End();
    Process second = Start();
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(2, ServiceStandIn::Count("start"));
    EXPECT_EQ(std::vector<HWND>{main}, TopLevelWindows(kMainClass));
    EXPECT_EQ(main, GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));

    PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    exitCode = 99;
    ASSERT_TRUE(program_.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

TEST_F(SettingsProgram, ServiceThatNeverShowsItsWindowMeansTenLaunchesAndExitZero)
{
    ServiceStandIn::Set(L"CreatesWindow", 0);
    Process program = Start();
    bool mainWindowSeen = false;
    DWORD exitCode = 99;
    ASSERT_TRUE(WaitUntil(
        [&] {
            mainWindowSeen |= FindWindowW(kMainClass, nullptr) != nullptr;
            return program.WaitForExit(0, &exitCode);
        },
        30000));
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(mainWindowSeen);
    EXPECT_EQ(10, ServiceStandIn::Count("start"));
}

TEST_F(SettingsProgram, SwitchesShowTheServiceStatesAndSendOnlyChanges)
{
    Process service = ServiceStandIn::Start();  // a running service is not started again
    Open();
    ASSERT_TRUE(WaitUntil(  // the service reports both on
        [&] { return Checked(IDC_KEYBOARD_ENABLED) && Checked(IDC_SOUND_ENABLED); }, 5000));
    Click(IDC_SOUND_ENABLED);
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 1 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 0 0"));

    // Reports, the keyboard's also through the main window, set the boxes and
    // the states and send nothing back.
    HWND main = FindWindowW(kMainClass, nullptr);
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0);
    EXPECT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 0, 0);
    SendMessageW(page_, KBSVC_SOUND_STATE, 0, 0);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED) || Checked(IDC_SOUND_ENABLED));
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(2, ServiceStandIn::Count("message 1242 1 0"));
    EXPECT_EQ(4, ServiceStandIn::Count("message 1239") + ServiceStandIn::Count("message 1242"));
    EXPECT_EQ(1, ServiceStandIn::Count("start"));
}

TEST_F(SettingsProgram, WithoutAnswersTheKeyboardCountsAsOffAndTheSoundAsOn)
{
    ServiceStandIn::Set(L"Answers", 0);
    Open();
    Click(IDC_SOUND_ENABLED);
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    EXPECT_EQ(0, ServiceStandIn::Count("message 1242"));
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 1 0"));
}

}  // namespace
