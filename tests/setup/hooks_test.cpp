// The built hook library as the cabinet installer loads it, with the real
// stand-ins running and real files, shortcuts and registry keys in place; and
// its registry-key holder in-process.
#include <earlier_files.h>
#include <installer_hooks.h>
#include <reg_key.h>

#include <atomic>
#include <thread>

#include "message_box_watch.h"
#include "setup_support.h"
#include "window_standin.h"

using namespace setup_test;
using namespace test_support;

namespace {

template <typename Hook>
Hook Find(const char* name)
{
    static HMODULE dll = LoadLibraryW((BinFolder() + L"\\SETUP.DLL").c_str());
    return reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}
const auto kInstallInit = Find<decltype(&Install_Init)>("Install_Init");
const auto kInstallExit = Find<decltype(&Install_Exit)>("Install_Exit");
const auto kUninstallInit = Find<decltype(&Uninstall_Init)>("Uninstall_Init");
const auto kUninstallExit = Find<decltype(&Uninstall_Exit)>("Uninstall_Exit");

const WindowStandIn kOtherService(L"KeybdR810.exe", L"KeybdR810");
const WindowStandIn kStateWindow(L"StateWindow.exe", L"STATEWINDOW");

// What an earlier installation leaves, from the library's own tables (which the
// cabinet's tests hold against what it installs): both shortcuts of every row,
// then the program files.
const Paths kEarlierFiles = [] {
    Paths paths;
    for (int row = 0; row < kEarlierShortcutRows; ++row) {
        paths.insert(paths.end(),
                     {kEarlierShortcuts[row].startMenu, kEarlierShortcuts[row].programs});
    }
    paths.insert(paths.end(), kEarlierProgramFiles,
                 kEarlierProgramFiles + kEarlierProgramFileCount);
    return paths;
}();
// Beside them, with close names; no hook's to delete.
const Paths kUnrelatedFiles = {L"\\Windows\\RSN.dll",
                               L"\\Windows\\Start Menu\\Programme\\Tavrin Fold Keyboard.lnk"};

class SetupHooks : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        kOtherService.Remove();
        kStateWindow.Remove();
    }

    // Nothing of the product's but the installed service; no stand-in running.
    static void Reset()
    {
        ASSERT_TRUE(kInstallInit && kInstallExit && kUninstallInit && kUninstallExit);
        for (const Paths* paths : {&kEarlierFiles, &kUnrelatedFiles}) {
            for (const std::wstring& path : *paths) {
                RemoveTree(OnWindowsDrive(path.substr(0, path.find(L'\\', 9))));  // below \Windows
            }
        }
        for (const WindowStandIn* standIn : {&kKeyboardService, &kOtherService, &kStateWindow}) {
            standIn->Reset();
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppsKey);
    }
};

// Install_Init or Uninstall_Init, with or without the files of an earlier
// installation (its service and the state window running then), and with a
// record, a tree of keys, for each of these versions. Install_Init also closes
// the state window and deletes the program files and the lowest version's record.
struct Cleanup {
    const char* name;
    bool install;
    bool earlierFiles;
    Paths versions;
    std::wstring removed;  // the version whose record goes
};
const Cleanup kCleanups[] = {
    {"Install_Init after an earlier installation", true, true, {L"1.00", L"1.02"}, L"1.00"},
    {"Install_Init on a clean handheld", true, false, {}, L""},
    {"Uninstall_Init", false, true, {L"1.00"}, L""},
    {"a minor number below ten", true, false, {L"1.05", L"2.50"}, L"1.05"},
    {"the last of a major number", true, false, {L"2.00", L"1.99"}, L"1.99"},
    {"the ends of the range", true, false, {L"0.99", L"3.00", L"3.01"}, L"3.00"},
    {"none in range or form", true, false, {L"0.99", L"3.01", L"1.5", L"01.00", L"1.000"}, L""},
};

TEST_F(SetupHooks, InitHooksClosePauseThenDeleteOnlyWhatTheyName)
{
    for (const Cleanup& hook : kCleanups) {
        SCOPED_TRACE(hook.name);
        Reset();
        const Paths placed = hook.earlierFiles ? kEarlierFiles : Paths{};
        std::vector<Process> running;
        for (const Paths& paths : {placed, kUnrelatedFiles}) {
            for (const std::wstring& path : paths) {
                PlaceFile(OnWindowsDrive(path));
            }
        }
        if (hook.earlierFiles) {
            kKeyboardService.Reset();  // the installed service is the stand-in
            running.push_back(kKeyboardService.Start());
            running.push_back(kStateWindow.Start());
        } else {
            kKeyboardService.Remove();
        }
        for (const std::wstring& version : hook.versions) {
            PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(version) + L"\\Files\\Deep");
            PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(version) + L"\\Registry");
        }

        std::atomic<bool> done{false};
        std::atomic<ULONGLONG> firstDeletion{0};
        std::thread watch([&] {
            while (!done && std::all_of(placed.begin(), placed.end(), [](const std::wstring& path) {
                return FileExists(OnWindowsDrive(path));
            })) {
                Sleep(1);
            }
            firstDeletion = GetTickCount64();
        });
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(0, hook.install ? int(kInstallInit(nullptr, TRUE, TRUE, L""))
                                  : int(kUninstallInit(nullptr, L"")));
        EXPECT_GE(GetTickCount64() - start, hook.install ? 1000u : 2000u);
        done = true;
        watch.join();

        std::vector<ULONGLONG> closes = kKeyboardService.Ticks("close");
        for (ULONGLONG tick : kStateWindow.Ticks("close")) {
            closes.push_back(tick);
        }
        ASSERT_EQ(hook.earlierFiles ? (hook.install ? 2u : 1u) : 0u, closes.size());
        if (hook.earlierFiles) {
            EXPECT_LE(closes.front(), closes.back());  // the service first
            EXPECT_GE(firstDeletion, closes.back() + (hook.install ? 990 : 1990));
        }
        for (size_t i = 0; i < placed.size(); ++i) {
            bool shortcut = i < 2 * kEarlierShortcutRows;
            EXPECT_NE(hook.install || shortcut, FileExists(OnWindowsDrive(placed[i])))
                << testing::PrintToString(placed[i]);
        }
        for (const std::wstring& path : kUnrelatedFiles) {
            EXPECT_TRUE(FileExists(OnWindowsDrive(path))) << testing::PrintToString(path);
        }
        for (const std::wstring& version : hook.versions) {
            EXPECT_EQ(version != hook.removed, KeyExists(HKEY_LOCAL_MACHINE, VersionKey(version)))
                << testing::PrintToString(version);
        }
        EXPECT_EQ(!hook.versions.empty(), KeyExists(HKEY_LOCAL_MACHINE, kAppsKey));
    }
}

TEST_F(SetupHooks, InstallExitTellsToResetWhateverFailed)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"installer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    for (WORD failed : {0, 7}) {
        SCOPED_TRACE(failed);
        SeenMessageBox box;
        std::thread watch([&] { box = DismissMessageBox(GetCurrentProcessId(), 10000); });
        EXPECT_EQ(0, kInstallExit(parent, L"", failed, failed, failed, failed, failed));
        watch.join();
        EXPECT_EQ(
            L"Tavrin Fold Keyboard instalado com sucesso !"
            L"Fa\u00e7a a reinicia\u00e7\u00e3o por software do Tavrin.",
            box.text);
        EXPECT_EQ(L" ", box.caption);
        EXPECT_EQ(Paths{L"OK"}, box.buttons);
        EXPECT_FALSE(box.icon);
        EXPECT_EQ(parent, box.owner);
    }
    DestroyWindow(parent);
}

TEST_F(SetupHooks, UninstallExitRestartsTheOtherModelsServiceOnlyIfItRan)
{
    for (bool ran : {true, false}) {
        SCOPED_TRACE(ran ? "the other model's service running" : "not running");
        Reset();
        Process other = ran ? kOtherService.Start() : Process();
        Process stateWindow = kStateWindow.Start();
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(0, kUninstallExit(nullptr));
        ULONGLONG elapsed = GetTickCount64() - start;
        EXPECT_TRUE(elapsed >= (ran ? 2000 : 0) && elapsed < (ran ? 3500 : 1000)) << elapsed;
        // The restarted service's window, or the time for one that should not start.
        EXPECT_EQ(ran, WaitForWindow(L"KeybdR810", nullptr, ran ? 10000 : 1000) != nullptr);
        std::vector<ULONGLONG> starts = kOtherService.Ticks("start");
        std::vector<ULONGLONG> closes = kOtherService.Ticks("close");
        std::vector<ULONGLONG> stateCloses = kStateWindow.Ticks("close");
        ASSERT_EQ(ran ? 2u : 0u, starts.size());
        ASSERT_EQ(ran ? 1u : 0u, closes.size());
        ASSERT_EQ(1u, stateCloses.size());
        if (ran) {
            EXPECT_GE(starts[1], closes[0] + 1990);
            EXPECT_GE(stateCloses[0], closes[0] + 1990);  // after the restart
        }
    }
}

// The registry-key holder, in-process, on keys of its own: the keys it holds
// and what it returns, which the hooks don't show.
bool IsOpen(HKEY key)
{
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TEST(RegKey, HoldsOneOpenKeyAndReturnsTheRegistrysResults)
{
    const std::wstring root = L"Software\\Tavrin Tests";
    PlaceKey(HKEY_CURRENT_USER, root + L"\\tree\\a\\b");
    PlaceKey(HKEY_CURRENT_USER, root + L"\\tree\\c");
    HKEY first, second;
    {
        RegKey holder;
        EXPECT_NE(ERROR_SUCCESS, holder.DeleteTree((root + L"\\tree").c_str()));  // none held
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_ALL_ACCESS));
        first = holder.key;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND,
                  holder.Open(HKEY_CURRENT_USER, (root + L"\\missing").c_str(), KEY_READ));
        EXPECT_EQ(first, holder.key);
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, holder.DeleteTree(L"missing"));
        EXPECT_EQ(ERROR_SUCCESS, holder.DeleteTree(L"tree"));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + L"\\tree"));
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_READ));
        EXPECT_FALSE(IsOpen(first));  // closed when another was opened
        holder.Close();
        EXPECT_EQ(nullptr, holder.key);
        holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_READ);
        second = holder.key;
    }
    EXPECT_FALSE(IsOpen(second));  // closed by the destructor
    RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());
}

}  // namespace
