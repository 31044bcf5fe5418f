// The handheld's dialog initialisation on the desktop: Done makes a dialog
// fill the work area with OK as its one button.
#include <gtest/gtest.h>

#include <handheld.h>

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

class DialogInit : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog_ = CreateDialogW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100), nullptr, Quiet);
        ASSERT_TRUE(dialog_);
        GetWindowRect(dialog_, &original_);
    }
    void TearDown() override { DestroyWindow(dialog_); }

    BOOL Init(DWORD mask, DWORD flags)
    {
        SHINITDLGINFO info;
        info.dwMask = mask;
        info.hDlg = dialog_;
        info.dwFlags = flags;
        return SHInitDialog(&info);
    }

    RECT Frame() const
    {
        RECT frame;
        GetWindowRect(dialog_, &frame);
        return frame;
    }

    bool Shows(int id) const { return IsWindowVisible(GetDlgItem(dialog_, id)) != FALSE; }

    HWND dialog_ = nullptr;
    RECT original_ = {};
};

TEST_F(DialogInit, DoneButtonFillsTheWorkAreaAndLeavesOkAlone)
{
    EXPECT_TRUE(Init(SHIDIM_FLAGS, SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN));
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT frame = Frame();
    EXPECT_TRUE(EqualRect(&workArea, &frame));
    EXPECT_TRUE(Shows(IDOK));
    EXPECT_FALSE(Shows(IDCANCEL));
}

TEST_F(DialogInit, WithoutDoneButtonNothingChanges)
{
    for (DWORD mask : {0ul, static_cast<unsigned long>(SHIDIM_FLAGS)}) {
        DWORD flags = mask ? SHIDIF_SIPDOWN : SHIDIF_DONEBUTTON;
        EXPECT_TRUE(Init(mask, flags));
        RECT frame = Frame();
        EXPECT_TRUE(EqualRect(&original_, &frame)) << "mask " << mask;
        EXPECT_TRUE(Shows(IDOK));
        EXPECT_TRUE(Shows(IDCANCEL));
    }
}

TEST(DialogInitArguments, RefusesAMissingDialog)
{
    EXPECT_FALSE(SHInitDialog(nullptr));
    SHINITDLGINFO info = {SHIDIM_FLAGS, nullptr, SHIDIF_DONEBUTTON};
    EXPECT_FALSE(SHInitDialog(&info));
}

}  // namespace
