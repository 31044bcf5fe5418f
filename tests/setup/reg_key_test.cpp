// The registry-key holder, in-process, on keys of its own below
// HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include "reg_key.h"

#include <sddl.h>
#include "setup_support.h"

using namespace setup_test;

namespace {

const std::wstring kRoot = L"Software\\Tavrin Tests";

// True while the handle names an open key.
bool IsOpen(HKEY key)
{
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TEST(RegKey, HoldsOneKeyAndDeletesTreesDeepestFirst)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str());
    for (const wchar_t* path : {L"\\tree\\a\\b", L"\\tree\\a\\c", L"\\tree\\d", L"\\treetop",
                                L"\\part\\1\\below", L"\\part\\2 locked", L"\\part\\3"}) {
        PlaceKey(HKEY_CURRENT_USER, kRoot + path);
    }
    HKEY held;
    {
        // Readable and deletable, but not to be opened with every right.
        PSECURITY_DESCRIPTOR readAndDelete = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;;KR;;;WD)(A;;SD;;;WD)", SDDL_REVISION_1, &readAndDelete, nullptr);
        RegKey locked;
        locked.Open(HKEY_CURRENT_USER, (kRoot + L"\\part\\2 locked").c_str(), KEY_ALL_ACCESS);
        RegSetKeySecurity(locked.key, DACL_SECURITY_INFORMATION, readAndDelete);
        LocalFree(readAndDelete);

        RegKey holder;
        EXPECT_EQ(nullptr, holder.key);
        EXPECT_NE(ERROR_SUCCESS, holder.DeleteTree((kRoot + L"\\tree").c_str()));  // none held
        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, kRoot.c_str(), KEY_ALL_ACCESS));
        HKEY first = holder.key;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND,
                  holder.Open(HKEY_CURRENT_USER, (kRoot + L"\\missing").c_str(), KEY_READ));
        EXPECT_EQ(first, holder.key);
        EXPECT_EQ(ERROR_SUCCESS, holder.DeleteTree(L"tree"));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, holder.DeleteTree(L"missing"));
        EXPECT_EQ(ERROR_ACCESS_DENIED, holder.DeleteTree(L"part"));
        EXPECT_EQ((std::vector<std::wstring>{L"", L"\\part", L"\\part\\2 locked", L"\\part\\3",
                                             L"\\treetop"}),
                  KeysBelow(HKEY_CURRENT_USER, kRoot));

        ASSERT_EQ(ERROR_SUCCESS, holder.Open(HKEY_CURRENT_USER, kRoot.c_str(), KEY_READ));
        EXPECT_FALSE(IsOpen(first));
        held = holder.key;
        holder.Close();
        EXPECT_EQ(nullptr, holder.key);
        EXPECT_FALSE(IsOpen(held));
        holder.Close();  // nothing held: nothing happens
        holder.Open(HKEY_CURRENT_USER, kRoot.c_str(), KEY_READ);
        held = holder.key;
    }
    EXPECT_FALSE(IsOpen(held));  // closed by the destructor
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot.c_str());
}

}  // namespace
