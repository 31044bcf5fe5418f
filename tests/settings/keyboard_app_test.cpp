// The application object and its main window, run in the test's own process
// against the keyboard-service stand-in.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app_state.h"
#include "keyboard_app.h"
#include "keyboard_service.h"
#include "service_standin.h"
#include "sheet_watch.h"
#include "test_support.h"

using namespace test_support;

namespace {

class KeyboardAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EndProgramsWithWindow(MAIN_WINDOW_CLASS);
        ServiceStandIn::Reset();
        service_ = ServiceStandIn::Start();
        ASSERT_TRUE(ServiceStandIn::Window());
        settingsPageWindow = nullptr;
    }
    void TearDown() override
    {
        EndProgramsWithWindow(MAIN_WINDOW_CLASS);
        ServiceStandIn::End();
    }

    Process service_;
};

// Calls onCreated(mainWindow) right after the main window has handled WM_CREATE.
class MainWindowCreation {
public:
    explicit MainWindowCreation(std::function<void(HWND)> onCreated)
    {
        onCreated_ = std::move(onCreated);
        hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    }
    ~MainWindowCreation() { UnhookWindowsHookEx(hook_); }

private:
    static LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam)
    {
        auto* message = reinterpret_cast<CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_CREATE &&
            ClassName(message->hwnd) == MAIN_WINDOW_CLASS) {
            onCreated_(message->hwnd);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::function<void(HWND)> onCreated_;
    HHOOK hook_;
};

TEST_F(KeyboardAppTest, RunsTheSheetOverItsMainWindowAndClosesItAfterwards)
{
    KeyboardApp app;
    HWND returned = nullptr;
    WithSheet([&] { returned = app.InitInstance(GetModuleHandleW(nullptr)); },
              [&](HWND sheet) {
                  HWND main = FindWindowW(MAIN_WINDOW_CLASS, nullptr);
                  ASSERT_TRUE(main);
                  EXPECT_EQ(main, GetWindow(sheet, GW_OWNER));
                  EXPECT_EQ(L"Tavrin Fold KB", WindowText(main));
                  EXPECT_EQ(static_cast<LONG>(WS_VISIBLE),
                            GetWindowLongW(main, GWL_STYLE) & (WS_VISIBLE | WS_CHILD | WS_POPUP));
                  RECT frame;
                  GetWindowRect(main, &frame);
                  EXPECT_EQ(0, frame.left);
                  EXPECT_EQ(0, frame.top);
                  EXPECT_EQ(240, frame.right - frame.left);
                  EXPECT_EQ(268, frame.bottom - frame.top);
                  HWND bar = FindWindowExW(main, nullptr, L"HandheldMenuBar", nullptr);
                  EXPECT_TRUE(bar && IsWindowVisible(bar));
              });

    EXPECT_EQ(ServiceStandIn::Window(), serviceWindow);
    ASSERT_TRUE(returned);
    EXPECT_FALSE(IsWindow(returned));
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}

TEST_F(KeyboardAppTest, KeyboardReportBeforeThePageExistsIsHarmless)
{
    LRESULT answer = -1;
    MainWindowCreation creation([&](HWND main) {
        ASSERT_EQ(nullptr, settingsPageWindow);
        answer = SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0);
    });
    KeyboardApp app;
    HWND returned = nullptr;
    WithSheet([&] { returned = app.InitInstance(GetModuleHandleW(nullptr)); }, [](HWND) {});
    EXPECT_EQ(0, answer);
    EXPECT_TRUE(returned);
}

TEST_F(KeyboardAppTest, KeyboardReportIsForwardedToTheSettingsPage)
{
    MessageRecorder page;
    MainWindowCreation creation([&](HWND main) {
        settingsPageWindow = page.Window();
        SendMessageW(main, KBSVC_KEYBOARD_STATE, 1, 0x55);
        SendMessageW(main, KBSVC_KEYBOARD_STATE, 0, 0);
    });
    KeyboardApp app;
    WithSheet([&] { app.InitInstance(GetModuleHandleW(nullptr)); }, [](HWND) {});

    const auto& received = page.Received();
    ASSERT_EQ(2u, received.size());
    EXPECT_EQ(KBSVC_KEYBOARD_STATE, received[0].number);
    EXPECT_EQ(1u, received[0].wParam);
    EXPECT_EQ(0, received[0].lParam);
    EXPECT_EQ(0u, received[1].wParam);
}

TEST_F(KeyboardAppTest, SecondInstanceRegistersNoClassAndCreatesNoWindow)
{
    InstallProgram(L"Tavrin Fold Keyboard.exe", L"Tavrin Fold Keyboard.exe");
    Process first(InWindowsFolder(L"Tavrin Fold Keyboard.exe"));
    ASSERT_TRUE(WaitForWindow(L"#32770", L"Tavrin R412 Keyboard", 15000));
    HWND firstMain = FindWindowW(MAIN_WINDOW_CLASS, nullptr);

    KeyboardApp app;
    EXPECT_EQ(nullptr, app.InitInstance(GetModuleHandleW(nullptr)));

    WNDCLASSW registered;
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), MAIN_WINDOW_CLASS, &registered));
    EXPECT_EQ(std::vector<HWND>{firstMain}, TopLevelWindows(MAIN_WINDOW_CLASS));
    // The first instance's sheet, owned by its main window, comes to the front.
    EXPECT_EQ(firstMain, GetAncestor(GetForegroundWindow(), GA_ROOTOWNER));
}

}  // namespace
