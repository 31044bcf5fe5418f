// The keyboard-service stand-in that the settings program's tests and the demo rely on.
#include <gtest/gtest.h>

#include "service_standin.h"
#include "test_support.h"

using namespace test_support;

namespace {

class KeyboardServiceStandIn : public ::testing::Test {
protected:
    void SetUp() override { ServiceStandIn::Reset(); }
    void TearDown() override { ServiceStandIn::End(); }

    // Posts a query and returns the state in the answer, or -1 without one.
    static long long Ask(UINT query, UINT answer)
    {
        MessageRecorder asker;
        PostMessageW(ServiceStandIn::Window(), query, reinterpret_cast<WPARAM>(asker.Window()), 0);
        return asker.WaitFor(answer, 2000);
    }
};

TEST_F(KeyboardServiceStandIn, AnswersQueriesWithItsStates)
{
    ServiceStandIn::Set(L"Keyboard", 1);
    ServiceStandIn::Set(L"Sound", 0);
    Process service = ServiceStandIn::Start();
    EXPECT_EQ(1, Ask(1237, 1238));
    EXPECT_EQ(0, Ask(1240, 1241));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1237 "));
}

TEST_F(KeyboardServiceStandIn, StatesSetByMessagesOutliveARestart)
{
    Process service = ServiceStandIn::Start();
    SendMessageW(ServiceStandIn::Window(), 1239, 0, 0);
    SendMessageW(ServiceStandIn::Window(), 1242, 0, 0);
    ServiceStandIn::End();

    Process again = ServiceStandIn::Start();
    EXPECT_EQ(0, Ask(1237, 1238));
    EXPECT_EQ(0, Ask(1240, 1241));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 0 0"));
}

TEST_F(KeyboardServiceStandIn, EndsOnCloseAndASecondCopyEndsAtOnce)
{
    Process service = ServiceStandIn::Start();
    Process duplicate(InWindowsFolder(L"KeybdR410.exe"));
    EXPECT_TRUE(duplicate.WaitForExit(5000));
    EXPECT_EQ(1, ServiceStandIn::Count("duplicate"));

    SendMessageW(ServiceStandIn::Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(service.WaitForExit(5000));
    EXPECT_EQ(1, ServiceStandIn::Count("close"));
}

TEST_F(KeyboardServiceStandIn, CanBeToldNotToAnswer)
{
    ServiceStandIn::Set(L"Answers", 0);
    Process service = ServiceStandIn::Start();
    EXPECT_EQ(-1, Ask(1237, 1238));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1237 "));
}

}  // namespace
