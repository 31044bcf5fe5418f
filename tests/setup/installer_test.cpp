// The cabinet installer stand-in around the real hook library, in the shared
// test prefix: installing over an earlier version, a file missing from the
// cabinet, a cabinet without its hook library.
#include <gtest/gtest.h>

#include "message_box_watch.h"
#include "service_standin.h"
#include "setup_support.h"
#include "test_support.h"

using namespace setup_test;
using namespace test_support;

namespace {

const wchar_t kCabinetFolder[] = L"C:\\cabinet-test";
const wchar_t kShortcut[] = L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk";

class CabinetInstaller : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override
    {
        Clean();
        RemoveTree(kCabinetFolder);
        ServiceStandIn::Reset();  // the service's copy, as other tests expect it
    }

    static void Clean()
    {
        ServiceStandIn::End();
        for (const CabinetFile& file : kCabinetFiles) {
            RemoveFile(OnWindowsDrive(file.installed));
        }
        RemoveFile(OnWindowsDrive(L"\\Windows\\R410.inf"));
        RemoveTree(OnWindowsDrive(L"\\Windows\\Start Menu"));
        for (const wchar_t* version : {L"1.00", L"1.03"}) {
            RemoveKey(HKEY_LOCAL_MACHINE, VersionKey(version));
        }
    }

    // Runs the installer with the arguments; its exit code, and in *box the
    // message box it showed (dismissed), if any.
    static DWORD RunInstaller(const std::wstring& arguments, SeenMessageBox* box = nullptr)
    {
        Process installer(BinFolder() + L"\\cab-installer.exe", arguments);
        if (box) {
            *box = DismissMessageBox(installer.Id(), 15000);
        }
        DWORD exitCode = 99;
        installer.WaitForExit(15000, &exitCode);
        return exitCode;
    }

    static std::wstring InstalledRecord()
    {
        wchar_t folder[64] = {};
        DWORD size = sizeof(folder);
        DWORD installed = 0;
        DWORD installedSize = sizeof(installed);
        const std::wstring key = VersionKey(L"1.03");
        RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"InstlDir", RRF_RT_REG_SZ, nullptr, folder,
                     &size);
        RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Instl", RRF_RT_REG_DWORD, nullptr,
                     &installed, &installedSize);
        return std::to_wstring(installed) + L" " + folder;
    }
};

TEST_F(CabinetInstaller, InstallsOverAnEarlierVersionAndRemovesAgain)
{
    PrepareCabinetFolder(kCabinetFolder, L"RSN.dll");
    PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(L"1.00") + L"\\Sub");
    PlaceFile(OnWindowsDrive(L"\\Windows\\R410.inf"), "earlier settings");

    SeenMessageBox box;
    // A file missing from the cabinet counts as failed; the rest is installed.
    EXPECT_EQ(1u, RunInstaller(L"install " + std::wstring(kCabinetFolder), &box));
    EXPECT_TRUE(box.found);
    EXPECT_EQ(L" ", box.caption);

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.00")));
    EXPECT_EQ(L"1 \\Windows", InstalledRecord());
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\R410.inf")));
    for (const CabinetFile& file : kCabinetFiles) {
        EXPECT_EQ(file.source != L"RSN.dll", FileExists(OnWindowsDrive(file.installed)))
            << testing::PrintToString(file.installed);
    }
    EXPECT_EQ(ReadFileBytes(BinFolder() + L"\\SETUP.DLL"),
              ReadFileBytes(OnWindowsDrive(L"\\Windows\\SetupR410.dll")));
    EXPECT_EQ("35#\"\\Windows\\Tavrin Fold Keyboard.exe\"",
              ReadFileBytes(OnWindowsDrive(kShortcut)));

    EXPECT_EQ(0u, RunInstaller(L"remove"));
    for (const CabinetFile& file : kCabinetFiles) {
        EXPECT_FALSE(FileExists(OnWindowsDrive(file.installed)))
            << testing::PrintToString(file.installed);
    }
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Start Menu")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.03")));
}

TEST_F(CabinetInstaller, CabinetWithoutItsHookLibraryInstallsNothing)
{
    PrepareCabinetFolder(kCabinetFolder, L"SETUP.DLL");
    PlaceFile(OnWindowsDrive(L"\\Windows\\R410.inf"), "settings");

    EXPECT_EQ(2u, RunInstaller(L"install " + std::wstring(kCabinetFolder)));
    EXPECT_TRUE(FileExists(OnWindowsDrive(L"\\Windows\\R410.inf")));
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Tavrin Fold Keyboard.exe")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.03")));
}

}  // namespace
