#include "benchmark.h"

#include <algorithm>
#include <vector>

#include "client_window.h"
#include "transcript.h"

namespace {

const double kMessageTimeoutMs = 3000;

double Milliseconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

// A pause of 0 to 999 ms from a fixed sequence, so that runs compare.
double NextPause(unsigned* seed)
{
    *seed = *seed * 1103515245u + 12345u;
    return (*seed >> 16) % 1000;
}

void MeasureLatency(const BenchmarkDriver& driver, int cycles)
{
    std::vector<double> latencies;
    unsigned seed = 1;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        unsigned before = ClientArrivals().count;
        driver.powerDown(driver.device);
        driver.powerUp(driver.device);
        double resumed = Now();
        Pump(kMessageTimeoutMs, [&] { return ClientArrivals().count != before; });
        Arrivals after = ClientArrivals();
        if (after.count == before) {
            Say(L"cycle %d: no message within %.0f ms", cycle, kMessageTimeoutMs);
            continue;
        }
        latencies.push_back(after.lastAt - resumed);
        Say(L"cycle %d: message %u after %.1f ms", cycle, after.lastMessage, latencies.back());
        Pump(NextPause(&seed));
    }
    if (latencies.empty()) {
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    size_t n = latencies.size();
    double median = n % 2 ? latencies[n / 2] : (latencies[n / 2 - 1] + latencies[n / 2]) / 2;
    Say(L"resume to message over %zu cycles: minimum %.1f ms, median %.1f ms, maximum %.1f ms", n,
        latencies.front(), median, latencies.back());
}

void MeasureIdleCpu(DWORD threadId, int idleSeconds)
{
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId);
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel0, &user0)) {
        Say(L"cannot read the times of driver thread %lu", threadId);
        if (thread) {
            CloseHandle(thread);
        }
        return;
    }
    Say(L"idle for %d s", idleSeconds);
    double start = Now();
    Pump(idleSeconds * 1000.0);
    GetThreadTimes(thread, &created, &exited, &kernel1, &user1);
    double kernel = Milliseconds(kernel1) - Milliseconds(kernel0);
    double user = Milliseconds(user1) - Milliseconds(user0);
    Say(L"driver thread CPU over %.1f s idle: %.1f ms (kernel %.1f ms, user %.1f ms)",
        (Now() - start) / 1000, kernel + user, kernel, user);
    CloseHandle(thread);
}

}  // namespace

void RunBenchmark(const BenchmarkDriver& driver, int cycles, int idleSeconds)
{
    MeasureLatency(driver, cycles);
    if (driver.threadId) {
        MeasureIdleCpu(driver.threadId, idleSeconds);
    } else {
        Say(L"the driver's thread was not found");
    }
}
