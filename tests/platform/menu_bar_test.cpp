// The handheld's empty menu bar on the desktop.
#include <gtest/gtest.h>

#include <handheld.h>

#include "test_support.h"

namespace {

class MenuBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 240,
                                  268, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }

    SHMENUBARINFO EmptyBarFor(HWND parent)
    {
        SHMENUBARINFO info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.hwndParent = parent;
        info.dwFlags = SHCMBF_EMPTYBAR;
        info.hInstRes = GetModuleHandleW(nullptr);
        return info;
    }

    HWND parent_ = nullptr;
};

TEST_F(MenuBar, IsAnEmptyBarAlongTheBottomOfItsParent)
{
    SHMENUBARINFO info = EmptyBarFor(parent_);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    HWND bar = info.hwndMB;
    ASSERT_TRUE(bar);
    EXPECT_EQ(parent_, GetParent(bar));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_FALSE(GetWindow(bar, GW_CHILD));

    RECT client, area;
    GetClientRect(parent_, &client);
    GetWindowRect(bar, &area);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&area), 2);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(client.right, area.right);
    EXPECT_EQ(client.bottom, area.bottom);
    EXPECT_EQ(26, area.bottom - area.top);

    EXPECT_TRUE(DestroyWindow(bar));
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_TRUE(IsWindow(parent_));
}

TEST_F(MenuBar, FailsWithoutAParentOrInformation)
{
    SHMENUBARINFO info = EmptyBarFor(nullptr);
    info.hwndMB = reinterpret_cast<HWND>(1);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(nullptr, info.hwndMB);
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
}

}  // namespace
