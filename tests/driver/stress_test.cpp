// Power cycles as fast as they come while another thread keeps registering
// and clearing windows: no crash, and nothing posted to a window once control
// code 4 has returned.
#include <atomic>
#include <thread>

#include "driver_fixture.h"
#include "test_support.h"

using namespace test_support;

namespace {

using DriverStress = DriverTest;

const wchar_t kClientClass[] = L"DriverStressClient";

// What reached one window, and what reached it after it was cleared.
struct ClientRecord {
    bool cleared = false;
    int received = 0;
    int afterClear = 0;
};

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* record = reinterpret_cast<ClientRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (record && (message == kResumedMessage || message == kPowerDownMessage)) {
        record->received++;
        record->afterClear += record->cleared;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct Totals {
    int received = 0;
    int afterClear = 0;
    int refused = 0;
    int rounds = 0;
};

// One client after another, each registered for 40 to 80 ms and then cleared
// (every eighth destroyed while still registered). A cleared window lives on
// through the next one's turn, to see whether anything still reaches it.
void ComeAndGo(StreamDriver& driver, DWORD open, const std::atomic<bool>& stop, Totals* totals)
{
    WNDCLASSW clientClass = {};
    clientClass.lpfnWndProc = ClientProc;
    clientClass.hInstance = GetModuleHandleW(nullptr);
    clientClass.lpszClassName = kClientClass;
    RegisterClassW(&clientClass);

    ClientRecord records[2];
    HWND windows[2] = {};
    auto retire = [&](int slot) {
        if (windows[slot]) {
            DestroyWindow(windows[slot]);
            windows[slot] = nullptr;
        }
        totals->received += records[slot].received;
        totals->afterClear += records[slot].afterClear;
        records[slot] = ClientRecord();
    };
    for (int round = 0; !stop; ++round) {
        int slot = round % 2;
        retire(slot);
        windows[slot] = CreateWindowExW(0, kClientClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, GetModuleHandleW(nullptr), &records[slot]);
        DWORD word = static_cast<DWORD>(HandleToLong(windows[slot]));
        totals->refused += !driver.IOControl(open, kSetWindow, reinterpret_cast<PBYTE>(&word),
                                             sizeof(word), nullptr, 0, nullptr);
        PumpMessages(40 + round % 5 * 10);
        retire(1 - slot);
        if (round % 8 == 7) {
            DestroyWindow(windows[slot]);
            windows[slot] = nullptr;
        }
        totals->refused += !driver.IOControl(open, kClearWindow, nullptr, 0, nullptr, 0, nullptr);
        // Whatever was posted before code 4 returned is in the queue by now.
        MSG msg;
        while (windows[slot] && PeekMessageW(&msg, windows[slot], 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        records[slot].cleared = true;
        totals->rounds++;
    }
    PumpMessages(100);
    retire(0);
    retire(1);
}

TEST_F(DriverStress, PowerCyclesWhileWindowsComeAndGo)
{
    std::atomic<bool> stop(false);
    Totals totals;
    std::thread clients(ComeAndGo, std::ref(driver_), open_, std::cref(stop), &totals);

    unsigned cycles = 0;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 4500) {
        bool pause = ++cycles % 64 == 0;
        if (pause) {
            DWORD resumed = 0, bytes = 0;
            driver_.IOControl(open_, kGetResumed, nullptr, 0, reinterpret_cast<PBYTE>(&resumed),
                              sizeof(resumed), &bytes);
            driver_.IOControl(open_, kClearResumed, nullptr, 0, nullptr, 0, nullptr);
        }
        driver_.PowerDown(device_);
        driver_.PowerUp(device_);
        if (pause) {
            Sleep(1);  // resumed, so that the thread's look has something to post
        }
    }
    stop = true;
    clients.join();

    EXPECT_EQ(0, totals.afterClear);
    EXPECT_EQ(0, totals.refused);
    EXPECT_GT(totals.received, 0) << "the thread's looks found no window in " << totals.rounds
                                  << " rounds";
    EXPECT_GT(cycles, 10000u);

    // And the driver goes on as before.
    MessageRecorder client;
    Register(client.Window());
    PowerCycle();
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, kMessageTimeoutMs));
}

}  // namespace
