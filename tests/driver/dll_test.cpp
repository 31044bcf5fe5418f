// RSN.dll itself: loaded, started, stopped and unloaded by the test again and
// again, and under the device-manager stand-in, a process of its own.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "rsn.h"
#include "stream_driver.h"
#include "test_support.h"

using namespace test_support;

namespace {

// The process's committed private memory, region by region: this Wine reports
// no private bytes through GetProcessMemoryInfo.
SIZE_T CommittedPrivateKiB()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return total / 1024;
}

size_t ThreadsOfThisProcess()
{
    size_t threads = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        threads += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    CloseHandle(snapshot);
    return threads;
}

// A client's control codes while the driver is stopped, before its start or
// after its stop: each fails and leaves its buffers alone.
void ExpectControlCodesRefused(const StreamDriver& driver, DWORD window, const char* when)
{
    for (DWORD code = RSN_IOCTL_GET_RESUMED; code <= RSN_IOCTL_CLEAR_WINDOW; ++code) {
        DWORD output = 7, bytes = 7;
        BOOL done = driver.IOControl(1, code, reinterpret_cast<PBYTE>(&window), 4,
                                     reinterpret_cast<PBYTE>(&output), 4, &bytes);
        EXPECT_TRUE(!done && output == 7 && bytes == 7) << when << ", code " << code;
    }
}

// Each load starts from zero; a stop gives back what its start took (not even
// a few KiB of memory a cycle, nor a thread), and an unload leaves nothing.
// Stopped, the driver refuses control codes and keeps its state.
TEST(DriverLifecycle, LoadsStartsStopsAndUnloadsAgainAndAgainLeavingNothing)
{
    const std::wstring path = BinFolder() + L"\\RSN.dll";
    StreamDriver driver;
    MessageRecorder client;
    DWORD window = static_cast<DWORD>(HandleToLong(client.Window()));
    for (int load = 0; load < 20; ++load) {
        std::wstring problem;
        ASSERT_TRUE(driver.Load(path, "RSN", &problem));
        EXPECT_TRUE(driver.Deinit(1)) << "never started";
        ExpectControlCodesRefused(driver, window, "before the start");
        EXPECT_EQ(1u, driver.Init(0));
        EXPECT_EQ(1u, driver.Init(0));  // a second Init keeps the thread
        EXPECT_EQ(1u, driver.Open(1, GENERIC_READ | GENERIC_WRITE, 0));
        DWORD resumed = 1, bytes = 0;
        EXPECT_TRUE(driver.IOControl(1, RSN_IOCTL_GET_RESUMED, nullptr, 0,
                                     reinterpret_cast<PBYTE>(&resumed), 4, &bytes));
        EXPECT_EQ(0u, resumed) << "load " << load;
        // Measured from the second load on, past what a first one sets up in the process.
        const size_t threads = ThreadsOfThisProcess();
        const SIZE_T committedKiB = CommittedPrivateKiB();
        const int starts = load == 1 ? 200 : 50;
        for (int start = 0; start < starts; ++start) {
            EXPECT_TRUE(driver.Deinit(1));
            EXPECT_EQ(1u, driver.Init(0));
        }
        if (load == 1) {
            const SIZE_T afterKiB = CommittedPrivateKiB();
            RecordProperty("CommittedPrivateKiB",
                           std::to_string(committedKiB) + " -> " + std::to_string(afterKiB));
            EXPECT_LE(afterKiB, committedKiB + starts * 4) << committedKiB << " KiB before";
            EXPECT_EQ(threads, ThreadsOfThisProcess());
        }
        // Stopped with a power cycle to look at and a window to post to.
        EXPECT_TRUE(driver.IOControl(1, RSN_IOCTL_SET_WINDOW, reinterpret_cast<PBYTE>(&window), 4,
                                     nullptr, 0, nullptr));
        driver.PowerDown(1);
        driver.PowerUp(1);
        EXPECT_TRUE(driver.Close(1));
        EXPECT_TRUE(driver.Deinit(1));
        EXPECT_TRUE(driver.Deinit(1)) << "stopped twice";
        // Refused, not cleared: the next start still finds the power cycle.
        ExpectControlCodesRefused(driver, window, "after the stop");
        EXPECT_EQ(1u, driver.Init(0));
        EXPECT_TRUE(driver.IOControl(1, RSN_IOCTL_GET_RESUMED, nullptr, 0,
                                     reinterpret_cast<PBYTE>(&resumed), 4, &bytes));
        EXPECT_EQ(1u, resumed) << "load " << load;
        EXPECT_TRUE(driver.Deinit(1));
        EXPECT_EQ(threads - 1, ThreadsOfThisProcess()) << "load " << load;
        driver.Unload();
        EXPECT_FALSE(GetModuleHandleW(path.c_str())) << "load " << load;
    }
    PumpMessages(1500);  // a thread left in unloaded code would take the process down by now
}

// Posting to a client window in the test's process.
TEST(DriverHost, PostsToAClientInAnotherProcessOnceAPowerCycleUntilCleared)
{
    MessageRecorder client;
    Process host(BinFolder() + L"\\device-manager.exe",
                 L"\"" + BinFolder() + L"\\RSN.dll\" RSN window " +
                     std::to_wstring(HandleToULong(client.Window())) +
                     L" cycle wait 2500 clear-window cycle wait 1500");
    EXPECT_EQ(0, client.WaitFor(RSN_MSG_RESUMED, 10000));
    EXPECT_TRUE(host.WaitForExit(10000));
    PumpMessages(100);
    EXPECT_EQ(1u, client.Received().size()) << "once, and nothing after clear-window";
}

}  // namespace
