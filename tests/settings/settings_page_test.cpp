// The Settings page of the real program: the switches talk to the service,
// the sliders show and save the settings file's repeat fields.
#include "program.h"

using namespace test_support;

namespace {

TEST_F(SettingsProgram, SwitchesShowTheServiceStatesAndSendOnlyChanges)
{
    Process service = ServiceStandIn::Start();  // a running service is not started again
    Open();
    ASSERT_TRUE(WaitUntil(  // the service reports both on
        [&] { return Checked(IDC_KEYBOARD_ENABLED) && Checked(IDC_SOUND_ENABLED); }, 5000));
    Click(IDC_SOUND_ENABLED);
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 1 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 0 0"));

    // Reports, the keyboard's also through the main window, set the boxes and
    // the states and send nothing back.
    HWND main = FindWindowW(kMainClass, nullptr);
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0);
    EXPECT_TRUE(Checked(IDC_KEYBOARD_ENABLED));
    SendMessageW(main, KBSVC_KEYBOARD_STATE, 0, 0);
    SendMessageW(page_, KBSVC_SOUND_STATE, 0, 0);
    EXPECT_FALSE(Checked(IDC_KEYBOARD_ENABLED) || Checked(IDC_SOUND_ENABLED));
    Click(IDC_SOUND_ENABLED);
    EXPECT_EQ(2, ServiceStandIn::Count("message 1242 1 0"));
    EXPECT_EQ(4, ServiceStandIn::Count("message 1239") + ServiceStandIn::Count("message 1242"));
    EXPECT_EQ(1, ServiceStandIn::Count("start"));
}

TEST_F(SettingsProgram, WithoutAnswersTheKeyboardCountsAsOffAndTheSoundAsOn)
{
    ServiceStandIn::Set(L"Answers", 0);
    Open();
    Click(IDC_SOUND_ENABLED);
    EXPECT_TRUE(Checked(IDC_SOUND_ENABLED));
    EXPECT_EQ(0, ServiceStandIn::Count("message 1242"));
    Click(IDC_SOUND_ENABLED);
    Click(IDC_KEYBOARD_ENABLED);
    EXPECT_EQ(1, ServiceStandIn::Count("message 1242 0 0"));
    EXPECT_EQ(1, ServiceStandIn::Count("message 1239 1 0"));
}

TEST_F(SettingsProgram, SlidersShowTheStoredCodes)
{
    const struct {
        LONG delayCode, rate, delayPosition, ratePosition;
    } rows[] = {{0, 0, 0, 0},  {4, 1, 0, 1},  {8, 2, 1, 2}, {12, 3, 2, 3},
                {16, 4, 3, 4}, {20, 0, 4, 0}, {24, 9, 4, 4}};  // 0 and 24 beyond the ends
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "delay code " << row.delayCode << ", rate " << row.rate);
        WriteSettingsFile(Image('A', row.delayCode, row.rate));
        Open();
        EXPECT_EQ(row.delayPosition, Position(IDC_REPEAT_DELAY));
        EXPECT_EQ(row.ratePosition, Position(IDC_REPEAT_RATE));
        EndProgramsWithWindow(kMainClass);
    }
}

TEST_F(SettingsProgram, EachSliderSavesBothValuesAndNothingIsWrittenBefore)
{
    Open();
    EXPECT_EQ(0, Position(IDC_REPEAT_DELAY) + Position(IDC_REPEAT_RATE));
    EXPECT_FALSE(FileExists(SettingsFile()));
    Move(IDC_REPEAT_DELAY, 2);
    EXPECT_TRUE(ReadFileBytes(SettingsFile()) == Defaults(12, 0));
    Move(IDC_REPEAT_RATE, 3);
    EXPECT_TRUE(ReadFileBytes(SettingsFile()) == Defaults(12, 3));
}

}  // namespace
