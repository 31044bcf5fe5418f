// The cabinet installer stand-in around the real hook library, in the shared
// test prefix, installing what the cabinet's description names: over an
// earlier version, with a file missing from the cabinet, without its hook
// library, and from a description it can't use.
#include <gtest/gtest.h>

#include "message_box_watch.h"
#include "service_standin.h"
#include "setup_support.h"
#include "test_support.h"

using namespace setup_test;
using namespace test_support;

namespace {

const wchar_t kCabinetFolder[] = L"C:\\cabinet-test";
const wchar_t kDriverKey[] = L"Drivers\\BuiltIn\\RSN";

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
        for (const CabinetFile& file : ProductCabinet().files) {
            RemoveFile(OnWindowsDrive(file.installed));
        }
        RemoveFile(OnWindowsDrive(L"\\Windows\\R410.inf"));
        RemoveTree(OnWindowsDrive(L"\\Windows\\Start Menu"));
        for (const wchar_t* version : {L"1.00", L"1.03"}) {
            RemoveKey(HKEY_LOCAL_MACHINE, VersionKey(version));
        }
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDriverKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn");  // fail while not empty
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Drivers");
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

    static std::wstring Text(const std::wstring& key, const wchar_t* name)
    {
        wchar_t text[64] = {};
        DWORD size = sizeof(text);
        RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size);
        return text;
    }

    static DWORD Number(const std::wstring& key, const wchar_t* name)
    {
        DWORD number = 0xFFFFFFFF;
        DWORD size = sizeof(number);
        RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &number,
                     &size);
        return number;
    }
};

TEST_F(CabinetInstaller, InstallsOverAnEarlierVersionAndRemovesAgain)
{
    std::wstring description = PrepareCabinetFolder(kCabinetFolder, L"RSN.dll");
    PlaceKey(HKEY_LOCAL_MACHINE, VersionKey(L"1.00") + L"\\Sub");
    PlaceFile(OnWindowsDrive(L"\\Windows\\R410.inf"), "earlier settings");

    SeenMessageBox box;
    // A file missing from the cabinet counts as failed; the rest is installed.
    EXPECT_EQ(1u, RunInstaller(L"install " + description, &box));
    EXPECT_TRUE(box.found);
    EXPECT_EQ(L" ", box.caption);

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.00")));
    EXPECT_EQ(1u, Number(VersionKey(L"1.03"), L"Instl"));
    EXPECT_EQ(L"\\Windows", Text(VersionKey(L"1.03"), L"InstlDir"));
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\R410.inf")));
    const Cabinet cabinet = ProductCabinet();
    ASSERT_EQ(5u, cabinet.files.size());
    for (const CabinetFile& file : cabinet.files) {
        EXPECT_EQ(file.source != L"RSN.dll", FileExists(OnWindowsDrive(file.installed)))
            << testing::PrintToString(file.installed);
    }
    EXPECT_EQ(ReadFileBytes(BinFolder() + L"\\SETUP.DLL"),
              ReadFileBytes(OnWindowsDrive(L"\\Windows\\SetupR410.dll")));
    for (const wchar_t* shortcut : {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
                                    L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk"}) {
        EXPECT_EQ("35#\"\\Windows\\Tavrin Fold Keyboard.exe\"",
                  ReadFileBytes(OnWindowsDrive(shortcut)));
    }
    EXPECT_EQ(L"RSNR410.dll", Text(kDriverKey, L"Dll"));
    EXPECT_EQ(L"RSN", Text(kDriverKey, L"Prefix"));
    EXPECT_EQ(1u, Number(kDriverKey, L"Index"));
    EXPECT_EQ(99u, Number(kDriverKey, L"Order"));

    EXPECT_EQ(0u, RunInstaller(L"remove " + description));
    for (const CabinetFile& file : cabinet.files) {
        EXPECT_FALSE(FileExists(OnWindowsDrive(file.installed)))
            << testing::PrintToString(file.installed);
    }
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Start Menu")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.03")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Drivers")) << "no empty keys left behind";
}

TEST_F(CabinetInstaller, RemovalKeepsWhatOthersPutBesideIt)
{
    std::wstring description = PrepareCabinetFolder(kCabinetFolder);
    PlaceKey(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\Other");
    PlaceFile(OnWindowsDrive(L"\\Windows\\Start Menu\\Programs\\Other.lnk"));
    SeenMessageBox box;
    EXPECT_EQ(0u, RunInstaller(L"install " + description, &box));
    EXPECT_EQ(0u, RunInstaller(L"remove " + description));

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\Other"));
    EXPECT_TRUE(FileExists(OnWindowsDrive(L"\\Windows\\Start Menu\\Programs\\Other.lnk")));
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk")));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\Other");
}

TEST_F(CabinetInstaller, CabinetWithoutItsHookLibraryInstallsNothing)
{
    std::wstring description = PrepareCabinetFolder(kCabinetFolder, L"SETUP.DLL");
    PlaceFile(OnWindowsDrive(L"\\Windows\\R410.inf"), "settings");

    EXPECT_EQ(2u, RunInstaller(L"install " + description));
    EXPECT_TRUE(FileExists(OnWindowsDrive(L"\\Windows\\R410.inf")));
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Tavrin Fold Keyboard.exe")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.03")));
}

TEST_F(CabinetInstaller, ADescriptionItCannotUseChangesNothing)
{
    std::wstring description = PrepareCabinetFolder(kCabinetFolder);
    PlaceFile(description, "[Version]\r\nSignature = \"$Windows NT$\"\r\nProvider = \"Tavrin\r\n");
    PlaceFile(OnWindowsDrive(L"\\Windows\\R410.inf"), "settings");

    EXPECT_EQ(2u, RunInstaller(L"install " + description));
    EXPECT_EQ(2u, RunInstaller(L"install C:\\no-such-cabinet\\TavrinFoldKeyboard.inf"));
    EXPECT_EQ(2u, RunInstaller(L"remove " + description));
    EXPECT_TRUE(FileExists(OnWindowsDrive(L"\\Windows\\R410.inf")));
    EXPECT_FALSE(FileExists(OnWindowsDrive(L"\\Windows\\Tavrin Fold Keyboard.exe")));
}

}  // namespace
