// What a save leaves in the settings file: the program writes the two repeat
// fields and keeps every other byte as the file holds it at that moment; this
// process, as another program, holds, rewrites or removes the file.
#include "program.h"

using namespace test_support;

namespace {

enum AtSave { Unchanged, Rewritten, Removed, Held };

// Opens the settings file without sharing, as another program may; creates it if missing.
HANDLE HoldSettingsFile()
{
    return CreateFileW(SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(SettingsProgram, SaveChangesOnlyTheRepeatFieldsOfTheFileAsItIsThen)
{
    const std::string full = Image('A', 8, 3), other = Image('a', 16, 1), none = Defaults(0, 0);
    const std::string shortFile = full.substr(0, 1000), longer = full + std::string(500, 'x');
    const std::string shortLoaded = shortFile + none.substr(1000);
    auto saved = [](const std::string& bytes) {
        return WithRepeat(bytes, 20, 2);
    };
    const struct {
        const char* name;
        const std::string* atOpen;  // null: no file
        bool heldAtOpen;
        AtSave atSave;
        std::string expected;
    } rows[] = {
        {"missing, unchanged", nullptr, false, Unchanged, saved(none)},
        {"missing, rewritten", nullptr, false, Rewritten, saved(other)},
        {"missing, removed", nullptr, false, Removed, saved(none)},
        {"missing, held", nullptr, false, Held, ""},  // created empty by the other program
        {"full, unchanged", &full, false, Unchanged, saved(full)},
        {"full, rewritten", &full, false, Rewritten, saved(other)},
        {"full, removed", &full, false, Removed, saved(full)},
        {"full, held", &full, false, Held, full},
        {"short, unchanged", &shortFile, false, Unchanged, saved(shortLoaded)},
        {"short, rewritten", &shortFile, false, Rewritten, saved(other)},
        {"short, removed", &shortFile, false, Removed, saved(shortLoaded)},
        {"short, held", &shortFile, false, Held, shortFile},
        {"longer, unchanged", &longer, false, Unchanged, saved(full)},
        {"longer, rewritten", &longer, false, Rewritten, saved(other)},
        {"longer, removed", &longer, false, Removed, saved(full)},
        {"longer, held", &longer, false, Held, longer},
        {"held, unchanged", &full, true, Unchanged, saved(full)},
        {"held, rewritten", &full, true, Rewritten, saved(other)},
        {"held, removed", &full, true, Removed, saved(none)},
        {"held, held", &full, true, Held, full},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RemoveFile(SettingsFile());
        if (row.atOpen) {
            WriteSettingsFile(*row.atOpen);
        }
        HANDLE held = row.heldAtOpen ? HoldSettingsFile() : nullptr;
        Open();
        CloseHandle(held);
        held = row.atSave == Held ? HoldSettingsFile() : nullptr;
        if (row.atSave == Rewritten) {
            WriteSettingsFile(other);
        } else if (row.atSave == Removed) {
            RemoveFile(SettingsFile());
        }
        SendMessageW(Item(IDC_REPEAT_DELAY), TBM_SETPOS, TRUE, 4);
        Move(IDC_REPEAT_RATE, 2);
        CloseHandle(held);
        EXPECT_TRUE(ReadFileBytes(SettingsFile()) == row.expected);
        EXPECT_FALSE(program_.WaitForExit(0));
        EndProgramsWithWindow(kMainClass);
    }
}

// A Linux system call, made directly: under Wine this process is a Linux process.
long long LinuxCall(long long number, long long a, long long b, long long c, long long d)
{
    long long result;
    register long long r10 asm("r10") = d;
    asm volatile("syscall"
                 : "=a"(result)
                 : "0"(number), "D"(a), "S"(b), "d"(c), "r"(r10)
                 : "rcx", "r11", "memory");
    return result;
}

long long Address(const void* data)
{
    return reinterpret_cast<long long>(data);
}

// The program runs unable to make a file longer than 4000 bytes, as on full
// storage. Wine starts it as a fork of this process, so it inherits the limit,
// and the limit's signal ignored, which makes such a write fail instead of
// ending the program.
TEST_F(SettingsProgram, WriteThatFailsLeavesWhatTheSaveDidNotChange)
{
    const std::string full = Image('A', 8, 3), cut = Image('a', 16, 1).substr(0, 3000);
    WriteSettingsFile(full);
    const long long kPrlimit64 = 302, kRtSigaction = 13, kFileSizeLimit = 1, kSigXfsz = 25;
    unsigned long long kept[2], limit[2] = {4000, 0}, ignore[4] = {1 /* SIG_IGN */}, action[4];
    ASSERT_EQ(0, LinuxCall(kPrlimit64, 0, kFileSizeLimit, 0, Address(kept)));
    limit[1] = kept[1];
    LinuxCall(kPrlimit64, 0, kFileSizeLimit, Address(limit), 0);
    LinuxCall(kRtSigaction, kSigXfsz, Address(ignore), Address(action), 8);
    Open();
    LinuxCall(kPrlimit64, 0, kFileSizeLimit, Address(kept), 0);
    LinuxCall(kRtSigaction, kSigXfsz, Address(action), 0, 8);

    Move(IDC_REPEAT_DELAY, 4);  // in place: needs no room
    EXPECT_TRUE(ReadFileBytes(SettingsFile()) == WithRepeat(full, 20, 3));
    WriteSettingsFile(cut);
    Move(IDC_REPEAT_DELAY, 0);  // lengthens the file, and fails part-way
    std::string bytes = ReadFileBytes(SettingsFile());
    EXPECT_LT(bytes.size(), 4976u);
    EXPECT_EQ(WithRepeat(cut, 0, 0), WithRepeat(bytes.substr(0, cut.size()), 0, 0));
    WriteSettingsFile(full);
    Move(IDC_REPEAT_RATE, 1);  // the next move tries again
    EXPECT_TRUE(ReadFileBytes(SettingsFile()) == WithRepeat(full, 4, 1));
}

}  // namespace
