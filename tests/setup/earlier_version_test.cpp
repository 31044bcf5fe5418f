// Finding and removing an earlier version's record below HKEY_LOCAL_MACHINE
// "Software\Apps", in-process.
#include <gtest/gtest.h>

#include "earlier_version.h"
#include "setup_support.h"

using namespace setup_test;

namespace {

const wchar_t kOtherProduct[] = L"Software\\Apps\\Other Maker Other Product";

class EarlierVersionRecord : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kAppsKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kAppsKey);
    }

    static bool Present(const wchar_t* version)
    {
        return KeyExists(HKEY_LOCAL_MACHINE, VersionKey(version));
    }
    static void Place(const std::wstring& path) { PlaceKey(HKEY_LOCAL_MACHINE, path); }
    static std::vector<std::wstring> Apps()
    {
        return RegistrySnapshot(HKEY_LOCAL_MACHINE, kAppsKey);
    }
};

TEST_F(EarlierVersionRecord, OnlyTheLowestVersionGoesWithItsWholeTree)
{
    for (const wchar_t* below :
         {L"", L"\\Files", L"\\Files\\Shortcuts", L"\\Files\\Shortcuts\\Deep", L"\\Files\\Other",
          L"\\Registry", L"\\Registry\\Values\\Deeper"}) {
        Place(VersionKey(L"1.00") + below);
    }
    for (const wchar_t* version : {L"0.99", L"1.02", L"3.01"}) {
        Place(VersionKey(version));
    }
    Place(VersionKey(L"1.02") + L"\\Files");
    Place(kOtherProduct);

    RemoveEarlierVersionRecord();

    EXPECT_FALSE(Present(L"1.00"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, VersionKey(L"1.02") + L"\\Files"));
    EXPECT_TRUE(Present(L"0.99"));
    EXPECT_TRUE(Present(L"3.01"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherProduct));

    // One run removes one version.
    RemoveEarlierVersionRecord();
    EXPECT_FALSE(Present(L"1.02"));
    EXPECT_TRUE(Present(L"0.99"));
    EXPECT_TRUE(Present(L"3.01"));
}

TEST_F(EarlierVersionRecord, EveryVersionFromOneToThreeIsFoundByItsTwoDigitName)
{
    for (const wchar_t* version : {L"1.00", L"1.05", L"1.10", L"1.99", L"2.00", L"2.50", L"3.00"}) {
        Place(VersionKey(version) + L"\\Sub");
        Place(kOtherProduct);
        RemoveEarlierVersionRecord();
        EXPECT_FALSE(Present(version)) << testing::PrintToString(std::wstring(version));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherProduct));
    }
}

TEST_F(EarlierVersionRecord, NamesOutsideTheRangeOrFormAreNeverTouched)
{
    for (const wchar_t* version : {L"0.99", L"3.01", L"9.99", L"1.5", L"2.5", L"01.00", L"1.000"}) {
        Place(VersionKey(version) + L"\\Sub");
    }
    Place(L"Software\\Apps\\Tavrin Fold Keyboard");
    Place(kOtherProduct);
    std::vector<std::wstring> before = Apps();

    RemoveEarlierVersionRecord();
    EXPECT_EQ(before, Apps());
}

TEST_F(EarlierVersionRecord, WithoutTheAppsKeyNothingHappens)
{
    RemoveEarlierVersionRecord();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kAppsKey));
}

}  // namespace
