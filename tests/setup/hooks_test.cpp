// The hook library as the cabinet installer loads it, with the real
// stand-ins running and real files, shortcuts and registry keys in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "message_box_watch.h"
#include "service_standin.h"
#include "setup_support.h"
#include "test_support.h"
#include "window_standin.h"

using namespace setup_test;
using namespace test_support;

namespace {

const WindowStandIn kService(L"KeybdR410.exe", L"KeybdR410");
const WindowStandIn kOtherService(L"KeybdR810.exe", L"KeybdR810");
const WindowStandIn kStateWindow(L"StateWindow.exe", L"STATEWINDOW");

// Files beside the product's that no hook names.
const std::vector<std::wstring> kUnrelatedFiles = {
    L"\\Windows\\R410.inf.bak",
    L"\\Windows\\RSN.dll",
    L"\\Windows\\Start Menu\\Programs\\Other Program.lnk",
    L"\\Windows\\Start Menu\\Programme\\Tavrin Fold Keyboard.lnk",
    L"\\Windows\\Menú Inicio\\Tavrin Fold Keyboard.txt",
    L"\\Windows\\Startmenü\\Programs\\Tavrin Fold Keyboard.lnk",
};

const wchar_t kInstalledText[] =
    L"Tavrin Fold Keyboard instalado com sucesso !Faça a reiniciação por software do Tavrin.";

class SetupHooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        ServiceStandIn::Reset();
        for (const WindowStandIn* standIn : {&kService, &kOtherService, &kStateWindow}) {
            standIn->Reset();
        }
        RemoveEverything();
        ASSERT_TRUE(hooks_.installInit && hooks_.installExit && hooks_.uninstallInit &&
                    hooks_.uninstallExit);
    }

    void TearDown() override
    {
        kOtherService.Remove();
        kStateWindow.Remove();
        RemoveEverything();
        ServiceStandIn::Reset();  // the service's copy, as other tests expect it
    }

    static void RemoveEverything()
    {
        for (const std::wstring& folder : kStartMenuFolders) {
            RemoveTree(OnWindowsDrive(folder));
        }
        for (const std::wstring& path : kProgramFiles) {
            if (path != L"\\Windows\\KeybdR410.exe") {
                RemoveFile(OnWindowsDrive(path));
            }
        }
        for (const std::wstring& path : kUnrelatedFiles) {
            RemoveFile(OnWindowsDrive(path));
        }
        for (const wchar_t* version : {L"1.00", L"1.02"}) {
            RemoveKey(HKEY_LOCAL_MACHINE, VersionKey(version));
        }
    }

    // An earlier installation: every shortcut and program file (the service
    // stand-in is the installed service) and two versions' records.
    static void PlaceEarlierInstallation()
    {
        for (const std::wstring& path : kShortcuts) {
            PlaceFile(OnWindowsDrive(path));
        }
        for (const std::wstring& path : kProgramFiles) {
            if (path != L"\\Windows\\KeybdR410.exe") {
                PlaceFile(OnWindowsDrive(path));
            }
        }
        for (const std::wstring& path : kUnrelatedFiles) {
            PlaceFile(OnWindowsDrive(path));
        }
        PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(L"1.00") + L"\\Sub\\Deeper");
        PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(L"1.02"));
    }

    static void ExpectAll(const std::vector<std::wstring>& paths, bool present)
    {
        for (const std::wstring& path : paths) {
            EXPECT_EQ(present, FileExists(OnWindowsDrive(path))) << testing::PrintToString(path);
        }
    }

    SetupLibrary hooks_;
};

TEST_F(SetupHooks, ExportsExactlyTheFourHooksByTheirNames)
{
    std::vector<std::string> names = hooks_.ExportNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Install_Exit", "Install_Init", "Uninstall_Exit",
                                        "Uninstall_Init"}),
              names);
}

// Watches paths from a second thread and notes when each one disappears.
class DeletionWatch {
public:
    explicit DeletionWatch(const std::vector<std::wstring>& paths)
        : watcher_([this, paths] {
              while (!stop_) {
                  for (const std::wstring& path : paths) {
                      if (!gone_.count(path) && !FileExists(path)) {
                          gone_[path] = GetTickCount64();
                      }
                  }
                  Sleep(1);
              }
          })
    {
    }
    // Stops watching and returns the earliest time a path was found gone.
    ULONGLONG FirstDeletion()
    {
        stop_ = true;
        watcher_.join();
        ULONGLONG first = ~0ull;
        for (const auto& entry : gone_) {
            first = std::min(first, entry.second);
        }
        return first;
    }

private:
    std::atomic<bool> stop_{false};
    std::map<std::wstring, ULONGLONG> gone_;
    std::thread watcher_;
};

TEST_F(SetupHooks, InstallInitClosesEverythingThenDeletesTheEarlierInstallation)
{
    PlaceEarlierInstallation();
    Process service = kService.Start();
    Process stateWindow = kStateWindow.Start();
    ASSERT_TRUE(kService.Window() && kStateWindow.Window());

    std::vector<std::wstring> watched;
    for (const std::wstring& path : kShortcuts) {
        watched.push_back(OnWindowsDrive(path));
    }
    for (const std::wstring& path : kProgramFiles) {
        watched.push_back(OnWindowsDrive(path));
    }
    DeletionWatch watch(watched);
    codeINSTALL_INIT result = codeINSTALL_INIT_CANCEL;
    ULONGLONG elapsed =
        Timed([&] { result = hooks_.installInit(nullptr, TRUE, TRUE, L"\\Windows"); });
    ULONGLONG firstDeletion = watch.FirstDeletion();

    EXPECT_EQ(codeINSTALL_INIT_CONTINUE, result);
    EXPECT_GE(elapsed, 1000u);
    EXPECT_TRUE(service.WaitForExit(5000));
    EXPECT_TRUE(stateWindow.WaitForExit(5000));
    std::vector<ULONGLONG> closes = kService.Ticks("close");
    std::vector<ULONGLONG> stateCloses = kStateWindow.Ticks("close");
    ASSERT_EQ(1u, closes.size());
    ASSERT_EQ(1u, stateCloses.size());
    // Closed first, then the pause, then the first deletion.
    ULONGLONG lastClose = std::max(closes[0], stateCloses[0]);
    EXPECT_LE(closes[0], stateCloses[0]);
    EXPECT_GE(firstDeletion, lastClose + 990);

    ExpectAll(kShortcuts, false);
    ExpectAll(kProgramFiles, false);
    ExpectAll(kUnrelatedFiles, true);
    for (const std::wstring& folder : kStartMenuFolders) {
        EXPECT_TRUE(FileExists(OnWindowsDrive(folder))) << testing::PrintToString(folder);
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.00")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.02")));
}

TEST_F(SetupHooks, InstallExitShowsTheSameMessageWhateverFailed)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"installer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    for (WORD failed : {0, 1, 7}) {
        codeINSTALL_EXIT result = codeINSTALL_EXIT_UNINSTALL;
        SeenMessageBox box = WithMessageBox([&] {
            result =
                hooks_.installExit(parent, L"\\Windows", failed, failed, failed, failed, failed);
        });
        EXPECT_EQ(codeINSTALL_EXIT_DONE, result);
        ASSERT_TRUE(box.found);
        EXPECT_EQ(kInstalledText, box.text);
        EXPECT_EQ(L" ", box.caption);
        EXPECT_EQ(std::vector<std::wstring>{L"OK"}, box.buttons);
        EXPECT_FALSE(box.icon);
        EXPECT_EQ(parent, box.owner);
    }
    DestroyWindow(parent);
}

TEST_F(SetupHooks, UninstallInitClosesTheServiceWaitsAndDeletesOnlyTheShortcuts)
{
    PlaceEarlierInstallation();
    Process service = kService.Start();
    Process stateWindow = kStateWindow.Start();
    std::vector<std::wstring> appsBefore = RegistrySnapshot(HKEY_LOCAL_MACHINE, kAppsKey);

    codeUNINSTALL_INIT result = codeUNINSTALL_INIT_CANCEL;
    ULONGLONG elapsed = Timed([&] { result = hooks_.uninstallInit(nullptr, L"\\Windows"); });

    EXPECT_EQ(codeUNINSTALL_INIT_CONTINUE, result);
    EXPECT_GE(elapsed, 2000u);
    EXPECT_TRUE(service.WaitForExit(5000));
    EXPECT_EQ(1u, kService.Ticks("close").size());
    EXPECT_TRUE(kStateWindow.Window());
    ExpectAll(kShortcuts, false);
    ExpectAll(kProgramFiles, true);
    ExpectAll(kUnrelatedFiles, true);
    EXPECT_EQ(appsBefore, RegistrySnapshot(HKEY_LOCAL_MACHINE, kAppsKey));
}

TEST_F(SetupHooks, UninstallExitRestartsARunningOtherModelServiceAfterAPause)
{
    Process otherService = kOtherService.Start();
    Process stateWindow = kStateWindow.Start();
    HWND before = kOtherService.Window();
    ASSERT_TRUE(before && kStateWindow.Window());

    codeUNINSTALL_EXIT result = codeUNINSTALL_EXIT_DONE;
    ULONGLONG elapsed = Timed([&] { result = hooks_.uninstallExit(nullptr); });

    EXPECT_EQ(codeUNINSTALL_EXIT_DONE, result);
    EXPECT_GE(elapsed, 2000u);
    EXPECT_LT(elapsed, 3500u);
    EXPECT_TRUE(otherService.WaitForExit(5000));
    EXPECT_TRUE(stateWindow.WaitForExit(5000));
    EXPECT_EQ(1u, kStateWindow.Ticks("close").size());

    HWND after = WaitForWindow(L"KeybdR810", nullptr, 10000);
    ASSERT_TRUE(after);
    EXPECT_NE(WindowProcessId(before), WindowProcessId(after));
    std::vector<ULONGLONG> starts = kOtherService.Ticks("start");
    std::vector<ULONGLONG> closes = kOtherService.Ticks("close");
    ASSERT_EQ(2u, starts.size());
    ASSERT_EQ(1u, closes.size());
    EXPECT_GE(starts[1], closes[0] + 1990);
}

TEST_F(SetupHooks, UninstallExitWithoutOtherModelServiceOnlyClosesTheStateWindow)
{
    Process stateWindow = kStateWindow.Start();
    ASSERT_TRUE(kStateWindow.Window());

    codeUNINSTALL_EXIT result = codeUNINSTALL_EXIT_DONE;
    ULONGLONG elapsed = Timed([&] { result = hooks_.uninstallExit(nullptr); });

    EXPECT_EQ(codeUNINSTALL_EXIT_DONE, result);
    EXPECT_LT(elapsed, 1000u);
    EXPECT_TRUE(stateWindow.WaitForExit(5000));
    PumpMessages(1000);  // time for a program that should not start
    EXPECT_FALSE(kOtherService.Window());
    EXPECT_TRUE(kOtherService.Record().empty());
}

}  // namespace
