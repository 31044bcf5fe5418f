// The cabinet's description held against the hook library's own tables and
// the settings program: whatever the hooks delete before an installation is
// something that the cabinet installs or the settings program writes, the
// record that the installer keeps is one that the next installation's hooks
// remove, and the driver's registration names the driver that the cabinet
// installs.
#include <gtest/gtest.h>

#include <earlier_files.h>
#include <earlier_version.h>
#include <keyboard_settings.h>
#include <stream_driver.h>

#include "setup_support.h"
#include "test_support.h"

using namespace setup_test;
using namespace test_support;

namespace {

// The Start menu and its programs folder as a handheld names them in each
// language that the hooks know (the installer's %CE17% and %CE11%). The
// description's reader takes the English names.
struct StartMenu {
    const wchar_t* folder;
    const wchar_t* programs;
};
const StartMenu kEnglish = {L"\\Windows\\Start Menu", L"\\Windows\\Start Menu\\Programs"};
const StartMenu kStartMenus[] = {
    kEnglish,
    {L"\\Windows\\Menu Iniciar", L"\\Windows\\Menu Iniciar\\Programas"},     // Portuguese
    {L"\\Windows\\Menu Démarrer", L"\\Windows\\Menu Démarrer\\Programmes"},  // French
    {L"\\Windows\\Startmenü", L"\\Windows\\Startmenü\\Programme"},           // German
    {L"\\Windows\\Start Menu", L"\\Windows\\Start Menu\\Programmi"},         // Italian
    {L"\\Windows\\Menú Inicio", L"\\Windows\\Menú Inicio\\Programas"},       // Spanish
};

// The path with the folder replaced by the English one; empty when the path
// is not a file right in that folder.
std::wstring InEnglish(const std::wstring& path, const std::wstring& folder,
                       const std::wstring& english)
{
    size_t name = folder.size() + 1;
    if (path.compare(0, name, folder + L"\\") != 0 ||
        path.find(L'\\', name) != std::wstring::npos) {
        return L"";
    }
    return english + L"\\" + path.substr(name);
}

bool InstallsShortcut(const Cabinet& cabinet, const std::wstring& path)
{
    for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
        if (shortcut.path == path) {
            return true;
        }
    }
    return false;
}

bool InstallsFile(const Cabinet& cabinet, const std::wstring& path)
{
    for (const CabinetFile& file : cabinet.files) {
        if (file.installed == path) {
            return true;
        }
    }
    return false;
}

TEST(CabinetDescription, EveryShortcutTheHooksDeleteIsOneTheCabinetInstalls)
{
    const Cabinet cabinet = ProductCabinet();
    for (int row = 0; row < kEarlierShortcutRows; ++row) {
        const ShortcutRow& shortcuts = kEarlierShortcuts[row];
        bool installed = false;
        for (const StartMenu& language : kStartMenus) {
            installed |=
                InstallsShortcut(
                    cabinet, InEnglish(shortcuts.startMenu, language.folder, kEnglish.folder)) &&
                InstallsShortcut(
                    cabinet, InEnglish(shortcuts.programs, language.programs, kEnglish.programs));
        }
        EXPECT_TRUE(installed) << "row " << row + 1 << ": "
                               << testing::PrintToString(shortcuts.startMenu) << ", "
                               << testing::PrintToString(shortcuts.programs);
    }
}

TEST(CabinetDescription, EveryFileTheHooksDeleteIsInstalledOrWrittenBySettings)
{
    const Cabinet cabinet = ProductCabinet();
    std::vector<std::wstring> notInstalled;
    for (int i = 0; i < kEarlierProgramFileCount; ++i) {
        if (!InstallsFile(cabinet, kEarlierProgramFiles[i])) {
            notInstalled.push_back(kEarlierProgramFiles[i]);
        }
    }
    ASSERT_EQ(1u, notInstalled.size()) << testing::PrintToString(notInstalled);

    // That one is where the settings program saves its settings.
    std::wstring settingsFile = OnWindowsDrive(notInstalled[0]);
    RemoveFile(settingsFile);
    KeyboardSettings settings(nullptr);
    settings.Load();
    settings.Save();
    EXPECT_TRUE(FileExists(settingsFile)) << testing::PrintToString(settingsFile);
    RemoveFile(settingsFile);
}

TEST(CabinetDescription, TheInstallersRecordIsOneTheNextInstallationRemoves)
{
    const std::wstring record = std::wstring(kAppsKey) + L"\\" + ProductCabinet().appName;
    PlaceKey(HKEY_LOCAL_MACHINE, record + L"\\Sub");
    RemoveEarlierVersionRecord();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, record)) << testing::PrintToString(record);
    RemoveKey(HKEY_LOCAL_MACHINE, record);
}

TEST(CabinetDescription, TheDriverRegistrationNamesTheDriverTheCabinetInstalls)
{
    const Cabinet cabinet = ProductCabinet();
    std::wstring library, prefix;
    DWORD index = 99, order = 999;
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        if (value.root != HKEY_LOCAL_MACHINE ||
            value.key.compare(0, 16, L"Drivers\\BuiltIn\\") != 0) {
            continue;
        }
        if (value.name == L"Dll") {
            library = value.text;
        } else if (value.name == L"Prefix") {
            prefix = value.text;
        } else if (value.name == L"Index") {
            index = value.number;
        } else if (value.name == L"Order") {
            order = value.number;
        }
    }
    EXPECT_LE(index, 9u);  // the device is <Prefix><Index>:
    EXPECT_LE(order, 255u);

    // The device manager looks for a library without a path in \Windows.
    const CabinetFile* driver = nullptr;
    for (const CabinetFile& file : cabinet.files) {
        if (file.installed == L"\\Windows\\" + library) {
            driver = &file;
        }
    }
    ASSERT_TRUE(driver) << testing::PrintToString(library);
    StreamDriver loaded;
    std::wstring problem;
    EXPECT_TRUE(
        loaded.Load(driver->sourcePath, std::string(prefix.begin(), prefix.end()), &problem))
        << testing::PrintToString(problem);
}

}  // namespace
