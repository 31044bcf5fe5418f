#include "driver_fixture.h"

#include <tlhelp32.h>

#include "test_support.h"

using namespace test_support;

std::wstring DriverPath()
{
    return BinFolder() + L"\\RSN.dll";
}

bool DriverLoaded()
{
    return GetModuleHandleW(DriverPath().c_str()) != nullptr;
}

size_t ThreadCount()
{
    size_t count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    }
    CloseHandle(snapshot);
    return count;
}

void DriverTest::SetUp()
{
    ASSERT_FALSE(DriverLoaded());
    std::wstring problem;
    ASSERT_TRUE(driver_.Load(DriverPath(), "RSN", &problem))
        << std::string(problem.begin(), problem.end());
    Start();
}

void DriverTest::TearDown()
{
    Stop();
    driver_.Unload();
    EXPECT_FALSE(DriverLoaded());
}

void DriverTest::Start()
{
    device_ = driver_.Init(0);
    EXPECT_EQ(1u, device_);
    open_ = driver_.Open(device_, GENERIC_READ | GENERIC_WRITE, 0);
    EXPECT_EQ(1u, open_);
    running_ = true;
}

void DriverTest::Stop()
{
    if (running_) {
        EXPECT_TRUE(driver_.Close(open_));
        EXPECT_TRUE(driver_.Deinit(device_));
        running_ = false;
    }
}

BOOL DriverTest::Control(DWORD code, const void* input, DWORD inputLength, void* output,
                         DWORD outputLength, DWORD* bytesReturned)
{
    return driver_.IOControl(open_, code, static_cast<PBYTE>(const_cast<void*>(input)), inputLength,
                             static_cast<PBYTE>(output), outputLength, bytesReturned);
}

DWORD DriverTest::Resumed()
{
    DWORD resumed = 0xCCCCCCCC;
    DWORD bytes = 0;
    EXPECT_TRUE(Control(kGetResumed, nullptr, 0, &resumed, sizeof(resumed), &bytes));
    EXPECT_EQ(4u, bytes);
    return resumed;
}

void DriverTest::Register(HWND window)
{
    DWORD word = static_cast<DWORD>(HandleToLong(window));
    EXPECT_TRUE(Control(kSetWindow, &word, sizeof(word), nullptr, 0, nullptr));
}

void DriverTest::ClearWindow()
{
    EXPECT_TRUE(Control(kClearWindow, nullptr, 0, nullptr, 0, nullptr));
}

void DriverTest::PowerCycle()
{
    driver_.PowerDown(device_);
    driver_.PowerUp(device_);
}

void DriverTest::AfterALook()
{
    MessageRecorder marker;
    Register(marker.Window());
    PowerCycle();
    ASSERT_EQ(0, marker.WaitFor(kResumedMessage, kMessageTimeoutMs));
    ClearWindow();
}
