// The Settings page when its record can't be allocated: it opens with both
// sliders at 0, slider moves save nothing, and nothing crashes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "app_state.h"
#include "keyboard_settings.h"
#include "resources/resource.h"
#include "settings_file.h"
#include "settings_sheet.h"
#include "sheet_watch.h"

namespace {

// While set, allocating a record fails as `new` does on the handheld.
std::atomic<bool> recordAllocationFails(false);

}  // namespace

// Returning null from this `new` is the point here; the code under test is
// built with -fcheck-new, as the deliverables are. (For the static analysis,
// whose compiler would object.)
#ifdef __clang__
#pragma clang diagnostic ignored "-Wnew-returns-null"
#pragma clang diagnostic ignored "-Wnonnull"
#endif

void* operator new(std::size_t size)
{
    if (size == sizeof(KeyboardSettings) && recordAllocationFails) {
        return nullptr;
    }
    void* block = std::malloc(size ? size : 1);
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

using namespace test_support;

namespace {

TEST(SettingsPageWithoutRecord, OpensWithSlidersAtZeroAndSavesNothing)
{
    WriteSettingsFile(FullImage(16, 3));
    std::string before = ReadSettingsFile();
    LRESULT delay = -1, rate = -1;
    bool focusInTestField = false;
    recordAllocationFails = true;
    WithSheet([] { RunSettingsSheet(GetModuleHandleW(nullptr), nullptr); },
              [&](HWND sheet) {
                  HWND page = CurrentPage(sheet);
                  EXPECT_EQ(nullptr, keyboardSettings);
                  delay = SendDlgItemMessageW(page, IDC_REPEAT_DELAY, TBM_GETPOS, 0, 0);
                  rate = SendDlgItemMessageW(page, IDC_REPEAT_RATE, TBM_GETPOS, 0, 0);
                  HWND slider = GetDlgItem(page, IDC_REPEAT_DELAY);
                  SendMessageW(slider, TBM_SETPOS, TRUE, 3);
                  SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3),
                               reinterpret_cast<LPARAM>(slider));
                  focusInTestField = FocusedWindow(page) == GetDlgItem(page, IDC_TEST_FIELD);
              });
    recordAllocationFails = false;
    EXPECT_EQ(0, delay);
    EXPECT_EQ(0, rate);
    EXPECT_TRUE(focusInTestField);
    EXPECT_EQ(before, ReadSettingsFile());
    RemoveFile(SettingsFilePath());
}

}  // namespace
