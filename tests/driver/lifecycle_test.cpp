// The library itself, and starting, stopping and unloading the driver.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "driver_fixture.h"
#include "test_support.h"

using namespace test_support;

namespace {

using DriverLifecycle = DriverTest;

// The image as loaded: its export names and the libraries it imports.
struct ImageDirectories {
    explicit ImageDirectories(HMODULE module)
    {
        auto* base = reinterpret_cast<const BYTE*>(module);
        auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY* directories = nt->OptionalHeader.DataDirectory;

        auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
            base + directories[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
        auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
        for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
            exportNames.insert(reinterpret_cast<const char*>(base + names[i]));
        }
        exportCount = exports->NumberOfFunctions;

        auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
            base + directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; import->Name; ++import) {
            std::string name(reinterpret_cast<const char*>(base + import->Name));
            std::transform(name.begin(), name.end(), name.begin(), ::tolower);
            importNames.insert(name);
        }
    }

    std::set<std::string> exportNames;
    DWORD exportCount = 0;
    std::set<std::string> importNames;
};

DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

TEST_F(DriverLifecycle, ExportsTheTenEntryPointsOnlyAndNeedsOnlySystemLibraries)
{
    ImageDirectories image(GetModuleHandleW(DriverPath().c_str()));
    const std::set<std::string> entryPoints = {
        "RSN_Init",    "RSN_Deinit",    "RSN_Open", "RSN_Close", "RSN_IOControl",
        "RSN_PowerUp", "RSN_PowerDown", "RSN_Read", "RSN_Write", "RSN_Seek"};
    EXPECT_EQ(entryPoints, image.exportNames);
    EXPECT_EQ(10u, image.exportCount);
    for (const std::string& library : image.importNames) {
        EXPECT_TRUE(library == "kernel32.dll" || library == "user32.dll" || library == "msvcrt.dll")
            << library;
    }
}

TEST_F(DriverLifecycle, ASecondInitKeepsTheThreadAndInitAfterDeinitStartsAgain)
{
    MessageRecorder client;
    size_t running = ThreadCount();
    EXPECT_EQ(1u, driver_.Init(0));
    PumpMessages(100);
    EXPECT_EQ(running, ThreadCount());
    Register(client.Window());
    PowerCycle();
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, kMessageTimeoutMs));

    EXPECT_TRUE(driver_.Deinit(device_));
    EXPECT_EQ(running - 1, ThreadCount());  // ended before Deinit returned

    EXPECT_EQ(1u, driver_.Init(0));
    EXPECT_EQ(running, ThreadCount());
    Register(client.Window());
    PowerCycle();
    EXPECT_TRUE(WaitUntil([&] { return client.Received().size() == 2; }, kMessageTimeoutMs));
}

TEST_F(DriverLifecycle, InitAndDeinitManyTimesLeaveNoHandleOrThread)
{
    MessageRecorder client;
    Stop();
    DWORD handles = HandleCount();
    size_t threads = ThreadCount();
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(1u, driver_.Init(0));
        if (i % 100 == 0) {
            Register(client.Window());
            PowerCycle();
            ClearWindow();
        }
        EXPECT_TRUE(driver_.Deinit(device_));
    }
    EXPECT_EQ(handles, HandleCount());
    EXPECT_EQ(threads, ThreadCount());
    Start();
}

TEST_F(DriverLifecycle, UnloadingRightAfterDeinitIsSafeAndEachLoadStartsFromZero)
{
    MessageRecorder client;
    size_t threads = ThreadCount();
    DWORD handles = 0;
    for (int load = 0; load < 20; ++load) {
        EXPECT_EQ(0u, Resumed()) << load;
        // The thread has a cycle to look at and a window to post to.
        Register(client.Window());
        PowerCycle();
        Stop();
        EXPECT_EQ(threads - 1, ThreadCount()) << load;
        driver_.Unload();
        ASSERT_FALSE(DriverLoaded());
        if (load == 0) {
            handles = HandleCount();
        }
        std::wstring problem;
        ASSERT_TRUE(driver_.Load(DriverPath(), "RSN", &problem));
        Start();
    }
    // A thread left behind in unloaded code would take the process down by now.
    PumpMessages(1500);
    Stop();
    driver_.Unload();
    EXPECT_EQ(handles, HandleCount());
    EXPECT_EQ(threads - 1, ThreadCount());
}

}  // namespace
