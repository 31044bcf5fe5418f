// The hooks on a freshly made Wine prefix, where no earlier installation
// exists: what they leave is compared with what was there before, file by
// file and key by key.
#include <gtest/gtest.h>

#include "message_box_watch.h"
#include "setup_support.h"
#include "test_support.h"

using namespace setup_test;
using namespace test_support;

namespace {

struct PrefixState {
    std::vector<std::wstring> windowsFolder;
    std::vector<std::wstring> apps;
    std::vector<std::wstring> drivers;

    static PrefixState Now()
    {
        return {FolderSnapshot(WindowsFolder()), RegistrySnapshot(HKEY_LOCAL_MACHINE, kAppsKey),
                RegistrySnapshot(HKEY_LOCAL_MACHINE, L"Drivers")};
    }
};

// Lines in a but not in b.
std::vector<std::wstring> Missing(const std::vector<std::wstring>& a,
                                  const std::vector<std::wstring>& b)
{
    std::vector<std::wstring> missing;
    for (const std::wstring& line : a) {
        if (std::find(b.begin(), b.end(), line) == b.end()) {
            missing.push_back(line);
        }
    }
    return missing;
}

void ExpectSameState(const PrefixState& before, const PrefixState& after)
{
    EXPECT_EQ(std::vector<std::wstring>{}, Missing(after.windowsFolder, before.windowsFolder))
        << "added to C:\\windows";
    EXPECT_EQ(std::vector<std::wstring>{}, Missing(before.windowsFolder, after.windowsFolder))
        << "gone from C:\\windows";
    EXPECT_EQ(before.apps, after.apps);
    EXPECT_EQ(before.drivers, after.drivers);
}

TEST(CleanPrefix, InstallInitWaitsAndChangesNothing)
{
    PrefixState before = PrefixState::Now();
    ASSERT_TRUE(before.apps.empty());
    SetupLibrary hooks;
    ASSERT_TRUE(hooks.installInit);

    codeINSTALL_INIT result = codeINSTALL_INIT_CANCEL;
    ULONGLONG elapsed =
        Timed([&] { result = hooks.installInit(nullptr, TRUE, FALSE, L"\\Windows"); });

    EXPECT_EQ(codeINSTALL_INIT_CONTINUE, result);
    EXPECT_GE(elapsed, 1000u);
    ExpectSameState(before, PrefixState::Now());
}

}  // namespace
