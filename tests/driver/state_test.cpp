// The driver's code in the test's process, where its state and lock can be
// reached, started afresh for each test: control codes, what the thread posts
// to real windows over power cycles, clearing the window while it posts.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <string>
#include <thread>

#include "driver_state.h"
#include "rsn.h"
#include "test_support.h"

using namespace test_support;

namespace {

class DriverState : public ::testing::Test {
protected:
    // As loaded, but for a power-down that the thread's first look posts to a
    // window of the fixture's: from that message on, the thread is between
    // two passes, and lastLook_ is when it looked.
    void SetUp() override
    {
        resumedFlag = notifiedFlag = 0;
        powerDownFlag = 1;
        clientWindow = firstLook_.Window();
        EXPECT_EQ(1u, RSN_Init(0));
        ASSERT_TRUE(UntilReceived(firstLook_, firstLook_.Received().size() + 1));
        lastLook_ = firstLook_.Received().back().time;
        powerDownFlag = 0;
        clientWindow = nullptr;
    }
    void TearDown() override { EXPECT_TRUE(RSN_Deinit(1)); }

    // The code with the window's word as input.
    static BOOL Io(DWORD code, HWND window = nullptr)
    {
        DWORD word = static_cast<DWORD>(HandleToLong(window));
        return RSN_IOControl(1, code, reinterpret_cast<PBYTE>(&word), 4, nullptr, 0, nullptr);
    }
    static DWORD Resumed()
    {
        DWORD resumed = 0xCCCCCCCC, bytes = 0;
        EXPECT_TRUE(RSN_IOControl(1, RSN_IOCTL_GET_RESUMED, nullptr, 0,
                                  reinterpret_cast<PBYTE>(&resumed), 4, &bytes));
        return resumed;
    }
    // Until the window has received its count-th message.
    static bool UntilReceived(const MessageRecorder& window, size_t count)
    {
        return WaitUntil([&] { return window.Received().size() >= count; }, 5000, 1);
    }

    MessageRecorder firstLook_;
    DWORD lastLook_ = 0;
};

const DWORD kNoInput = 1, kNoOutput = 2, kNoCount = 4;
enum Registered { kClient, kOther, kNone };

// Each row starts resumed, the client's window registered, the input holding
// the other window's word and the output buffer off alignment.
const struct {
    const char* name;
    DWORD code, inputLength, outputLength, missing, result, resumed;
    Registered window;  // afterwards
} kControlRows[] = {
    {"get resumed", RSN_IOCTL_GET_RESUMED, 0, 4, 0, TRUE, 1, kClient},
    {"get resumed, 7 bytes", RSN_IOCTL_GET_RESUMED, 0, 7, 0, TRUE, 1, kClient},
    {"get resumed, no buffer", RSN_IOCTL_GET_RESUMED, 0, 4, kNoOutput, FALSE, 1, kClient},
    {"get resumed, 3 bytes", RSN_IOCTL_GET_RESUMED, 0, 3, 0, FALSE, 1, kClient},
    {"get resumed, no count", RSN_IOCTL_GET_RESUMED, 0, 4, kNoCount, FALSE, 1, kClient},
    {"clear resumed", RSN_IOCTL_CLEAR_RESUMED, 4, 4, 0, TRUE, 0, kClient},
    {"set window", RSN_IOCTL_SET_WINDOW, 4, 0, kNoOutput | kNoCount, TRUE, 1, kOther},
    {"set window, no buffer", RSN_IOCTL_SET_WINDOW, 4, 0, kNoInput, FALSE, 1, kClient},
    {"set window, 3 bytes", RSN_IOCTL_SET_WINDOW, 3, 0, 0, FALSE, 1, kClient},
    {"clear window", RSN_IOCTL_CLEAR_WINDOW, 4, 4, 0, TRUE, 1, kNone},
    {"code 0", 0, 4, 4, 0, FALSE, 1, kClient},
    {"code 5", 5, 4, 4, 0, FALSE, 1, kClient},
    {"2 as CTL_CODE(FILE_DEVICE_UNKNOWN, 2, ...)", 0x220008, 4, 4, 0, FALSE, 1, kClient},
    {"3 as CTL_CODE(FILE_DEVICE_UNKNOWN, 3, ...)", 0x22000C, 4, 4, 0, FALSE, 1, kClient},
};

TEST_F(DriverState, ControlCodesAnswerOrRefuseAndTouchOnlyTheirWords)
{
    MessageRecorder client, other;
    const HWND windows[] = {client.Window(), other.Window(), nullptr};
    const std::string untouched(9, '\xCC'),
        answered = "\xCC" + std::string({'\1', '\0', '\0', '\0'}) + std::string(4, '\xCC');
    for (const auto& row : kControlRows) {
        resumedFlag = 1;
        clientWindow = client.Window();
        std::string output = untouched;
        DWORD input = static_cast<DWORD>(HandleToLong(other.Window())), count = 0xCCCCCCCC;
        PBYTE in = row.missing & kNoInput ? nullptr : reinterpret_cast<PBYTE>(&input);
        PBYTE out = row.missing & kNoOutput ? nullptr : reinterpret_cast<PBYTE>(&output[1]);
        SetLastError(12345);
        BOOL result = RSN_IOControl(1, row.code, in, row.inputLength, out, row.outputLength,
                                    row.missing & kNoCount ? nullptr : &count);
        const bool answers = row.code == RSN_IOCTL_GET_RESUMED && row.result;
        EXPECT_EQ(row.result, static_cast<DWORD>(result)) << row.name;
        EXPECT_TRUE(result || GetLastError() == 12345) << row.name;
        EXPECT_EQ(answers ? answered : untouched, output) << row.name;
        EXPECT_EQ(answers ? 4u : 0xCCCCCCCC, count) << row.name;
        EXPECT_EQ(row.resumed, Resumed()) << row.name;
        EXPECT_EQ(windows[row.window], clientWindow) << row.name;
    }
    // A 64-bit platform widens a 32-bit window word with its sign, as every 32-bit handle.
    for (ULONG_PTR window : {0x00010042ull, 0x7FFFFFFEull, 0xFFFFFFFF80010042ull}) {
        EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, reinterpret_cast<HWND>(window)));
        EXPECT_EQ(reinterpret_cast<HWND>(window), clientWindow) << window;
    }
    BYTE data[4] = {};
    EXPECT_EQ(0xFFFFFFFFu, RSN_Read(1, data, 4));
    EXPECT_EQ(0xFFFFFFFFu, RSN_Write(1, data, 4));
    EXPECT_EQ(0xFFFFFFFFu, RSN_Seek(1, 0, FILE_BEGIN));
}

// Each from a fresh start, after the thread's first look. Steps: d and u power
// down and up, w and o register the client's and the other window, x clears
// the window, c the resumed state; R and P wait for the thread's look to post
// RSN_MSG_RESUMED or RSN_MSG_POWERDOWN to the client, _ waits a whole pass
// (the thread looks at least once). The client receives just the messages
// waited for; the other window, nothing.
const struct {
    const char* name;
    const char* steps;
    DWORD resumed;
} kScenarios[] = {
    {"no power-down", "wu_", 0},
    {"a power cycle", "wduR", 1},
    {"two power cycles", "wduRduR", 1},
    {"registered after the resume", "duwR", 1},
    {"a look while down", "wdPu_", 1},
    {"cleared before the look", "wduc_", 0},
    {"registered after the look", "du_w_", 1},
    {"a second window replaces the first", "owduR", 1},
    {"a cleared window", "xwxdu_", 1},
    {"registered again", "wxdu_wduR", 1},
};

TEST_F(DriverState, EachPowerCyclePostsAtMostOneMessageAtTheThreadsLook)
{
    for (const auto& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        MessageRecorder client, other;
        std::vector<UINT> waitedFor;
        for (const char* step = scenario.steps; *step; ++step) {
            if (*step == 'd' || *step == 'u') {
                (*step == 'd' ? RSN_PowerDown : RSN_PowerUp)(1);
            } else if (*step == 'R' || *step == 'P') {
                waitedFor.push_back(*step == 'R' ? RSN_MSG_RESUMED : RSN_MSG_POWERDOWN);
                EXPECT_TRUE(UntilReceived(client, waitedFor.size())) << step;
            } else if (*step == '_') {
                PumpMessages(1500);
            } else {
                DWORD code = *step == 'x'   ? RSN_IOCTL_CLEAR_WINDOW
                             : *step == 'c' ? RSN_IOCTL_CLEAR_RESUMED
                                            : RSN_IOCTL_SET_WINDOW;
                EXPECT_TRUE(Io(code, *step == 'o' ? other.Window() : client.Window()));
            }
        }
        std::vector<UINT> posted;
        for (const MessageRecorder::Message& message : client.Received()) {
            posted.push_back(message.number);
            EXPECT_TRUE(!message.wParam && !message.lParam);
        }
        EXPECT_EQ(waitedFor, posted);
        EXPECT_TRUE(other.Received().empty());
        EXPECT_EQ(scenario.resumed, Resumed());
        TearDown();
        SetUp();
    }
}

// A resume waits for the thread's next look, a pass (1 s) after its last, and
// no longer. The resumes fall where a wrong pass shows most: just after a
// look, where a 500 ms pass posts half a pass early, a 2 s pass a pass late
// and a post at the resume at once; and late in the pass, where a pass that
// starts again at the resume posts most of a pass late. The looks are timed by
// their messages' post times, which a busy machine can only delay: from one
// look to the next at least a pass, and to the first look after the resume
// no more than half a pass late.
TEST_F(DriverState, AResumeIsPostedAtTheThreadsNextPass)
{
    const DWORD kPass = 1000, kLate = 500;
    MessageRecorder client;
    EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, client.Window()));
    for (DWORD phase : {50, 700, 50, 700, 50, 700}) {
        const LONG ahead = static_cast<LONG>(lastLook_ + phase - GetTickCount());
        Sleep(ahead > 0 ? ahead : 0);
        RSN_PowerDown(1);
        RSN_PowerUp(1);
        // This thread's tick count may trail the post times by a few ms.
        const DWORD resumed = std::max(0L, static_cast<LONG>(GetTickCount() - lastLook_));
        SCOPED_TRACE("resumed " + std::to_string(resumed) + " ms into the pass");
        ASSERT_TRUE(UntilReceived(client, client.Received().size() + 1));
        const DWORD look = client.Received().back().time - lastLook_;
        EXPECT_GE(look, kPass - 20);
        EXPECT_LE(look, (resumed / kPass + 1) * kPass + kLate);
        lastLook_ += look;
    }
}

// A stop of a stopped driver returns TRUE and touches nothing, not even the
// lock it deleted; started again, the driver posts as before.
TEST_F(DriverState, AStopOfAStoppedDriverTouchesNothing)
{
    EXPECT_TRUE(RSN_Deinit(1));
    const std::string released(sizeof stateLock, '\xCC');
    CopyMemory(&stateLock, released.data(), released.size());
    EXPECT_TRUE(RSN_Deinit(1));
    EXPECT_EQ(released, std::string(reinterpret_cast<const char*>(&stateLock), sizeof stateLock));
    SetUp();
    MessageRecorder client;
    EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, client.Window()));
    RSN_PowerDown(1);
    RSN_PowerUp(1);
    EXPECT_EQ(0, client.WaitFor(RSN_MSG_RESUMED, 3000));
}

// So once code 4 has returned, nothing more reaches the window it cleared.
TEST_F(DriverState, ThePostAndClearingTheWindowTakeTheLock)
{
    MessageRecorder client;
    EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, client.Window()));
    EnterCriticalSection(&stateLock);
    RSN_PowerDown(1);
    RSN_PowerUp(1);
    EXPECT_TRUE(WaitUntil([] { return notifiedFlag != 0; }, 5000));  // the thread's look
    EXPECT_FALSE(WaitUntil([&] { return !client.Received().empty(); }, 300))
        << "posted without the lock";
    std::atomic<bool> cleared(false);
    std::thread clearing([&] { cleared = Io(RSN_IOCTL_CLEAR_WINDOW); });
    Sleep(200);
    EXPECT_FALSE(cleared) << "cleared without the lock";
    LeaveCriticalSection(&stateLock);
    clearing.join();
}

// Power cycles as fast as they come while another thread registers one window
// after another, each for 40 to 80 ms, and clears it; the windows stay.
TEST_F(DriverState, PowerCyclesWhileWindowsComeAndGo)
{
    std::atomic<bool> stop(false);
    size_t received = 0, atTheEnd = 0, rounds = 0;
    std::thread clients([&] {
        std::deque<MessageRecorder> windows;
        for (; !stop; ++rounds) {
            EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, windows.emplace_back().Window()));
            PumpMessages(40 + rounds % 5 * 10);
            EXPECT_TRUE(Io(RSN_IOCTL_CLEAR_WINDOW));
            PumpMessages(0);  // what was posted before code 4 returned is in the queue by now
            received += windows.back().Received().size();
        }
        PumpMessages(100);
        for (const MessageRecorder& window : windows) {
            atTheEnd += window.Received().size();
        }
    });
    unsigned cycles = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 4500; ++cycles) {
        RSN_PowerDown(1);
        RSN_PowerUp(1);
        if (cycles % 64 == 0) {
            Sleep(1);  // resumed, so that the thread's look has something to post
        }
    }
    stop = true;
    clients.join();
    EXPECT_EQ(received, atTheEnd) << "posted after code 4 had returned";
    EXPECT_GT(received, 0u) << "the thread's looks found no window in " << rounds << " rounds";
    EXPECT_GT(cycles, 10000u);
}

}  // namespace
