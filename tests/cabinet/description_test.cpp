// The description against the hooks' own tables: they delete what the cabinet installs (and
// the settings file) and the record it keeps; its driver registration names its driver. And
// descriptions as the cabinet wizard reads them: what the maker reads from them, or refuses.
#include <earlier_files.h>
#include <earlier_version.h>
#include <stream_driver.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <tuple>

#include "cabinet_test.h"
#include "installation_data.h"

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

// What the installation data says of the package, a row an item.
std::set<std::wstring> Facts(const Package& p)
{
    wchar_t text[160];
    swprintf(text, 160, L"%ls by %ls in %ls runs on %lu, %lu/%lu to %lu/%lu, builds 0x%lx to 0x%lx",
             p.appName.data(), p.provider.data(), p.installDir.data(), p.processorType,
             p.versionMinMajor, p.versionMinMinor, p.versionMaxMajor, p.versionMaxMinor, p.buildMin,
             p.buildMax);
    std::set<std::wstring> facts = {text};
    for (const PackageFile& f : p.files) {
        swprintf(text, 160, L"file %ls\\%ls 0x%lx", f.folder.c_str(), f.name.c_str(), f.flags);
        facts.insert(text);
    }
    for (const PackageShortcut& s : p.shortcuts) {
        facts.insert(L"shortcut " + s.folder + L"\\" + s.name + L" -> " + s.target);
    }
    for (const PackageRegistryValue& v : p.registryValues) {
        facts.insert(L"value " + v.rootName + L"\\" + v.key + L"|" + v.name + L"|" +
                     (v.type == REG_DWORD ? L"#" + std::to_wstring(v.number) : v.text));
    }
    return facts;
}

// The facts of the description read as 8-bit text and in UTF-16 (the same: one set), ending in a
// stray 0 as the wizard's may, and of the installation data encoded from it; or why it's refused.
std::set<std::wstring> ReadFacts(std::string text, const std::wstring& cpu = L"")
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>((text += '\0').data());
    std::wstring wide = L"\xFEFF" + std::wstring(bytes, bytes + text.size());
    std::set<std::wstring> facts;
    for (const std::string& file :
         {text, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)}) {
        WriteFileBytes(BinFolder() + L"\\changed.inf", file);
        Package read = {}, decoded = {};
        std::string data;
        std::wstring error;
        bool made = ReadPackageDescription(BinFolder() + L"\\changed.inf", &read, &error, cpu) &&
                    EncodeInstallationData(read, &data, &error) &&
                    DecodeInstallationData(data, &decoded, &error);
        facts.merge(made ? Facts(read) : std::set{error.substr(error.find(L": ") + 2)});
        EXPECT_TRUE(!made || facts == Facts(decoded)) << testing::PrintToString(facts);
    }
    RemoveFile(BinFolder() + L"\\changed.inf");
    return facts;
}

// Descriptions read as the cabinet wizard does, or refused: the product's changed a line each, and
// descriptions/ (in the wizard's shapes, with /cpu; a string bomb) against their "; holds" lines.
TEST(PackageDescription, ReadsWhatTheWizardReadsAndRefusesTheRest)
{
    const std::string text = ReadFileBytes(BinFolder() + L"\\TavrinFoldKeyboard.inf");
    const std::tuple<const char*, const char*, const wchar_t*> rows[] = {
        {"= 3.99", "= 3.09", L"to 3/9,"},
        {"Index,0x00010001,1", "Index,0x00010001,0x0A", L"|Index|#10"},
        {"Order,0x00010001,99", "Order,0x00010001,010", L"|Order|#10"},
        {"\nKeyTap.wav,", "\n\"T\xE4p.wav\",KeyTap.wav\nKeyTap.wav,", L"line 56: \"T\xE4p.wav\""},
        {"Keyboard.exe\"\n\n", "Keyboard.exe\",\"\\Fold\"\n\n", L"line 60: a shortcut goes into"},
    };
    for (const auto& [line, changed, expected] : rows) {
        auto read = ReadFacts(std::string(text).replace(text.find(line), strlen(line), changed));
        EXPECT_TRUE(std::any_of(read.begin(), read.end(), [e = expected](const std::wstring& fact) {
            return fact.find(e) != std::wstring::npos;
        })) << testing::PrintToString(read);
    }
    const std::regex fact("; holds (.*)");
    const wchar_t* const descriptions[][2] = {
        {L"2003", L"ARMV4I"}, {L"2005", L"PPC"}, {L"2009", L"WM6"}, {L"bomb", L""}};
    for (const auto& [name, cpu] : descriptions) {
        const std::string read = ReadFileBytes(BinFolder() + L"\\descriptions\\" + name + L".inf");
        std::set<std::wstring> holds;  // ASCII
        for (std::sregex_iterator at(read.begin(), read.end(), fact), end; at != end; ++at) {
            holds.emplace((*at)[1].first, (*at)[1].second);
        }
        EXPECT_EQ(holds, ReadFacts(read, cpu)) << testing::PrintToString(name);
    }
}

}  // namespace
