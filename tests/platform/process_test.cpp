// Starting a program the handheld way: no start-up or process information.
#include <gtest/gtest.h>

#include <handheld.h>

#include "service_standin.h"
#include "test_support.h"

using namespace test_support;

namespace {

DWORD OwnHandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

TEST(HandheldProcessStart, StartsAHandheldPathWithoutInformationAndKeepsNoHandles)
{
    ServiceStandIn::Reset();
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\tmp"));
    DWORD handlesBefore = OwnHandleCount();

    EXPECT_TRUE(CreateProcessW(L"\\Windows\\KeybdR410.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(WaitForWindow(L"KeybdR410", nullptr, 10000));
    EXPECT_EQ(handlesBefore, OwnHandleCount());
    ServiceStandIn::End();
}

TEST(HandheldProcessStart, FailsForAMissingProgram)
{
    EXPECT_FALSE(CreateProcessW(L"\\Windows\\NoSuchProgram.exe", nullptr, nullptr, nullptr, FALSE,
                                0, nullptr, nullptr, nullptr, nullptr));
}

TEST(HandheldProcessStart, HandsBackInformationWhenAskedFor)
{
    ServiceStandIn::Reset();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(L"\\Windows\\KeybdR410.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &started));
    EXPECT_NE(0u, started.dwProcessId);
    EXPECT_TRUE(WaitForWindow(L"KeybdR410", nullptr, 10000));
    EXPECT_EQ(started.dwProcessId, WindowProcessId(ServiceStandIn::Window()));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    ServiceStandIn::End();
}

}  // namespace
