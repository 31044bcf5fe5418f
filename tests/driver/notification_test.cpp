// What reaches the client's window, with the driver's real polling thread and
// a real window on the test's thread.
#include "driver_fixture.h"
#include "test_support.h"

using namespace test_support;

namespace {

using Notifications = DriverTest;

bool Is(const MessageRecorder::Message& message, UINT number)
{
    return message.number == number && message.wParam == 0 && message.lParam == 0;
}

TEST_F(Notifications, BeforeAnyPowerDownNothingIsPostedAndResumedReadsZero)
{
    MessageRecorder client;
    Register(client.Window());
    driver_.PowerUp(device_);  // a resume without a power-down changes nothing
    PumpMessages(kQuietMs);
    EXPECT_TRUE(client.Received().empty());

    DWORD resumed = 0xCCCCCCCC;
    DWORD bytes = 0;
    EXPECT_TRUE(Control(kGetResumed, nullptr, 0, &resumed, sizeof(resumed), &bytes));
    EXPECT_EQ(0u, resumed);
    EXPECT_EQ(4u, bytes);
}

TEST_F(Notifications, EachPowerCycleBringsOneResumedMessageWithinASecond)
{
    MessageRecorder client;
    Register(client.Window());
    for (size_t cycle = 1; cycle <= 2; ++cycle) {
        DWORD resumedAt = GetTickCount();
        PowerCycle();
        ASSERT_TRUE(WaitUntil([&] { return client.Received().size() == cycle; }, kMessageTimeoutMs))
            << "cycle " << cycle;
        EXPECT_LE(GetTickCount() - resumedAt, kMessageTimeoutMs);
        EXPECT_TRUE(Is(client.Received().back(), kResumedMessage));
        // Resumed until cleared, and cleared until the next cycle.
        EXPECT_EQ(1u, Resumed());
        EXPECT_TRUE(Control(kClearResumed, nullptr, 0, nullptr, 0, nullptr));
        EXPECT_EQ(0u, Resumed());
    }
    PumpMessages(1500);
    EXPECT_EQ(2u, client.Received().size());
}

TEST_F(Notifications, ClearingTheResumedStateBeforeTheLookSuppressesTheMessage)
{
    AfterALook();
    MessageRecorder client;
    Register(client.Window());
    PowerCycle();
    EXPECT_TRUE(Control(kClearResumed, nullptr, 0, nullptr, 0, nullptr));
    PumpMessages(kQuietMs);
    EXPECT_TRUE(client.Received().empty());
    EXPECT_EQ(0u, Resumed());
}

TEST_F(Notifications, ALookBetweenPowerDownAndResumeReportsThePowerDownOnly)
{
    MessageRecorder client;
    Register(client.Window());
    driver_.PowerDown(device_);
    ASSERT_EQ(0, client.WaitFor(kPowerDownMessage, kMessageTimeoutMs));
    EXPECT_EQ(0u, Resumed());

    driver_.PowerUp(device_);
    PumpMessages(kQuietMs);
    ASSERT_EQ(1u, client.Received().size());
    EXPECT_TRUE(Is(client.Received()[0], kPowerDownMessage));
    EXPECT_EQ(1u, Resumed());
}

TEST_F(Notifications, AResumeAlreadyLookedAtIsNotPostedToAWindowRegisteredLater)
{
    PowerCycle();
    PumpMessages(2000);  // the thread's look at this cycle, with no window
    MessageRecorder client;
    Register(client.Window());
    PumpMessages(kQuietMs);
    EXPECT_TRUE(client.Received().empty());
    EXPECT_EQ(1u, Resumed());
}

TEST_F(Notifications, ASecondWindowReplacesTheFirst)
{
    MessageRecorder first, second;
    Register(first.Window());
    Register(second.Window());
    PowerCycle();
    EXPECT_EQ(0, second.WaitFor(kResumedMessage, kMessageTimeoutMs));
    PumpMessages(300);
    EXPECT_TRUE(first.Received().empty());
    EXPECT_EQ(1u, second.Received().size());
}

TEST_F(Notifications, AClearedWindowReceivesNothingAndClearingNoWindowIsHarmless)
{
    ClearWindow();  // none registered yet

    MessageRecorder client;
    Register(client.Window());
    ClearWindow();
    PowerCycle();
    PumpMessages(kQuietMs);
    EXPECT_TRUE(client.Received().empty());
    EXPECT_EQ(1u, Resumed());

    // Registering again is all it takes.
    Register(client.Window());
    PowerCycle();
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, kMessageTimeoutMs));
}

}  // namespace
