// What a save leaves in the settings file: the program writes the two repeat
// fields and keeps every other byte as the file holds it at that moment; this
// process, as another program, holds, rewrites or removes the file.
#include "program.h"

#include <memory>

namespace {

enum AtSave { Unchanged, Rewritten, Removed, Held };

// Opens the settings file without sharing, as another program may; creates it if missing.
HANDLE HoldSettingsFile()
{
    return CreateFileW(kSettingsFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Each row: the file when the page opens, the slider positions the page shows
// (five steps each, 0 to 4: codes past the fifth show at it), and by the
// file's state at a save what the file holds then, but for the repeat fields,
// which the save sets (a held file keeps its own).
TEST_F(SettingsProgram, ShowsTheFileAndSavesOnlyTheRepeatFieldsOfTheFileAsItIsThen)
{
    const std::string full = Image('A', 8, 3), other = Image('a', 16, 1), none = Image(0, 0, 0);
    const std::string part = Image('C', 20, 0).substr(0, 1000), partRead = part + none.substr(1000);
    const std::string image = Image('E', 24, 5), longer = image + "beyond";
    const char* atSave[] = {"unchanged", "rewritten", "removed", "held"};
    const struct {
        const char* atOpen;
        const std::string* file;  // null: none
        bool held;
        LRESULT delay, rate;
        std::string after[4];  // by the state at the save
    } rows[] = {
        {"missing", nullptr, false, 0, 0, {none, other, none, ""}},
        {"full", &full, false, 1, 3, {full, other, full, full}},
        {"short", &part, false, 4, 0, {partRead, other, partRead, part}},
        {"longer, codes past the steps", &longer, false, 4, 4, {image, other, image, longer}},
        {"held", &full, true, 0, 0, {full, other, none, full}},
    };
    for (const auto& row : rows) {
        for (int state = Unchanged; state <= Held; ++state) {
            SCOPED_TRACE(std::string(row.atOpen) + " at the start, " + atSave[state] +
                         " at the save");
            row.file ? WriteFileBytes(kSettingsFile, *row.file) : RemoveFile(kSettingsFile);
            HANDLE held = row.held ? HoldSettingsFile() : nullptr;
            Open();
            CloseHandle(held);
            EXPECT_EQ(row.delay, Position(IDC_REPEAT_DELAY));
            EXPECT_EQ(row.rate, Position(IDC_REPEAT_RATE));
            EXPECT_TRUE(ReadFileBytes(kSettingsFile) == (row.file ? *row.file : ""));
            held = state == Held ? HoldSettingsFile() : nullptr;
            if (state == Rewritten) {
                WriteFileBytes(kSettingsFile, other);
            } else if (state == Removed) {
                RemoveFile(kSettingsFile);
            }
            SendMessageW(Item(IDC_REPEAT_DELAY), TBM_SETPOS, TRUE, 4);
            Move(IDC_REPEAT_RATE, 2);
            CloseHandle(held);
            const std::string& after = row.after[state];
            EXPECT_TRUE(ReadFileBytes(kSettingsFile) ==
                        (state == Held ? after : WithRepeat(after, 20, 2)));
            EXPECT_FALSE(program_.WaitForExit(0));
            EndProgramsWithWindow(kMainClass);
        }
    }
}

// Nobody may write a file while it is mapped as a program's image, root
// included, whom Wine lets write a file with the read-only attribute; and the
// mapping goes with this process, so that a run ended at any point leaves an
// ordinary file behind. The file is the program's own image with the repeat
// fields in its DOS header's unused words (offsets 4 and 8).
TEST_F(SettingsProgram, FileThatCanOnlyBeReadIsShownAndLeftAsItIs)
{
    const std::string image =
        WithRepeat(ReadFileBytes(InWindowsFolder(L"Tavrin Fold Keyboard.exe")), 8, 3);
    WriteFileBytes(kSettingsFile, image);
    HANDLE file = CreateFileW(kSettingsFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const std::unique_ptr<void, decltype(&CloseHandle)> mapped(
        CreateFileMappingW(file, nullptr, PAGE_READONLY | SEC_IMAGE, 0, 0, nullptr), CloseHandle);
    CloseHandle(file);
    ASSERT_TRUE(mapped);
    Open();
    EXPECT_EQ(1, Position(IDC_REPEAT_DELAY));
    EXPECT_EQ(3, Position(IDC_REPEAT_RATE));
    Move(IDC_REPEAT_DELAY, 4);
    EXPECT_TRUE(ReadFileBytes(kSettingsFile) == image);
    EXPECT_EQ(std::vector<HWND>{sheet_}, TopLevelWindows(L"#32770"));  // no message
    EXPECT_FALSE(program_.WaitForExit(0));
}

// A Linux system call, made directly: under Wine this process is a Linux process.
template <typename A, typename B, typename C, typename D>
long long LinuxCall(long long number, A a, B b, C c, D d)
{
    long long result;
    register D r10 asm("r10") = d;
    asm volatile("syscall"
                 : "=a"(result)
                 : "0"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                 : "rcx", "r11", "memory");
    return result;
}

// The program can't make a file longer than 4000 bytes, as on full storage: it
// inherits the limit from this process, which Wine forks to start it, and the
// limit's signal ignored, so that such a write fails instead of ending it.
TEST_F(SettingsProgram, WriteThatFailsLeavesWhatTheSaveDidNotChange)
{
    const std::string full = Image('A', 8, 3), cut = Image('a', 16, 1).substr(0, 3000);
    WriteFileBytes(kSettingsFile, full);
    const long long kPrlimit64 = 302, kRtSigaction = 13, kFileSizeLimit = 1, kSigXfsz = 25;
    unsigned long long kept[2], limit[2] = {4000, 0}, ignore[4] = {1 /* SIG_IGN */}, action[4];
    ASSERT_EQ(0, LinuxCall(kPrlimit64, 0, kFileSizeLimit, 0LL, kept));
    limit[1] = kept[1];
    LinuxCall(kPrlimit64, 0, kFileSizeLimit, limit, 0);
    LinuxCall(kRtSigaction, kSigXfsz, ignore, action, 8);
    Open();
    LinuxCall(kPrlimit64, 0, kFileSizeLimit, kept, 0);
    LinuxCall(kRtSigaction, kSigXfsz, action, 0, 8);

    Move(IDC_REPEAT_DELAY, 4);  // in place: needs no room
    EXPECT_TRUE(ReadFileBytes(kSettingsFile) == WithRepeat(full, 20, 3));
    WriteFileBytes(kSettingsFile, cut);
    Move(IDC_REPEAT_DELAY, 0);  // lengthens the file, and fails part-way
    std::string bytes = ReadFileBytes(kSettingsFile);
    EXPECT_LT(bytes.size(), 4976u);
    EXPECT_EQ(WithRepeat(cut, 0, 0), WithRepeat(bytes.substr(0, cut.size()), 0, 0));
    WriteFileBytes(kSettingsFile, full);
    Move(IDC_REPEAT_RATE, 1);  // the next move tries again
    EXPECT_TRUE(ReadFileBytes(kSettingsFile) == WithRepeat(full, 4, 1));
}

}  // namespace
