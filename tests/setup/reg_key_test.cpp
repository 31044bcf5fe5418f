// The registry-key holder, in-process, on keys of its own below
// HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include "reg_key.h"

#include <sddl.h>
#include "setup_support.h"

using namespace setup_test;

namespace {

const wchar_t kRoot[] = L"Software\\Tavrin Tests\\RegKey";

class RegKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        PlaceKey(HKEY_CURRENT_USER, kRoot);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrin Tests"); }

    static std::wstring Below(const std::wstring& path)
    {
        return std::wstring(kRoot) + L"\\" + path;
    }
    static bool Exists(const std::wstring& path)
    {
        return KeyExists(HKEY_CURRENT_USER, Below(path));
    }
    static void Place(const std::wstring& path) { PlaceKey(HKEY_CURRENT_USER, Below(path)); }

    // True while the handle names an open key.
    static bool IsOpen(HKEY key)
    {
        DWORD subKeys;
        return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
};

TEST_F(RegKeyTest, OpenHoldsTheKeyAndAFailedOpenKeepsIt)
{
    Place(L"first");
    RegKey holder;
    EXPECT_EQ(nullptr, holder.key);

    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, Below(L"first").c_str(), KEY_READ));
    HKEY first = holder.key;
    EXPECT_TRUE(IsOpen(first));

    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              holder.Open(HKEY_CURRENT_USER, Below(L"missing").c_str(), KEY_READ));
    EXPECT_EQ(first, holder.key);
    EXPECT_TRUE(IsOpen(first));
}

TEST_F(RegKeyTest, OpenClosesTheKeyItHeldAndCloseLeavesNone)
{
    Place(L"first");
    Place(L"second");
    RegKey holder;
    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, Below(L"first").c_str(), KEY_READ));
    HKEY first = holder.key;

    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, Below(L"second").c_str(), KEY_READ));
    EXPECT_NE(first, holder.key);
    EXPECT_FALSE(IsOpen(first));

    HKEY second = holder.key;
    holder.Close();
    EXPECT_EQ(nullptr, holder.key);
    EXPECT_FALSE(IsOpen(second));
    holder.Close();  // nothing held: nothing happens
    EXPECT_EQ(nullptr, holder.key);
}

TEST_F(RegKeyTest, DestructorClosesTheKey)
{
    Place(L"first");
    HKEY held;
    {
        RegKey holder;
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, Below(L"first").c_str(), KEY_READ));
        held = holder.key;
    }
    EXPECT_FALSE(IsOpen(held));
}

TEST_F(RegKeyTest, DeleteTreeDeletesEveryLevelAndNothingBeside)
{
    for (const wchar_t* path : {L"tree\\a\\b\\c", L"tree\\a\\b2", L"tree\\a\\b3\\c\\d", L"tree\\x",
                                L"tree\\y\\z", L"tree-sibling\\kept", L"treetop"}) {
        Place(path);
    }
    RegKey holder;
    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, kRoot, KEY_ALL_ACCESS));

    EXPECT_EQ(ERROR_SUCCESS, holder.DeleteTree(L"tree"));
    EXPECT_FALSE(Exists(L"tree"));
    EXPECT_TRUE(Exists(L"tree-sibling\\kept"));
    EXPECT_TRUE(Exists(L"treetop"));
    EXPECT_TRUE(IsOpen(holder.key));
}

TEST_F(RegKeyTest, DeleteTreeOfAMissingKeyReturnsTheError)
{
    Place(L"kept");
    std::vector<std::wstring> before = RegistrySnapshot(HKEY_CURRENT_USER, kRoot);
    RegKey holder;
    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, kRoot, KEY_ALL_ACCESS));

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, holder.DeleteTree(L"missing"));
    EXPECT_EQ(before, RegistrySnapshot(HKEY_CURRENT_USER, kRoot));
}

TEST_F(RegKeyTest, DeleteTreeStopsAtTheFirstKeyItCannotOpenAndKeepsWhatWentBefore)
{
    for (const wchar_t* path :
         {L"tree\\1 first\\below", L"tree\\2 locked\\below", L"tree\\3 last"}) {
        Place(path);
    }
    // Readable and deletable, but not openable with every right.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KR;;;WD)(A;;SD;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
    HKEY locked;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, Below(L"tree\\2 locked").c_str(), 0,
                                           KEY_ALL_ACCESS, &locked));
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, readOnly));
    RegCloseKey(locked);
    LocalFree(readOnly);

    RegKey holder;
    ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, kRoot, KEY_ALL_ACCESS));
    EXPECT_EQ(ERROR_ACCESS_DENIED, holder.DeleteTree(L"tree"));
    EXPECT_FALSE(Exists(L"tree\\1 first"));
    EXPECT_TRUE(Exists(L"tree\\2 locked\\below"));
    EXPECT_TRUE(Exists(L"tree\\3 last"));
}

TEST_F(RegKeyTest, DeleteTreeWithoutAKeyFailsAndTouchesNothing)
{
    // The same path below both roots, where a null parent could lead.
    const std::wstring path = Below(L"victim");
    Place(L"victim\\child");
    PlaceKey(HKEY_LOCAL_MACHINE, path);
    std::vector<std::wstring> before = RegistrySnapshot(HKEY_CURRENT_USER, kRoot);

    RegKey empty;
    EXPECT_NE(ERROR_SUCCESS, empty.DeleteTree(path.c_str()));
    EXPECT_NE(ERROR_SUCCESS, empty.DeleteTree(L"victim"));
    EXPECT_EQ(before, RegistrySnapshot(HKEY_CURRENT_USER, kRoot));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, path));
    EXPECT_EQ(nullptr, empty.key);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Tavrin Tests");
}

}  // namespace
