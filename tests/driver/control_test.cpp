// The control codes' answers and refusals, and the stream calls that carry no data.
#include <windows.h>
#include <winioctl.h>

#include <cstring>

#include "driver_fixture.h"
#include "test_support.h"

using namespace test_support;

namespace {

using ControlCodes = DriverTest;

const BYTE kUntouched = 0xCC;

struct Buffers {
    Buffers() { std::memset(this, kUntouched, sizeof(*this)); }
    bool Untouched() const
    {
        for (size_t i = 0; i < sizeof(*this); ++i) {
            if (reinterpret_cast<const BYTE*>(this)[i] != kUntouched) {
                return false;
            }
        }
        return true;
    }
    BYTE input[8];
    BYTE output[8];
    DWORD bytesReturned;
};

TEST_F(ControlCodes, OtherCodesFailAndChangeNothing)
{
    PowerCycle();  // resumed, and not yet looked at
    MessageRecorder client;
    DWORD window = static_cast<DWORD>(HandleToLong(client.Window()));
    // Among them what a driver that decoded CTL_CODE values would take for 2 and 3.
    const DWORD codes[] = {0,
                           5,
                           6,
                           0x100,
                           0xFFFFFFFF,
                           CTL_CODE(FILE_DEVICE_UNKNOWN, 2, METHOD_BUFFERED, FILE_ANY_ACCESS),
                           CTL_CODE(FILE_DEVICE_UNKNOWN, 3, METHOD_BUFFERED, FILE_ANY_ACCESS)};
    for (DWORD code : codes) {
        Buffers buffers;
        std::memcpy(buffers.input, &window, sizeof(window));
        SetLastError(12345);
        EXPECT_FALSE(Control(code, buffers.input, 8, buffers.output, 8, &buffers.bytesReturned))
            << code;
        EXPECT_EQ(12345u, GetLastError()) << code;
        std::memset(buffers.input, kUntouched, sizeof(window));
        EXPECT_TRUE(buffers.Untouched()) << code;
    }
    PumpMessages(kQuietMs);
    EXPECT_TRUE(client.Received().empty());
    EXPECT_EQ(1u, Resumed());
}

TEST_F(ControlCodes, ResumedStateIsWrittenToAnyFourBytes)
{
    BYTE output[7];
    std::memset(output, kUntouched, sizeof(output));
    DWORD bytes = 0;
    EXPECT_TRUE(Control(kGetResumed, nullptr, 0, output + 1, 4, &bytes));  // unaligned
    EXPECT_EQ(4u, bytes);
    const BYTE expected[7] = {kUntouched, 0, 0, 0, 0, kUntouched, kUntouched};
    EXPECT_EQ(0, std::memcmp(expected, output, sizeof(output)));

    PowerCycle();
    EXPECT_TRUE(Control(kGetResumed, nullptr, 0, output + 1, 6, &bytes));
    const BYTE resumed[7] = {kUntouched, 1, 0, 0, 0, kUntouched, kUntouched};
    EXPECT_EQ(0, std::memcmp(resumed, output, sizeof(output)));
}

TEST_F(ControlCodes, MissingOrShortBuffersAreRefusedUntouched)
{
    PowerCycle();  // something to report
    Buffers buffers;
    EXPECT_FALSE(Control(kGetResumed, nullptr, 0, nullptr, 4, &buffers.bytesReturned));
    EXPECT_FALSE(Control(kGetResumed, nullptr, 0, buffers.output, 3, &buffers.bytesReturned));
    EXPECT_FALSE(Control(kGetResumed, nullptr, 0, buffers.output, 0, &buffers.bytesReturned));
    EXPECT_FALSE(Control(kGetResumed, nullptr, 0, buffers.output, 4, nullptr));
    EXPECT_TRUE(buffers.Untouched());

    // A refused window leaves the registered one in place.
    MessageRecorder client, other;
    Register(client.Window());
    DWORD word = static_cast<DWORD>(HandleToLong(other.Window()));
    EXPECT_FALSE(Control(kSetWindow, nullptr, 4, nullptr, 0, nullptr));
    EXPECT_FALSE(Control(kSetWindow, &word, 3, nullptr, 0, nullptr));
    EXPECT_FALSE(Control(kSetWindow, &word, 0, nullptr, 0, nullptr));
    PowerCycle();
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, kMessageTimeoutMs));
    EXPECT_TRUE(other.Received().empty());
}

TEST_F(ControlCodes, EveryOpenSharesTheStateAndNoneCarriesData)
{
    DWORD second = driver_.Open(device_, 0, 0);
    EXPECT_EQ(1u, second);
    PowerCycle();
    DWORD resumed = 0;
    DWORD bytes = 0;
    EXPECT_TRUE(driver_.IOControl(second, kGetResumed, nullptr, 0,
                                  reinterpret_cast<PBYTE>(&resumed), 4, &bytes));
    EXPECT_EQ(1u, resumed);
    EXPECT_TRUE(driver_.Close(second));
    EXPECT_EQ(1u, Resumed());

    for (DWORD open : {open_, DWORD(0), DWORD(7)}) {
        BYTE buffer[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
        EXPECT_EQ(0xFFFFFFFFu, driver_.Read(open, buffer, sizeof(buffer)));
        EXPECT_EQ(0xFFFFFFFFu, driver_.Write(open, buffer, sizeof(buffer)));
        EXPECT_EQ(0xFFFFFFFFu, driver_.Seek(open, 0, FILE_BEGIN));
        EXPECT_EQ(0xFFFFFFFFu, driver_.Seek(open, -4, FILE_END));
        EXPECT_EQ(kUntouched, buffer[0]);
    }
}

}  // namespace
