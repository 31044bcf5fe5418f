// The settings program as a user starts it: the real executable from the
// Windows folder, the keyboard-service stand-in beside it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "service_standin.h"
#include "test_support.h"

using namespace test_support;

namespace {

const wchar_t kMainClass[] = L"Fold Keyboard";
const wchar_t kSheetTitle[] = L"Tavrin R412 Keyboard";

class SettingsStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndProgramsWithWindow(kMainClass);
        ServiceStandIn::Reset();
        InstallProgram(L"Tavrin Fold Keyboard.exe", L"Tavrin Fold Keyboard.exe");
    }

    void TearDown() override
    {
        EndProgramsWithWindow(kMainClass);
        ServiceStandIn::End();
    }

    static Process StartSettings() { return Process(InWindowsFolder(L"Tavrin Fold Keyboard.exe")); }

    static HWND WaitForSheet() { return WaitForWindow(L"#32770", kSheetTitle, 15000); }
};

TEST_F(SettingsStartup, RunningServiceIsNotStartedAgain)
{
    Process service = ServiceStandIn::Start();
    ASSERT_TRUE(ServiceStandIn::Window());

    Process settings = StartSettings();
    ASSERT_TRUE(WaitForSheet());
    EXPECT_EQ(1, ServiceStandIn::Count("start"));
}

TEST_F(SettingsStartup, InstalledServiceIsStartedOnceAndTheSheetOpens)
{
    Process settings = StartSettings();
    ASSERT_TRUE(WaitForSheet());
    EXPECT_TRUE(ServiceStandIn::Window());
    EXPECT_EQ(1, ServiceStandIn::Count("start"));
    EXPECT_EQ(0, ServiceStandIn::Count("duplicate"));
}

TEST_F(SettingsStartup, DoneEndsTheProgramWithZero)
{
    Process settings = StartSettings();
    HWND sheet = WaitForSheet();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(FindWindowW(kMainClass, nullptr));

    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(settings.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(FindWindowW(kMainClass, nullptr));
    EXPECT_FALSE(IsWindow(sheet));
}

TEST_F(SettingsStartup, ServiceThatNeverShowsItsWindowMeansTenLaunchesAndExitZero)
{
    ServiceStandIn::Set(L"CreatesWindow", 0);
    Process settings = StartSettings();

    bool mainWindowSeen = false;
    DWORD exitCode = 99;
    bool ended = WaitUntil(
        [&] {
            mainWindowSeen |= FindWindowW(kMainClass, nullptr) != nullptr;
            return settings.WaitForExit(0, &exitCode);
        },
        30000);
    ASSERT_TRUE(ended);
    EXPECT_EQ(0u, exitCode);
    EXPECT_FALSE(mainWindowSeen);
    EXPECT_EQ(10, ServiceStandIn::Count("start"));
    EXPECT_EQ(10, ServiceStandIn::Count("no-window"));
}

TEST_F(SettingsStartup, SecondStartBringsTheFirstToTheFrontAndEnds)
{
    Process first = StartSettings();
    ASSERT_TRUE(WaitForSheet());
    HWND firstMain = FindWindowW(kMainClass, nullptr);
    ASSERT_TRUE(firstMain);

    Process second = StartSettings();
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);

    std::vector<HWND> mainWindows = TopLevelWindows(kMainClass);
    ASSERT_EQ(1u, mainWindows.size());
    EXPECT_EQ(firstMain, mainWindows[0]);
    EXPECT_EQ(firstMain, GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));
    EXPECT_FALSE(first.WaitForExit(0));
}

TEST_F(SettingsStartup, SecondStartRestartsAMissingServiceFirst)
{
    Process first = StartSettings();
    ASSERT_TRUE(WaitForSheet());
    ServiceStandIn::End();

    Process second = StartSettings();
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(2, ServiceStandIn::Count("start"));
    EXPECT_TRUE(ServiceStandIn::Window());
    EXPECT_EQ(1u, TopLevelWindows(kMainClass).size());
}

}  // namespace
