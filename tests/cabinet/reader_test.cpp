// The description's reader on descriptions of its own: what SetupAPI reads
// (quotes, comments, [Strings], continued lines) and the project's rules on
// top, each refusal naming the line and the reason.
#include "cabinet_test.h"

using namespace test_support;

namespace {

const char kDescription[] =  // lines 1 to 17
    "[Version]\r\nSignature = \"$Windows NT$\"\r\nCESignature = \"$Windows CE$\"\r\n"
    "Provider = %Maker% ; a comment\r\n[CEStrings]\r\nAppName = \"Tool \"\"Pro\"\", V2\"\r\n"
    "InstallDir = %CE1%\\%AppName%\r\n[Strings]\r\nMaker = \"Maker, Inc.\"\r\n"
    "[DefaultInstall]\r\nCopyFiles = Files\r\n[SourceDisksNames]\r\n1 = ,\"Disk\",,.\r\n"
    "[SourceDisksFiles]\r\na.exe = 1\r\n[DestinationDirs]\r\nDefaultDestDir = 0,%InstallDir%\r\n";

struct Row {
    const char* added;     // from line 18
    const wchar_t* error;  // the reader's, after the file's name; empty when it reads
};

const Row kRows[] = {
    {"[Files]\r\n\"a.exe\",,,\\\r\n  0x80000000", L""},
    {"[Files]\r\na.exe\r\n[DefaultInstall]\r\nCopyFile = Files",
     L"line 21: [DefaultInstall] CopyFile is not supported"},
    {"[Files]\r\na.exe,,,-1", L"line 19: a file is: installed name, name in the cabinet, , flags"},
    {"[Files]\r\nb.exe", L"line 19: \"b.exe\" is not in [SourceDisksFiles]"},
    {"[Files]\r\n%Other%.exe", L"line 19: the string %Other% is not defined"},
    {"[Files]\r\n\xC3\xA9.exe",
     L"line 19: \"\xC3\xA9.exe\" is not ASCII, which the cabinet's installation data can't carry"},
    {"[Files]\r\na.exe\r\n[DestinationDirs]\r\nFiles = 0,\\Windows",
     L"line 21: \"\\Windows\" is no folder below a standard folder such as %CE2%"},
    {"[Files]\r\na.exe\r\n[CEDevice]\r\nVersionMin = 3.x",
     L"line 21: \"3.x\" is not a version such as 3.00"},
    {"[Files]\r\na.exe\r\n[Bad", L"line 20: a section name must stand alone in [brackets]"},
};

TEST(DescriptionReader, ReadsWhatItCanAndNamesTheLineOfWhatItCannot)
{
    std::wstring path = BinFolder() + L"\\reader-test.inf";
    for (const Row& row : kRows) {
        std::string text = std::string(kDescription) + row.added + "\r\n";
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
        CloseHandle(file);
        Cabinet cabinet;
        std::wstring error;
        bool read = ReadCabinetDescription(path, &cabinet, &error);
        EXPECT_EQ(row.error, error.empty() ? L"" : error.substr(path.size() + 2)) << row.added;
        if (read) {
            EXPECT_EQ(L"Maker, Inc. Tool \"Pro\", V2", RecordName(cabinet));
            ASSERT_EQ(1u, cabinet.files.size());
            EXPECT_EQ(L"\\Program Files\\Tool \"Pro\", V2\\a.exe", cabinet.files[0].installed);
            EXPECT_EQ(0x80000000u, cabinet.files[0].flags);
        }
    }
    RemoveFile(path);
}

}  // namespace
