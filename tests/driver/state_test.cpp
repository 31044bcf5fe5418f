// The driver's code in the test's process, where its state and lock can be
// reached, started afresh for each test: control codes, what the thread posts
// to real windows over power cycles, clearing the window while it posts.
#include <gtest/gtest.h>

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
    void SetUp() override
    {
        powerDownFlag = resumedFlag = notifiedFlag = 0;  // as loaded
        clientWindow = nullptr;
        EXPECT_EQ(1u, RSN_Init(0));
        UntilLooked();  // the thread's first look
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
    // Until the thread has taken its look at this power cycle, and posted.
    static void UntilLooked()
    {
        WaitUntil([] { return notifiedFlag != 0; }, 2500);
        PumpMessages(100);
    }
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
// the window, c the resumed state; . waits for the thread's look at this power
// cycle, _ for one more pass.
const struct {
    const char* name;
    const char* steps;
    std::vector<UINT> posted;  // to the client's window; the other receives nothing
    DWORD resumed;
} kScenarios[] = {
    {"no power-down", "wu_", {}, 0},
    {"a power cycle", "wdu.", {RSN_MSG_RESUMED}, 1},
    {"two power cycles", "wdu.du.", {RSN_MSG_RESUMED, RSN_MSG_RESUMED}, 1},
    {"registered after the resume", "duw.", {RSN_MSG_RESUMED}, 1},
    {"a look while down", "wd.u.", {RSN_MSG_POWERDOWN}, 1},
    {"cleared before the look", "wduc.", {}, 0},
    {"registered after the look", "du.w_", {}, 1},
    {"a second window replaces the first", "owdu.", {RSN_MSG_RESUMED}, 1},
    {"a cleared window", "xwxdu.", {}, 1},
    {"registered again", "wxdu.wdu.", {RSN_MSG_RESUMED}, 1},
};

TEST_F(DriverState, EachPowerCyclePostsAtMostOneMessageAtTheThreadsLook)
{
    for (const auto& scenario : kScenarios) {
        MessageRecorder client, other;
        for (const char* step = scenario.steps; *step; ++step) {
            if (*step == 'd' || *step == 'u') {
                (*step == 'd' ? RSN_PowerDown : RSN_PowerUp)(1);
            } else if (*step == '.' || *step == '_') {
                *step == '.' ? UntilLooked() : PumpMessages(1300);
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
            EXPECT_TRUE(!message.wParam && !message.lParam) << scenario.name;
        }
        EXPECT_EQ(scenario.posted, posted) << scenario.name;
        EXPECT_TRUE(other.Received().empty()) << scenario.name;
        EXPECT_EQ(scenario.resumed, Resumed()) << scenario.name;
        TearDown();
        SetUp();
    }
}

// A resume waits for the thread's next pass and no longer, whatever the phase
// of the pass it falls in: its message comes within a pass of the resume, and
// not before a whole pass since the thread's last look, less what two
// messages may take to arrive on a busy machine (a resume just after a look is
// posted about a pass later).
TEST_F(DriverState, AResumeIsPostedAtTheThreadsNextPass)
{
    MessageRecorder client;
    EXPECT_TRUE(Io(RSN_IOCTL_SET_WINDOW, client.Window()));
    auto cycleAndWait = [&] {
        size_t before = client.Received().size();
        RSN_PowerDown(1);
        RSN_PowerUp(1);
        const ULONGLONG resumed = GetTickCount64();
        EXPECT_TRUE(WaitUntil([&] { return client.Received().size() > before; }, 3000, 1));
        return GetTickCount64() - resumed;
    };
    cycleAndWait();
    ULONGLONG lastLook = GetTickCount64();  // its message's arrival, just after it
    const DWORD phases[] = {10, 990, GetTickCount() % 1000};  // after a look, before, anywhere
    for (DWORD phase : phases) {
        Sleep(phase);
        const ULONGLONG latency = cycleAndWait(), look = GetTickCount64();
        EXPECT_LE(latency, 1300u) << "resumed " << phase << " ms into the pass";
        EXPECT_GE(look - lastLook, 700u) << "resumed " << phase << " ms into the pass";
        lastLook = look;
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
    UntilLooked();
    EXPECT_TRUE(client.Received().empty()) << "posted without the lock";
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
