// The Settings page of the real program, driven from this process as
// automation does, with the keyboard-service stand-in beside it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "resources/resource.h"
#include "service_standin.h"
#include "settings_file.h"
#include "test_support.h"

using namespace test_support;

namespace {

const wchar_t kMainClass[] = L"Fold Keyboard";

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndProgramsWithWindow(kMainClass);
        ServiceStandIn::Reset();
        InstallProgram(L"Tavrin Fold Keyboard.exe", L"Tavrin Fold Keyboard.exe");
        RemoveFile(SettingsFilePath());
    }

    void TearDown() override
    {
        EndProgramsWithWindow(kMainClass);
        ServiceStandIn::End();
        RemoveFile(SettingsFilePath());
    }

    // Starts the program and waits for its Settings page and the service's answers.
    void Open()
    {
        settings_ = Process(InWindowsFolder(L"Tavrin Fold Keyboard.exe"));
        HWND sheet = WaitForWindow(L"#32770", L"Tavrin R412 Keyboard", 15000);
        ASSERT_TRUE(sheet);
        page_ = CurrentPage(sheet);
        ASSERT_TRUE(GetDlgItem(page_, IDC_TEST_FIELD));
        ASSERT_TRUE(WaitUntil([] { return ServiceStandIn::Count("message 1240") > 0; }, 5000));
        DrainPage();
    }

    // Returns once the page has handled everything queued for it so far,
    // the service's answers included.
    void DrainPage()
    {
        HWND service = ServiceStandIn::Window();
        if (service) {
            SendMessageW(service, WM_NULL, 0, 0);  // it has posted what it was answering
        }
        HWND field = Item(IDC_TEST_FIELD);
        static LPARAM mark = 1000;
        ++mark;
        PostMessageW(field, EM_SETLIMITTEXT, mark, 0);
        WaitUntil([&] { return SendMessageW(field, EM_GETLIMITTEXT, 0, 0) == mark; }, 5000);
    }

    HWND Item(int id) const { return GetDlgItem(page_, id); }
    LRESULT Position(int slider) const { return SendMessageW(Item(slider), TBM_GETPOS, 0, 0); }
    bool Checked(int box) const
    {
        return SendMessageW(Item(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Click(int box) const { SendMessageW(Item(box), BM_CLICK, 0, 0); }

    // Moves a slider as the user's drag ends.
    void Move(int slider, int position)
    {
        SendMessageW(Item(slider), TBM_SETPOS, TRUE, position);
        SendMessageW(page_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                     reinterpret_cast<LPARAM>(Item(slider)));
    }

    HWND Focus() const { return FocusedWindow(page_); }

    SettingsFileImage FileImage() const
    {
        std::string bytes = ReadSettingsFile();
        SettingsFileImage image = {};
        std::memcpy(&image, bytes.data(), std::min(bytes.size(), sizeof(image)));
        return image;
    }

    Process settings_;
    HWND page_ = nullptr;
};

TEST_F(SettingsPage, OpensWithTheCaretInTheTestField)
{
    Open();
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());
}

TEST_F(SettingsPage, WithoutAFileShowsDefaultsAndWritesOnlyWhenASliderMoves)
{
    Open();
    EXPECT_EQ(0, Position(IDC_REPEAT_DELAY));
    EXPECT_EQ(0, Position(IDC_REPEAT_RATE));
    EXPECT_FALSE(FileExists(SettingsFilePath()));

    Move(IDC_REPEAT_DELAY, 2);
    std::string written = ReadSettingsFile();
    ASSERT_EQ(4976u, written.size());
    SettingsFileImage expected = {};
    lstrcpyW(expected.tag, L"D");
    expected.repeatDelayCode = 12;
    expected.repeatRate = 0;
    EXPECT_EQ(0, std::memcmp(&expected, written.data(), sizeof(expected)));
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());

    Move(IDC_REPEAT_RATE, 3);
    EXPECT_EQ(12, FileImage().repeatDelayCode);
    EXPECT_EQ(3, FileImage().repeatRate);
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());
}

TEST_F(SettingsPage, SliderMovesChangeOnlyTheTwoRepeatFields)
{
    SettingsFileImage image = FullImage(8, 3);
    WriteSettingsFile(image);
    Open();
    EXPECT_EQ(1, Position(IDC_REPEAT_DELAY));
    EXPECT_EQ(3, Position(IDC_REPEAT_RATE));

    Move(IDC_REPEAT_DELAY, 4);  // the right end: long
    image.repeatDelayCode = 20;
    std::string written = ReadSettingsFile();
    ASSERT_EQ(sizeof(image), written.size());
    EXPECT_EQ(0, std::memcmp(&image, written.data(), sizeof(image)));

    Move(IDC_REPEAT_RATE, 0);
    image.repeatRate = 0;
    EXPECT_EQ(0, std::memcmp(&image, ReadSettingsFile().data(), sizeof(image)));
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());
}

TEST_F(SettingsPage, FileHeldByAnotherProgramGivesDefaultsAndTheProgramGoesOn)
{
    SettingsFileImage image = FullImage(16, 2);
    WriteSettingsFile(image);
    HANDLE held = CreateFileW(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Open();
    EXPECT_EQ(0, Position(IDC_REPEAT_DELAY));
    EXPECT_EQ(0, Position(IDC_REPEAT_RATE));

    Move(IDC_REPEAT_RATE, 1);
    CloseHandle(held);
    EXPECT_EQ(0, std::memcmp(&image, ReadSettingsFile().data(), sizeof(image)));
    EXPECT_FALSE(settings_.WaitForExit(0));
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());
}

TEST_F(SettingsPage, ReadOnlyFileIsShownButNeverRewritten)
{
    SettingsFileImage image = FullImage(12, 4);
    WriteSettingsFile(image);
    if (!MakeSettingsFileReadOnly()) {
        GTEST_SKIP() << "read-only files stay writable here (run by the superuser)";
    }
    Open();
    EXPECT_EQ(2, Position(IDC_REPEAT_DELAY));
    EXPECT_EQ(4, Position(IDC_REPEAT_RATE));

    Move(IDC_REPEAT_DELAY, 0);
    Move(IDC_REPEAT_RATE, 0);
    EXPECT_EQ(0, std::memcmp(&image, ReadSettingsFile().data(), sizeof(image)));
    EXPECT_FALSE(settings_.WaitForExit(0));
}

TEST_F(SettingsPage, FileThatCannotBeRewrittenStaysAsItWasAndThePageGoesOn)
{
    SettingsFileImage image = FullImage(12, 4);
    WriteSettingsFile(image);
    Open();
    ASSERT_EQ(2, Position(IDC_REPEAT_DELAY));
    HANDLE held = CreateFileW(SettingsFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    Move(IDC_REPEAT_DELAY, 0);
    Move(IDC_REPEAT_RATE, 1);
    CloseHandle(held);
    EXPECT_EQ(0, std::memcmp(&image, ReadSettingsFile().data(), sizeof(image)));
    EXPECT_EQ(Item(IDC_TEST_FIELD), Focus());

    // Once the file is free again the next move saves what the page shows.
    Move(IDC_REPEAT_RATE, 2);
    EXPECT_EQ(4, FileImage().repeatDelayCode);
    EXPECT_EQ(2, FileImage().repeatRate);
}

TEST_F(SettingsPage, SwitchesShowTheServiceStatesAndSendEveryChange)
{
    ServiceStandIn::Set(L"Keyboard", 1);
    ServiceStandIn::Set(L"Sound", 0);
    Open();
    EXPECT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_FALSE(Checked(IDC_SOUND_ENABLED));

    Click(IDC_SOUND_ENABLED);
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 1 0"));
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));

    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 0 0"));
    EXPECT_EQ(0u, ServiceStandIn::Get(L"Keyboard", 1));
}

TEST_F(SettingsPage, ServiceReportsAtTheMainWindowReachThePageAndSendNothingBack)
{
    ServiceStandIn::Set(L"Keyboard", 1);
    ServiceStandIn::Set(L"Sound", 1);
    Open();
    ASSERT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    ASSERT_TRUE(Checked(IDC_SOUND_ENABLED));

    SendMessageW(FindWindowW(kMainClass, nullptr), 1238, 0, 0);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    SendMessageW(page_, 1241, 0, 0);  // a sound report of 0 clears its box too
    EXPECT_FALSE(Checked(IDC_SOUND_ENABLED));
    EXPECT_EQ(0, ServiceStandIn::Count("message 1239"));
    EXPECT_EQ(0, ServiceStandIn::Count("message 1242"));
}

TEST_F(SettingsPage, WithoutAnswersTheFirstSoundClickSendsNothing)
{
    ServiceStandIn::Set(L"Answers", 0);
    Open();
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_FALSE(Checked(IDC_SOUND_ENABLED));

    Click(IDC_SOUND_ENABLED);  // checks the box; the sound is taken to be on already
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    EXPECT_EQ(0, ServiceStandIn::Count("message 1242"));
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));

    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 1 0"));
}

}  // namespace
