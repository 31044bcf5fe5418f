// The window handle that control code 3 receives as a 32-bit word, read back
// from the driver's state: window handles are 32-bit significant, and a
// 64-bit platform widens them with their sign, as it widens every 32-bit handle.
#include <gtest/gtest.h>

#include "driver_state.h"
#include "rsn.h"

namespace {

HWND Registered(DWORD word)
{
    EXPECT_TRUE(RSN_IOControl(1, RSN_IOCTL_SET_WINDOW, reinterpret_cast<PBYTE>(&word), sizeof(word),
                              nullptr, 0, nullptr));
    return clientWindow;
}

HWND Handle(unsigned long long value)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
}

TEST(DriverState, WindowWordsAreWidenedWithTheirSign)
{
    EXPECT_EQ(Handle(0x00010042), Registered(0x00010042));
    EXPECT_EQ(Handle(0xFFFFFFFF80010042), Registered(0x80010042));
    EXPECT_EQ(Handle(0x7FFFFFFE), Registered(0x7FFFFFFE));
}

}  // namespace
