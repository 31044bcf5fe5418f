// The description against the hooks' own tables: they delete what the cabinet installs (and
// the settings file) and the record it keeps; its driver registration names its driver.
#include <earlier_files.h>
#include <earlier_version.h>
#include <stream_driver.h>

#include <map>
#include <set>

#include "cabinet_test.h"

namespace {

TEST(CabinetDescription, WhatTheHooksDeleteIsWhatTheCabinetInstalls)
{
    std::set<std::wstring> installed = {L"\\Windows\\R410.inf"}, names;  // the settings program's
    for (const CabinetFile& file : ProductDescription().files) {
        installed.insert(file.installed);
    }
    for (const CabinetShortcut& shortcut : ProductDescription().shortcuts) {
        installed.insert(shortcut.path);
        names.insert(shortcut.path.substr(shortcut.path.rfind(L'\\')));
    }
    // Row 1: the English Start menu, the cabinet's; the others: the same in other languages.
    EXPECT_TRUE(installed.count(kEarlierShortcuts[0].startMenu) &&
                installed.count(kEarlierShortcuts[0].programs));
    for (int row = 0; row < kEarlierShortcutRows; ++row) {
        for (std::wstring path :
             {kEarlierShortcuts[row].startMenu, kEarlierShortcuts[row].programs}) {
            EXPECT_EQ(1u, names.count(path.substr(path.rfind(L'\\')))) << row;
        }
    }
    for (int i = 0; i < kEarlierProgramFileCount; ++i) {
        EXPECT_EQ(1u, installed.count(kEarlierProgramFiles[i])) << i;
    }
}

TEST(CabinetDescription, TheNextInstallationRemovesItsRecordAndItsDriverLoads)
{
    const Cabinet cabinet = ProductDescription();
    const std::wstring record = L"Software\\Apps\\" + RecordName(cabinet);
    HKEY key;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_LOCAL_MACHINE, (record + L"\\Sub").c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    RemoveEarlierVersionRecord();
    EXPECT_NE(0, RegOpenKeyExW(HKEY_LOCAL_MACHINE, record.c_str(), 0, KEY_READ, &key));

    std::map<std::wstring, CabinetRegistryValue> driver;  // its registration
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        driver[value.key.compare(0, 16, L"Drivers\\BuiltIn\\") ? L"" : value.name] = value;
    }
    std::wstring library, problem, prefix = driver[L"Prefix"].text;
    for (const CabinetFile& file : cabinet.files) {  // the device manager looks in \Windows
        library =
            file.installed == L"\\Windows\\" + driver[L"Dll"].text ? file.sourcePath : library;
    }
    StreamDriver loaded;
    EXPECT_TRUE(loaded.Load(library, std::string(prefix.begin(), prefix.end()), &problem))
        << testing::PrintToString(problem);
}

}  // namespace
