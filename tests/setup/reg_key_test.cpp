// The registry-key holder, in-process, on keys of its own below
// HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include "reg_key.h"

#include <sddl.h>
#include "setup_support.h"

using namespace setup_test;

namespace {

// True while the handle names an open key.
bool IsOpen(HKEY key)
{
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TEST(RegKey, HoldsOneKeyAndDeletesTreesDeepestFirst)
{
    const std::wstring root = L"Software\\Tavrin Tests";
    for (const wchar_t* path : {L"\\tree\\a\\b", L"\\tree\\a\\c", L"\\tree\\d", L"\\part\\1\\below",
                                L"\\part\\2 locked", L"\\part\\3"}) {
        PlaceKey(HKEY_CURRENT_USER, root + path);
    }
    // Readable and deletable, but not to be opened with every right.
    PSECURITY_DESCRIPTOR readAndDelete = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)(A;;SD;;;WD)",
                                                         SDDL_REVISION_1, &readAndDelete, nullptr);
    HKEY locked, first, second;
    RegOpenKeyExW(HKEY_CURRENT_USER, (root + L"\\part\\2 locked").c_str(), 0, KEY_ALL_ACCESS,
                  &locked);
    RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, readAndDelete);
    RegCloseKey(locked);
    LocalFree(readAndDelete);
    {
        RegKey holder;
        EXPECT_NE(ERROR_SUCCESS, holder.DeleteTree((root + L"\\tree").c_str()));  // none held
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_ALL_ACCESS));
        first = holder.key;
        EXPECT_NE(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, (root + L"\\no").c_str(), 0));
        EXPECT_EQ(first, holder.key);
        EXPECT_EQ(ERROR_SUCCESS, holder.DeleteTree(L"tree"));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, holder.DeleteTree(L"missing"));
        EXPECT_EQ(ERROR_ACCESS_DENIED, holder.DeleteTree(L"part"));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + L"\\tree"));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + L"\\part\\1"));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, root + L"\\part\\3"));
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_READ));
        EXPECT_FALSE(IsOpen(first));  // closed when another was opened
        holder.Close();
        EXPECT_EQ(nullptr, holder.key);
        holder.Open(HKEY_CURRENT_USER, root.c_str(), KEY_READ);
        second = holder.key;
    }
    EXPECT_FALSE(IsOpen(second));  // closed by the destructor
    RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());
}

}  // namespace
