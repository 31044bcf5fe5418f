// Slider positions for the codes in the settings file, in-process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "settings_file.h"
#include "settings_sheet.h"
#include "sheet_watch.h"

using namespace test_support;

namespace {

struct SliderCase {
    LONG delayCode;
    LONG rate;
    int delayPosition;
    int ratePosition;
};

class SliderPositions : public ::testing::TestWithParam<SliderCase> {
protected:
    void TearDown() override { RemoveFile(SettingsFilePath()); }
};

TEST_P(SliderPositions, ShowTheStoredCodes)
{
    const SliderCase& row = GetParam();
    WriteSettingsFile(FullImage(row.delayCode, row.rate));
    LRESULT delay = -1, rate = -1;
    WithSheet([] { RunSettingsSheet(GetModuleHandleW(nullptr), nullptr); },
              [&](HWND sheet) {
                  HWND page = CurrentPage(sheet);
                  delay = SendDlgItemMessageW(page, IDC_REPEAT_DELAY, TBM_GETPOS, 0, 0);
                  rate = SendDlgItemMessageW(page, IDC_REPEAT_RATE, TBM_GETPOS, 0, 0);
              });
    EXPECT_EQ(row.delayPosition, delay);
    EXPECT_EQ(row.ratePosition, rate);
}

INSTANTIATE_TEST_SUITE_P(Codes, SliderPositions,
                         ::testing::Values(SliderCase{0, 0, 0, 0},  // -1, clamped
                                           SliderCase{4, 1, 0, 1}, SliderCase{8, 2, 1, 2},
                                           SliderCase{12, 3, 2, 3}, SliderCase{16, 4, 3, 4},
                                           SliderCase{20, 0, 4, 0},
                                           SliderCase{24, 9, 4, 4}));  // beyond the range

}  // namespace
