// The cabinet's description held against the hook library's own tables and
// the settings program: whatever the hooks delete before an installation is
// something that the cabinet installs or the settings program writes, the
// record that the installer keeps is one that the next installation's hooks
// remove, and the driver's registration names the driver that it installs.
#include <earlier_files.h>
#include <earlier_version.h>
#include <keyboard_settings.h>
#include <stream_driver.h>

#include <map>

#include "cabinet_test.h"

using namespace test_support;

namespace {

// The Start menu and its programs folder in each language that the hooks know
// (the installer's %CE17% and %CE11%); the description's are the English ones.
const std::wstring kStartMenus[][2] = {
    {L"\\Windows\\Start Menu", L"\\Windows\\Start Menu\\Programs"},
    {L"\\Windows\\Menu Iniciar", L"\\Windows\\Menu Iniciar\\Programas"},     // Portuguese
    {L"\\Windows\\Menu Démarrer", L"\\Windows\\Menu Démarrer\\Programmes"},  // French
    {L"\\Windows\\Startmenü", L"\\Windows\\Startmenü\\Programme"},           // German
    {L"\\Windows\\Start Menu", L"\\Windows\\Start Menu\\Programmi"},         // Italian
    {L"\\Windows\\Menú Inicio", L"\\Windows\\Menú Inicio\\Programas"},       // Spanish
};

// Whether the cabinet installs, as a file or a shortcut, the path right in the
// folder, taken in the English folder.
bool Installs(const Cabinet& cabinet, const std::wstring& path, const std::wstring& folder,
              const std::wstring& english)
{
    size_t name = folder.size() + 1;
    if (path.compare(0, name, folder + L"\\") || path.find(L'\\', name) != std::wstring::npos) {
        return false;
    }
    std::wstring installed = english + L"\\" + path.substr(name);
    for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
        name = shortcut.path == installed ? 0 : name;
    }
    for (const CabinetFile& file : cabinet.files) {
        name = file.installed == installed ? 0 : name;
    }
    return name == 0;
}

TEST(CabinetDescription, EveryShortcutTheHooksDeleteIsOneTheCabinetInstalls)
{
    const Cabinet cabinet = ProductDescription();
    for (int row = 0; row < kEarlierShortcutRows; ++row) {
        bool installed = false;
        for (const auto& menu : kStartMenus) {
            installed |=
                Installs(cabinet, kEarlierShortcuts[row].startMenu, menu[0], kStartMenus[0][0]) &&
                Installs(cabinet, kEarlierShortcuts[row].programs, menu[1], kStartMenus[0][1]);
        }
        EXPECT_TRUE(installed) << "row " << row + 1;
    }
}

TEST(CabinetDescription, EveryFileTheHooksDeleteIsInstalledOrWrittenBySettings)
{
    const Cabinet cabinet = ProductDescription();
    std::vector<std::wstring> notInstalled;
    for (int i = 0; i < kEarlierProgramFileCount; ++i) {
        if (!Installs(cabinet, kEarlierProgramFiles[i], L"\\Windows", L"\\Windows")) {
            notInstalled.push_back(kEarlierProgramFiles[i]);
        }
    }
    ASSERT_EQ(1u, notInstalled.size()) << testing::PrintToString(notInstalled);
    // That one is where the settings program saves its settings.
    std::wstring settingsFile = L"C:" + notInstalled[0];
    RemoveFile(settingsFile);
    KeyboardSettings settings(nullptr);
    settings.Load();
    settings.Save();
    EXPECT_TRUE(FileExists(settingsFile)) << testing::PrintToString(settingsFile);
    RemoveFile(settingsFile);
}

TEST(CabinetDescription, TheInstallersRecordIsOneTheNextInstallationRemoves)
{
    const std::wstring record = L"Software\\Apps\\" + RecordName(ProductDescription());
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, (record + L"\\Sub").c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    RemoveEarlierVersionRecord();
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, record.c_str(), 0, KEY_READ, &key))
        << testing::PrintToString(record);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, record.c_str());
}

TEST(CabinetDescription, TheDriverRegistrationNamesTheDriverTheCabinetInstalls)
{
    const Cabinet cabinet = ProductDescription();
    std::map<std::wstring, const CabinetRegistryValue*> values;
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        if (value.root == HKEY_LOCAL_MACHINE && !value.key.compare(0, 16, L"Drivers\\BuiltIn\\")) {
            values[value.name] = &value;
        }
    }
    ASSERT_EQ(4u, values.size());
    EXPECT_LE(values[L"Index"]->number, 9u);  // the device is <Prefix><Index>:
    EXPECT_LE(values[L"Order"]->number, 255u);
    // The device manager looks for a library without a path in \Windows.
    const CabinetFile* driver = nullptr;
    for (const CabinetFile& file : cabinet.files) {
        driver = file.installed == L"\\Windows\\" + values[L"Dll"]->text ? &file : driver;
    }
    ASSERT_TRUE(driver);
    const std::wstring& prefix = values[L"Prefix"]->text;
    StreamDriver loaded;
    std::wstring problem;
    EXPECT_TRUE(
        loaded.Load(driver->sourcePath, std::string(prefix.begin(), prefix.end()), &problem))
        << testing::PrintToString(problem);
}

}  // namespace
