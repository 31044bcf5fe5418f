// The stand-ins that the installer hooks close: the other model's service and
// the state window.
#include <gtest/gtest.h>

#include "test_support.h"
#include "window_standin.h"

using namespace test_support;

namespace {

TEST(ClosingWindowStandIns, RecordTheirStartAndCloseAndEndOnClose)
{
    for (const WindowStandIn& standIn : {WindowStandIn(L"KeybdR810.exe", L"KeybdR810"),
                                         WindowStandIn(L"StateWindow.exe", L"STATEWINDOW")}) {
        standIn.Reset();
        Process program = standIn.Start();
        HWND window = standIn.Window();
        ASSERT_TRUE(window);
        EXPECT_FALSE(IsWindowVisible(window));

        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitForExit(5000));

        std::vector<std::string> record = standIn.Record();
        ASSERT_EQ(3u, record.size());
        EXPECT_EQ("start " + std::to_string(program.Id()) + " ",
                  record[0].substr(0, record[0].rfind(' ') + 1));
        EXPECT_EQ("exit", record[2]);
        std::vector<ULONGLONG> starts = standIn.Ticks("start");
        std::vector<ULONGLONG> closes = standIn.Ticks("close");
        ASSERT_EQ(1u, starts.size());
        ASSERT_EQ(1u, closes.size());
        EXPECT_LE(starts[0], closes[0]);
        EXPECT_LE(closes[0], GetTickCount64());
        standIn.Remove();
    }
}

}  // namespace
