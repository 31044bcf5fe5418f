// The description against the hooks' own tables: they delete what the cabinet installs (and
// the settings file) and the record it keeps; its driver registration names its driver. And
// descriptions changed a line each, and others in the shapes of the cabinet wizard's own: what
// the maker reads from them, or refuses.
#include <earlier_files.h>
#include <earlier_version.h>
#include <stream_driver.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

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

// What the installation data says of the package, a sorted row an item.
std::vector<std::wstring> Facts(const Package& c)
{
    wchar_t header[128];
    swprintf(header, 128, L"runs on %lu, %lu/%lu to %lu/%lu, builds 0x%lx to 0x%lx",
             c.processorType, c.versionMinMajor, c.versionMinMinor, c.versionMaxMajor,
             c.versionMaxMinor, c.buildMin, c.buildMax);
    std::vector<std::wstring> facts = {L"app " + c.appName + L" by " + c.provider, header,
                                       L"in " + c.installDir};
    for (const PackageFile& f : c.files) {
        swprintf(header, 128, L" 0x%lx", f.flags);
        facts.push_back(L"file " + f.folder + L"\\" + f.name + header);
    }
    for (const PackageShortcut& s : c.shortcuts) {
        facts.push_back(L"shortcut " + s.folder + s.path.substr(s.path.rfind(L'\\')) + L" -> " +
                        s.target);
    }
    for (const PackageRegistryValue& v : c.registryValues) {
        facts.push_back(L"value " + v.rootName + L"\\" + v.key + L"|" + v.name + L"|" +
                        (v.type == REG_DWORD ? L"#" + std::to_wstring(v.number) : v.text));
    }
    std::sort(facts.begin(), facts.end());
    return facts;
}

// The product's description changed a line each, as 8-bit text and in UTF-16, read as the
// cabinet wizard reads it (numbers decimal, hexadecimal only after 0x; with /cpu Tcpu where it
// has such sections), or refused in one line.
TEST(PackageDescription, ReadsWhatTheWizardReadsAndRefusesTheRest)
{
    const std::string text = ReadFileBytes(BinFolder() + L"\\TavrinFoldKeyboard.inf");
    const std::wstring copy = BinFolder() + L"\\changed.inf";
    std::string bomb = "AppName = %S0%\nS6 = \"Petabytes \"\n";  // 300^6 copies of it
    for (int n = 0; n < 6; ++n) {
        bomb += "S" + std::to_string(n) + " = " +
                std::regex_replace(std::string(300, '#'), std::regex("#"),
                                   "%S" + std::to_string(n + 1) + "%") +
                "\n";
    }
    const char* const kShortcut = "Keyboard.exe\"\n\n[Shortcuts.Programs]";
    const struct {
        const char* line;
        std::string changed;
        const wchar_t* read;  // in what is read, or in what is wrong
    } rows[] = {
        {"= 3.99", "= 3.09", L"to 3/9,"},
        {"Index,0x00010001,1", "Index,0x00010001,0x0A", L"|Index|#10"},
        {"Order,0x00010001,99", "Order,0x00010001,010", L"|Order|#10"},
        {"\nKeyTap.wav,", "\n\"T\xE4p.wav\",KeyTap.wav\nKeyTap.wav,",
         L"line 56: \"T\xE4p.wav\" is no"},
        {"[DestinationDirs]",
         "[DefaultInstall.Tcpu]\nCopyFiles=Files.Tcpu\n[CEDevice.Tcpu]\nVersionMax=5.01\n"
         "[SourceDisksNames.Tcpu]\n2=,,,tcpu\n[SourceDisksFiles.Tcpu]\nTcpu.dll=2\n"
         "[Files.Tcpu]\nTcpu.dll\n[DestinationDirs]",
         L".exe 0x0; file %CE2%\\Tcpu.dll 0x0; in %CE2%; runs on 2577, 3/0 to 5/1,"},
        {"InstallDir = %CE2%", "InstallDir = \"\\Program Files\\Fold\"", L"in \\Program Files\\F"},
        {kShortcut, "Keyboard.exe\",%CE4%\n\n[Shortcuts.Programs]", L"%CE4%\\Tavrin Fold Keyb"},
        {kShortcut, "Keyboard.exe\",\"\\Fold\"\n\n[Shortcuts.Programs]", L"line 60: a shortcut go"},
        {"= SETUP.DLL", "= SETUP.DLL\nCESelfRegister = rsnr410.dll", L"RSNR410.dll 0x10000000"},
        {"= SETUP.DLL", "= SETUP.DLL\nCESelfRegister = RSN.dll", L"line 30: \"RSN.dll\" is not"},
        {",RSN\n", ",\"%InstallDir%\\R \"\"%%1\"\"\"\n", L"%InstallDir%\\R \"%1\";"},
        {"AppName    =", bomb + "Old =", L"line 22: the %strings% make a text longer than 4096"},
    };
    for (const auto& row : rows) {
        std::string changed = text;
        changed.replace(changed.find(row.line), strlen(row.line), row.changed);
        std::wstring wide(L"\xFEFF");  // after its byte-order mark
        for (unsigned char c : changed) {
            wide += wchar_t(c);
        }
        for (const std::string& bytes :
             {changed, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)}) {
            WriteFileBytes(copy, bytes);
            Package c;
            std::wstring read;
            bool cpu = row.changed.find(".Tcpu]") != std::string::npos;
            if (ReadPackageDescription(copy, &c, &read, cpu ? L"Tcpu" : L"")) {
                for (const std::wstring& fact : Facts(c)) {
                    read += fact + L"; ";
                }
            }
            EXPECT_NE(std::wstring::npos, read.find(row.read)) << testing::PrintToString(read);
        }
    }
    RemoveFile(copy);
}

// Descriptions in the shapes of the cabinet wizard's own of 2003, 2005 and 2009, each with a
// stray 0 byte at its end as the wizard's may have, against what the wizard writes from them,
// which each lists in its "; holds" lines: the package read, and the installation data encoded
// from it and decoded again.
TEST(PackageDescription, SaysWhatTheWizardWritesFromDescriptionsInItsShapes)
{
    const wchar_t* const shapes[][2] = {
        {L"lumen-2003", L"ARMV4I"}, {L"gallery-2005", L"PPC"}, {L"notes-2009", L"WM6"}};
    const std::wstring copy = BinFolder() + L"\\shapes\\written.inf";
    for (const auto& shape : shapes) {
        const std::string text = ReadFileBytes(BinFolder() + L"\\shapes\\" + shape[0] + L".inf");
        WriteFileBytes(copy, text + '\0');
        std::vector<std::wstring> holds;  // ASCII
        for (size_t at = 0; (at = text.find("; holds ", at + 1)) != std::string::npos;) {
            std::string fact = text.substr(at + 8, text.find('\n', at) - at - 8);
            holds.emplace_back(fact.begin(), fact.end());
        }
        std::sort(holds.begin(), holds.end());
        Package read = {}, decoded = {};
        std::string data;
        std::wstring error;
        EXPECT_TRUE(ReadPackageDescription(copy, &read, &error, shape[1]) &&
                    EncodeInstallationData(read, &data, &error) &&
                    DecodeInstallationData(data, &decoded, &error))
            << testing::PrintToString(error);
        EXPECT_EQ(holds, Facts(read)) << testing::PrintToString(shape[0]);
        EXPECT_EQ(holds, Facts(decoded)) << testing::PrintToString(shape[0]);
    }
    RemoveFile(copy);
}

}  // namespace
