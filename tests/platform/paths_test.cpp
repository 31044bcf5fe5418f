// Handheld paths on the desktop: "\Windows\..." names the Windows folder's
// drive whatever the current directory.
#include <gtest/gtest.h>

#include <handheld.h>

#include <string>

#include "test_support.h"

using namespace test_support;

namespace {

std::wstring Resolve(const wchar_t* path)
{
    wchar_t resolved[MAX_PATH];
    if (!ResolveHandheldPath(path, resolved, MAX_PATH)) {
        return L"<too long>";
    }
    return resolved;
}

std::wstring WindowsDrive()
{
    return WindowsFolder().substr(0, 2);
}

TEST(HandheldPath, RootedPathsTakeTheWindowsDrive)
{
    EXPECT_EQ(WindowsDrive() + L"\\Windows\\R410.inf", Resolve(L"\\Windows\\R410.inf"));
    EXPECT_EQ(WindowsDrive() + L"\\windows\\KeybdR810.exe", Resolve(L"\\windows\\KeybdR810.exe"));
    EXPECT_EQ(WindowsDrive() + L"\\Windows\\Startmenü\\Tavrin Fold Keyboard.lnk",
              Resolve(L"\\Windows\\Startmenü\\Tavrin Fold Keyboard.lnk"));
}

TEST(HandheldPath, OtherPathsPassUnchanged)
{
    EXPECT_EQ(L"Z:\\tmp\\x.inf", Resolve(L"Z:\\tmp\\x.inf"));
    EXPECT_EQ(L"\\\\server\\share\\x", Resolve(L"\\\\server\\share\\x"));
    EXPECT_EQ(L"relative.txt", Resolve(L"relative.txt"));
    EXPECT_EQ(L"", Resolve(L""));
}

TEST(HandheldPath, RefusesWhatDoesNotFit)
{
    wchar_t small[8];
    EXPECT_FALSE(ResolveHandheldPath(L"\\Windows\\R410.inf", small, 8));
    EXPECT_TRUE(ResolveHandheldPath(L"\\abc", small, 8));
    EXPECT_EQ(WindowsDrive() + L"\\abc", std::wstring(small));
    std::wstring tooLong = L"\\" + std::wstring(MAX_PATH, L'a');
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileW(tooLong.c_str(), GENERIC_READ, 0, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(HandheldPath, FilesAreCreatedAndDeletedInTheWindowsFolderFromAnyCurrentDirectory)
{
    const std::wstring real = InWindowsFolder(L"handheld-path-test.tmp");
    RemoveFile(real);
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\tmp"));

    HANDLE file = CreateFileW(L"\\Windows\\handheld-path-test.tmp", GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    EXPECT_TRUE(FileExists(real));
    EXPECT_FALSE(FileExists(L"Z:\\Windows\\handheld-path-test.tmp"));

    EXPECT_TRUE(DeleteFileW(L"\\Windows\\handheld-path-test.tmp"));
    EXPECT_FALSE(FileExists(real));
    EXPECT_FALSE(DeleteFileW(L"\\Windows\\handheld-path-test.tmp"));
}

}  // namespace
