// The Settings page: the keyboard and key-sound switches (states kept by the
// keyboard service), the repeat delay and rate (kept in the settings file),
// and a field to try the keyboard in.
#include <keyboard_service.h>

#include <new>

#include "app_state.h"
#include "keyboard_settings.h"
#include "resources/resource.h"
#include "settings_sheet.h"

namespace {

const int kSliderPositions = 5;  // 0 to 4

// The delay is stored as (position + 1) * 4, the rate as the position itself.
LONG DelayCodeFromPosition(LRESULT position)
{
    return static_cast<LONG>((position + 1) * 4);
}

LONG PositionFromDelayCode(LONG code)
{
    return code / 4 - 1;  // code 0 gives -1, which the slider clamps to 0
}

void SetUpSlider(HWND page, int id, LONG position)
{
    SendDlgItemMessageW(page, id, TBM_SETRANGE, TRUE, MAKELONG(0, kSliderPositions - 1));
    SendDlgItemMessageW(page, id, TBM_SETTICFREQ, 1, 0);
    SendDlgItemMessageW(page, id, TBM_SETPOS, TRUE, position);
}

void GiveFocusToTestField(HWND page)
{
    SetFocus(GetDlgItem(page, IDC_TEST_FIELD));
}

void OnInitDialog(HWND page)
{
    settingsPageWindow = page;
    keyboardSettings = new (std::nothrow) KeyboardSettings(page);
    LONG delayPosition = 0;
    LONG ratePosition = 0;
    if (keyboardSettings) {
        keyboardSettings->Load();
        delayPosition = PositionFromDelayCode(keyboardSettings->repeatDelayCode);
        ratePosition = keyboardSettings->repeatRate;
    }
    SetUpSlider(page, IDC_REPEAT_DELAY, delayPosition);
    SetUpSlider(page, IDC_REPEAT_RATE, ratePosition);

    // The answers arrive later as KBSVC_KEYBOARD_STATE and KBSVC_SOUND_STATE.
    PostMessageW(serviceWindow, KBSVC_QUERY_KEYBOARD, reinterpret_cast<WPARAM>(page), 0);
    PostMessageW(serviceWindow, KBSVC_QUERY_SOUND, reinterpret_cast<WPARAM>(page), 0);
    GiveFocusToTestField(page);
}

// A click on a switch: tells the service when the box and the state differ.
void OnSwitchClicked(HWND page, int box, DWORD& state, UINT setMessage)
{
    bool checked = SendDlgItemMessageW(page, box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked == (state != 0)) {
        return;
    }
    state = checked ? 1 : 0;
    SendMessageW(serviceWindow, setMessage, state, 0);
}

void OnCommand(HWND page, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDC_KEYBOARD_ENABLED:
        OnSwitchClicked(page, IDC_KEYBOARD_ENABLED, keyboardEnabled, KBSVC_SET_KEYBOARD);
        break;
    case IDC_SOUND_ENABLED:
        OnSwitchClicked(page, IDC_SOUND_ENABLED, soundEnabled, KBSVC_SET_SOUND);
        break;
    }
}

// Every slider movement saves the two repeat values at once.
void OnSliderMoved(HWND page)
{
    if (keyboardSettings) {
        keyboardSettings->repeatDelayCode =
            DelayCodeFromPosition(SendDlgItemMessageW(page, IDC_REPEAT_DELAY, TBM_GETPOS, 0, 0));
        keyboardSettings->repeatRate =
            static_cast<LONG>(SendDlgItemMessageW(page, IDC_REPEAT_RATE, TBM_GETPOS, 0, 0));
        keyboardSettings->Save();
    }
    GiveFocusToTestField(page);
}

// The service's report: the box shows the service's state.
void OnStateReport(HWND page, int box, DWORD& state, WPARAM reported)
{
    state = static_cast<DWORD>(reported);
    SendDlgItemMessageW(page, box, BM_SETCHECK, reported ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OnPaint(HWND page)
{
    PAINTSTRUCT paint;
    BeginPaint(page, &paint);
    EndPaint(page, &paint);
}

void OnDestroy()
{
    // Every change has been saved already.
    delete keyboardSettings;
    keyboardSettings = NULL;
    settingsPageWindow = NULL;
}

}  // namespace

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        break;
    case WM_COMMAND:
        OnCommand(page, wParam);
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_REPEAT_DELAY) ||
            reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_REPEAT_RATE)) {
            OnSliderMoved(page);
        }
        break;
    case WM_PAINT:
        OnPaint(page);
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case KBSVC_KEYBOARD_STATE:
        OnStateReport(page, IDC_KEYBOARD_ENABLED, keyboardEnabled, wParam);
        break;
    case KBSVC_SOUND_STATE:
        OnStateReport(page, IDC_SOUND_ENABLED, soundEnabled, wParam);
        break;
    }
    return 0;
}
