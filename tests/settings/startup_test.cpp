// The settings program's start and end, as a user starts it.
#include "program.h"

using namespace test_support;

namespace {

TEST_F(SettingsProgram, StartsTheServiceRunsTheSheetOverItsMainWindowAndDoneEndsItWithZero)
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

    PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
    DWORD exitCode = 99;
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

TEST_F(SettingsProgram, SecondStartRestartsAMissingServiceAndBringsTheFirstToTheFront)
{
    Open();
    HWND firstMain = FindWindowW(kMainClass, nullptr);
    ServiceStandIn::End();

    Process second = Start();
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(2, ServiceStandIn::Count("start"));
    EXPECT_EQ(std::vector<HWND>{firstMain}, TopLevelWindows(kMainClass));
    EXPECT_EQ(firstMain, GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));
    EXPECT_FALSE(program_.WaitForExit(0));
}

}  // namespace
