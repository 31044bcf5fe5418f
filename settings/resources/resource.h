#pragma once

#define IDI_PROGRAM 114

#define IDD_INFO_PAGE 130
#define IDD_SETTINGS_PAGE 134

// Settings page controls
#define IDC_TEST_FIELD 1005
#define IDC_KEYBOARD_ENABLED 1200
#define IDC_SOUND_ENABLED 1201
#define IDC_REPEAT_DELAY 1202
#define IDC_REPEAT_RATE 1203

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
