// The description against the hooks' own tables: they delete what the cabinet installs (and
// the settings file) and the record it keeps; its driver registration names its driver. And
// descriptions changed a line each: what the maker reads from them, or refuses.
#include <earlier_files.h>
#include <earlier_version.h>
#include <stream_driver.h>

#include <map>
#include <set>

#include "cabinet_test.h"

using namespace test_support;

namespace {

TEST(PackageDescription, WhatTheHooksDeleteIsWhatTheCabinetInstalls)
{
    std::set<std::wstring> installed = {L"\\Windows\\R410.inf"}, names;  // the settings program's
    for (const PackageFile& file : ProductDescription().files) {
        installed.insert(file.installed);
    }
    for (const PackageShortcut& shortcut : ProductDescription().shortcuts) {
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

TEST(PackageDescription, TheNextInstallationRemovesItsRecordAndItsDriverLoads)
{
    const Package package = ProductDescription();
    const std::wstring record = L"Software\\Apps\\" + RecordName(package);
    HKEY key;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_LOCAL_MACHINE, (record + L"\\Sub").c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    RemoveEarlierVersionRecord();
    EXPECT_NE(0, RegOpenKeyExW(HKEY_LOCAL_MACHINE, record.c_str(), 0, KEY_READ, &key));

    std::map<std::wstring, PackageRegistryValue> driver;  // its registration
    for (const PackageRegistryValue& value : package.registryValues) {
        driver[value.key.compare(0, 16, L"Drivers\\BuiltIn\\") ? L"" : value.name] = value;
    }
    std::wstring library, problem, prefix = driver[L"Prefix"].text;
    for (const PackageFile& file : package.files) {  // the device manager looks in \Windows
        library =
            file.installed == L"\\Windows\\" + driver[L"Dll"].text ? file.sourcePath : library;
    }
    StreamDriver loaded;
    EXPECT_TRUE(loaded.Load(library, std::string(prefix.begin(), prefix.end()), &problem))
        << testing::PrintToString(problem);
}

// Numbers as the cabinet wizard reads them: decimal, hexadecimal only after 0x.
TEST(PackageDescription, ReadsNumbersAsTheWizardDoesAndRefusesWhatTheDataCantCarry)
{
    const std::string text = ReadFileBytes(BinFolder() + L"\\TavrinFoldKeyboard.inf");
    const std::wstring copy = BinFolder() + L"\\changed.inf";
    const struct {
        const char* line;
        const char* changed;
        const wchar_t* read;  // VersionMax, Index and Order, or what is wrong
    } rows[] = {
        {"= 3.99", "= 3.09", L"3.09 1 99"},
        {"Index,0x00010001,1", "Index,0x00010001,0x0A", L"3.99 10 99"},
        {"Order,0x00010001,99", "Order,0x00010001,010", L"3.99 1 10"},
        {"\nKeyTap.wav,,,0", "\nKeyTap.wav,,,0\n\"T\xE4p.wav\",KeyTap.wav",
         L": line 57: \"T\xE4p.wav\" is not ASCII"},
    };
    for (const auto& row : rows) {
        std::string changed = text;
        WriteFileBytes(copy,
                       changed.replace(changed.find(row.line), strlen(row.line), row.changed));
        Package c;
        std::wstring read;
        if (ReadPackageDescription(copy, &c, &read)) {
            wchar_t numbers[64];
            swprintf(numbers, 64, L"%lu.%02lu %lu %lu", c.versionMaxMajor, c.versionMaxMinor,
                     c.registryValues.at(2).number, c.registryValues.at(3).number);
            read = numbers;
        }
        EXPECT_NE(std::wstring::npos, read.find(row.read)) << testing::PrintToString(read);
    }
    RemoveFile(copy);
}

}  // namespace
