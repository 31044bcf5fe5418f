// Reading a cabinet's description: the product's own, the parts of the format
// that a description may use, and a clear refusal of everything else.
#include <gtest/gtest.h>

#include "cabinet_description.h"
#include "setup_support.h"
#include "test_support.h"

using namespace setup_test;
using namespace test_support;

namespace {

// The cabinet, a line per item, as a person would check it.
std::vector<std::wstring> Described(const Cabinet& cabinet)
{
    std::vector<std::wstring> lines = {
        L"record " + cabinet.appName,
        L"folder " + cabinet.installFolder,
        L"hooks " + cabinet.hookLibraryPath + L" installed as " + cabinet.installedHookLibrary,
    };
    for (const CabinetFile& file : cabinet.files) {
        lines.push_back(L"file " + file.sourcePath + L" as " + file.installed);
    }
    for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
        lines.push_back(L"shortcut " + shortcut.path + L" to " + shortcut.target);
    }
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        lines.push_back(
            value.rootName + L"\\" + value.key + L" [" + value.name + L"] = " +
            (value.type == REG_DWORD ? std::to_wstring(value.number) : L"\"" + value.text + L"\""));
    }
    return lines;
}

std::vector<std::wstring> Parsed(const std::string& text, const std::wstring& folder)
{
    Cabinet cabinet;
    std::wstring error;
    EXPECT_TRUE(ParseCabinetDescription(text, folder, &cabinet, &error))
        << testing::PrintToString(error);
    return Described(cabinet);
}

TEST(DescriptionReader, TheProductsDescription)
{
    const std::wstring bin = BinFolder();
    std::vector<std::wstring> expected = {
        L"record Tavrin Fold Keyboard V1.03",
        L"folder \\Windows",
        L"hooks " + bin + L"\\SETUP.DLL installed as \\Windows\\SetupR410.dll",
        L"file " + bin + L"\\Tavrin Fold Keyboard.exe as \\Windows\\Tavrin Fold Keyboard.exe",
        L"file " + bin + L"\\KeybdR410.exe as \\Windows\\KeybdR410.exe",
        L"file " + bin + L"\\SETUP.DLL as \\Windows\\SetupR410.dll",
        L"file " + bin + L"\\RSN.dll as \\Windows\\RSNR410.dll",
        L"file " + bin + L"\\KeyTap.wav as \\Windows\\KeyTap.wav",
        L"shortcut \\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk to "
        L"\\Windows\\Tavrin Fold Keyboard.exe",
        L"shortcut \\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk to "
        L"\\Windows\\Tavrin Fold Keyboard.exe",
        L"HKLM\\Drivers\\BuiltIn\\RSN [Dll] = \"RSNR410.dll\"",
        L"HKLM\\Drivers\\BuiltIn\\RSN [Prefix] = \"RSN\"",
        L"HKLM\\Drivers\\BuiltIn\\RSN [Index] = 1",
        L"HKLM\\Drivers\\BuiltIn\\RSN [Order] = 99",
    };
    EXPECT_EQ(expected, Described(ProductCabinet()));
}

TEST(DescriptionReader, QuotesCommentsCaseAndStrings)
{
    const std::string text =
        "\xEF\xBB\xBF; a byte-order mark, CR LF line ends\r\n"
        "[version]   ; names of sections and keys ignore case\r\n"
        "SIGNATURE = \"$Windows NT$\"\r\n"
        "Provider = \"Maker, Inc.\"\r\n"
        "[CEStrings]\r\n"
        "AppName = \"Tool \"\"Pro\"\" V2.00\"\r\n"
        "InstallDir = %CE1%\\%AppName%\r\n"
        "[Strings]\r\n"
        "Data = %InstallDir%\\Data\r\n"
        "Share = 100%%\r\n"
        "[DefaultInstall]\r\n"
        "CopyFiles = Program, Data\r\n"
        "AddReg = Settings\r\n"
        "CEShortcuts = Links\r\n"
        "CESetupDLL = hooks.dll\r\n"
        "[SourceDisksNames]\r\n"
        "1 = ,\"Built\",,bin\r\n"
        "2 = ,\"Data\",,C:\\data\r\n"
        "[SourceDisksFiles]\r\n"
        "tool.exe = 1\r\n"
        "hooks.dll = 1\r\n"
        "\"a; b.txt\" = 2\r\n"
        "[DestinationDirs]\r\n"
        "Program = 0,%InstallDir%\r\n"
        "Links = 0,%CE11%\r\n"
        "DefaultDestDir = 0,%Data%\r\n"
        "[Program]\r\n"
        "tool.exe,,,0x40000000\r\n"
        "Setup.dll,HOOKS.DLL\r\n"
        "[Data]\r\n"
        "  \"a; b.txt\"  ; quoted, with the spaces around it dropped\r\n"
        "[Links]\r\n"
        "Tool,0,tool.exe\r\n"
        "Tool at start,,tool.exe,%CE17%\r\n"
        "[Settings]\r\n"
        "HKCU,Software\\%AppName%,Share,0x00000000,%Share%\r\n"
        "hkcu,Software\\%AppName%,,0x00010001,0x10";
    const std::wstring app = L"\\Program Files\\Tool \"Pro\" V2.00";
    std::vector<std::wstring> expected = {
        L"record Maker, Inc. Tool \"Pro\" V2.00",
        L"folder " + app,
        L"hooks C:\\cabinet\\bin\\hooks.dll installed as " + app + L"\\Setup.dll",
        L"file C:\\cabinet\\bin\\tool.exe as " + app + L"\\tool.exe",
        L"file C:\\cabinet\\bin\\hooks.dll as " + app + L"\\Setup.dll",
        L"file C:\\data\\a; b.txt as " + app + L"\\Data\\a; b.txt",
        L"shortcut \\Windows\\Start Menu\\Programs\\Tool.lnk to " + app + L"\\tool.exe",
        L"shortcut \\Windows\\Start Menu\\Tool at start.lnk to " + app + L"\\tool.exe",
        L"HKCU\\Software\\Tool \"Pro\" V2.00 [Share] = \"100%\"",
        L"HKCU\\Software\\Tool \"Pro\" V2.00 [] = 16",
    };
    EXPECT_EQ(expected, Parsed(text, L"C:\\cabinet"));
}

// A small description that reads, to be broken one way at a time.
const std::string kSmall =
    "[Version]\n"
    "Signature = \"$Windows NT$\"\n"
    "Provider = Maker\n"
    "[CEStrings]\n"
    "AppName = App\n"
    "InstallDir = %CE2%\n"
    "[DefaultInstall]\n"
    "CopyFiles = Files\n"
    "[SourceDisksNames]\n"
    "1 = ,\"Built\",,.\n"
    "[SourceDisksFiles]\n"
    "app.exe = 1\n"
    "[DestinationDirs]\n"
    "Files = 0,%CE2%\n"
    "[Files]\n"
    "app.exe\n";

struct Broken {
    std::string find;
    std::string replace;
    std::wstring error;
};

TEST(DescriptionReader, RefusesWhatItDoesNotUnderstandWithTheLineAndReason)
{
    std::vector<std::wstring> small = Parsed(kSmall, L"C:\\cabinet");
    ASSERT_EQ(4u, small.size());
    EXPECT_EQ(L"file C:\\cabinet\\app.exe as \\Windows\\app.exe", small[3]);

    const std::string shortcuts = "CopyFiles = Files\nCEShortcuts = Links\n";
    const std::string registry = "CopyFiles = Files\nAddReg = Keys\n";
    const Broken cases[] = {
        {"$Windows NT$", "$Chicago$", L"line 2: the Signature must be \"$Windows NT$\""},
        {"Provider = Maker\n", "", L"[Version] has no Provider"},
        {"AppName = App", "AppName = \"App", L"line 5: a quote is not closed"},
        {"InstallDir = %CE2%", "InstallDir = %CE99%", L"line 6: the string %CE99% is not defined"},
        {"InstallDir = %CE2%", "InstallDir = %CE2", L"line 6: a % is not closed"},
        {"InstallDir = %CE2%", "InstallDir = Windows", L"InstallDir must be a handheld path"},
        {"AppName = App\nInstallDir = %CE2%", "AppName = %InstallDir%\nInstallDir = %AppName%",
         L"refer to one another in a circle"},
        {"Provider = Maker", "Provider = Mak\xFF", L"the file is not UTF-8 text"},
        {"[Version]\n", "stray\n[Version]\n", L"line 1: the line stands outside of any [section]"},
        {"[Files]\napp.exe\n", "[Files]\napp.exe \\\n", L"line 16: lines continued with \\"},
        {"[Files]\napp.exe\n", "[Files]\napp.exe\n[Files]\n", L"line 17: the section [Files] "},
        {"[Files]\napp.exe\n", "[Files]\nother.exe\n", L"line 16: \"other.exe\" is not in"},
        {"1 = ", "2 = ", L"line 12: \"app.exe\" = 1 names no disk of [SourceDisksNames]"},
        {"CopyFiles = Files", "CopyFiles = Other", L"line 8: there is no section [Other]"},
        {"CopyFiles = Files\n", "CopyFiles = Files\nCESelfRegister = app.exe\n",
         L"line 9: [DefaultInstall] CESelfRegister is not supported"},
        {"Files = 0,%CE2%\n", "", L"[DestinationDirs] gives no folder for [Files]"},
        {"Files = 0,%CE2%", "Files = 1,%CE2%", L"only a folder given by its path (0, path)"},
        {"CopyFiles = Files\n", shortcuts + "[Links]\nApp,1,app.exe\n",
         L"only shortcuts to files (0) are supported"},
        {"CopyFiles = Files\n", shortcuts + "[Links]\nApp,0,other.exe\n",
         L"\"other.exe\" is not a file that the cabinet installs"},
        {"CopyFiles = Files\n", registry + "[Keys]\nHKLM,Key,Name,0x00010000,a\n",
         L"only text (0x00000000) and number (0x00010001) values are supported"},
        {"CopyFiles = Files\n", registry + "[Keys]\nHKLM,Key,Name,0x00010001,abc\n",
         L"\"abc\" is not a number"},
        {"CopyFiles = Files\n", registry + "[Keys]\nHKU,Key,Name,0,a\n",
         L"the registry root must be HKLM, HKCU or HKCR"},
    };
    for (const Broken& broken : cases) {
        std::string text = kSmall;
        size_t at = text.find(broken.find);
        ASSERT_NE(std::string::npos, at) << broken.find;
        text.replace(at, broken.find.size(), broken.replace);
        Cabinet cabinet;
        std::wstring error;
        EXPECT_FALSE(ParseCabinetDescription(text, L"C:\\cabinet", &cabinet, &error)) << text;
        EXPECT_NE(std::wstring::npos, error.find(broken.error))
            << testing::PrintToString(error) << " lacks " << testing::PrintToString(broken.error);
    }
}

TEST(DescriptionReader, AFileThatIsNotThereIsNamedInTheError)
{
    Cabinet cabinet;
    std::wstring error;
    EXPECT_FALSE(ReadCabinetDescription(L"C:\\no-such-folder\\x.inf", &cabinet, &error));
    EXPECT_EQ(0u, error.find(L"cannot read C:\\no-such-folder\\x.inf"))
        << testing::PrintToString(error);
}

}  // namespace
