#include "host.h"

#include <rsn.h>
#include <tlhelp32.h>

#include <cwchar>

#include "benchmark.h"
#include "client_window.h"
#include "transcript.h"

namespace {

std::vector<DWORD> ThreadsOfThisProcess()
{
    std::vector<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            threads.push_back(entry.th32ThreadID);
        }
    }
    CloseHandle(snapshot);
    return threads;
}

// The one thread that is new since `before`, or 0.
DWORD NewThread(const std::vector<DWORD>& before)
{
    DWORD found = 0;
    for (DWORD thread : ThreadsOfThisProcess()) {
        bool known = false;
        for (DWORD old : before) {
            known |= old == thread;
        }
        if (!known) {
            if (found) {
                return 0;
            }
            found = thread;
        }
    }
    return found;
}

// A number argument, decimal or 0x-hex; false when the word is none.
bool Number(const std::wstring& word, unsigned long long* value)
{
    wchar_t* end = nullptr;
    *value = std::wcstoull(word.c_str(), &end, 0);
    return !word.empty() && end && *end == L'\0';
}

bool NumberAt(const std::vector<std::wstring>& words, size_t& next, unsigned long long* value)
{
    if (next < words.size() && Number(words[next], value)) {
        ++next;
        return true;
    }
    return false;
}

}  // namespace

bool DeviceManagerHost::Start(const std::wstring& path, const std::string& prefix)
{
    std::wstring problem;
    if (!driver_.Load(path, prefix, &problem)) {
        Say(L"%ls", problem.c_str());
        return false;
    }
    Say(L"loaded %ls, prefix %hs", path.c_str(), prefix.c_str());
    window_ = CreateClientWindow();

    std::vector<DWORD> before = ThreadsOfThisProcess();
    device_ = driver_.Init(0);
    driverThreadId_ = NewThread(before);
    Say(L"Init -> %lu (driver thread %lu)", device_, driverThreadId_);
    open_ = driver_.Open(device_, GENERIC_READ | GENERIC_WRITE, 0);
    Say(L"Open -> %lu", open_);
    started_ = true;
    RegisterWindow(window_);
    return true;
}

void DeviceManagerHost::Stop()
{
    if (started_) {
        Say(L"Close -> %d", driver_.Close(open_));
        Say(L"Deinit -> %d", driver_.Deinit(device_));
        driver_.Unload();
        Say(L"unloaded");
        started_ = false;
    }
    if (window_) {
        DestroyClientWindow(window_);
        window_ = nullptr;
    }
}

bool DeviceManagerHost::Run(const std::vector<std::wstring>& words)
{
    size_t next = 0;
    while (next < words.size()) {
        if (!RunOne(words, next)) {
            return false;
        }
    }
    return true;
}

bool DeviceManagerHost::RunOne(const std::vector<std::wstring>& words, size_t& next)
{
    const std::wstring& command = words[next++];
    unsigned long long value = 0;
    if (command == L"down") {
        Say(L"> down");
        driver_.PowerDown(device_);
    } else if (command == L"up") {
        Say(L"> up");
        driver_.PowerUp(device_);
    } else if (command == L"cycle") {
        Say(L"> cycle");
        driver_.PowerDown(device_);
        driver_.PowerUp(device_);
    } else if (command == L"wait" && NumberAt(words, next, &value)) {
        Say(L"> wait %llu", value);
        Pump(static_cast<double>(value));
    } else if (command == L"window") {
        // The host's own window, or any other (another process's) by its handle.
        HWND window = NumberAt(words, next, &value) ? reinterpret_cast<HWND>(value) : window_;
        Say(L"> window");
        RegisterWindow(window);
    } else if (command == L"clear-window") {
        Say(L"> clear-window");
        Say(L"IOControl %lu -> %d", RSN_IOCTL_CLEAR_WINDOW,
            Control(RSN_IOCTL_CLEAR_WINDOW, 0, false, nullptr));
    } else if (command == L"get") {
        Say(L"> get");
        GetResumed();
    } else if (command == L"clear") {
        Say(L"> clear");
        Say(L"IOControl %lu -> %d", RSN_IOCTL_CLEAR_RESUMED,
            Control(RSN_IOCTL_CLEAR_RESUMED, 0, false, nullptr));
    } else if (command == L"bench") {
        unsigned long long cycles = 20, idleSeconds = 60;
        NumberAt(words, next, &cycles);
        NumberAt(words, next, &idleSeconds);
        Say(L"> bench %llu %llu", cycles, idleSeconds);
        BenchmarkDriver benchmark = {driver_.PowerDown, driver_.PowerUp, device_, driverThreadId_};
        RunBenchmark(benchmark, static_cast<int>(cycles), static_cast<int>(idleSeconds));
    } else if (command == L"quit") {
        Say(L"> quit");
        return false;
    } else {
        Say(L"unknown command %ls", command.c_str());
    }
    return true;
}

BOOL DeviceManagerHost::Control(DWORD code, DWORD inputWord, bool withInput, DWORD* outputWord)
{
    DWORD bytesReturned = 0;
    return driver_.IOControl(open_, code, withInput ? reinterpret_cast<PBYTE>(&inputWord) : nullptr,
                             withInput ? sizeof(inputWord) : 0, reinterpret_cast<PBYTE>(outputWord),
                             outputWord ? sizeof(DWORD) : 0, &bytesReturned);
}

void DeviceManagerHost::RegisterWindow(HWND window)
{
    // The handle travels as a 32-bit word.
    DWORD word = static_cast<DWORD>(HandleToLong(window));
    Say(L"IOControl %lu window 0x%08lX -> %d", RSN_IOCTL_SET_WINDOW, word,
        Control(RSN_IOCTL_SET_WINDOW, word, true, nullptr));
}

void DeviceManagerHost::GetResumed()
{
    DWORD resumed = 0xFFFFFFFF;
    BOOL result = Control(RSN_IOCTL_GET_RESUMED, 0, false, &resumed);
    Say(L"IOControl %lu -> %d", RSN_IOCTL_GET_RESUMED, result);
    Say(L"resumed %lu", resumed);
}
