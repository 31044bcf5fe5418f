// The keyboard service KeybdR410: a separate program of the product that the
// settings program starts and talks to with window messages, and that the
// installer hooks close with WM_CLOSE.
#pragma once

#include <handheld.h>

#define KBSVC_EXECUTABLE L"\\Windows\\KeybdR410.exe"  // started without a command line
#define KBSVC_WINDOW_CLASS L"KeybdR410"               // its top-level window

// Messages (absolute numbers). Queries are posted with the window to answer
// in wParam; the answers carry the state in wParam (0 = off, non-zero = on).
// The set messages are sent with the new state (0 or 1) in wParam.
const UINT KBSVC_QUERY_KEYBOARD = 1237;  // answered with KBSVC_KEYBOARD_STATE
const UINT KBSVC_KEYBOARD_STATE = 1238;
const UINT KBSVC_SET_KEYBOARD = 1239;
const UINT KBSVC_QUERY_SOUND = 1240;  // answered with KBSVC_SOUND_STATE
const UINT KBSVC_SOUND_STATE = 1241;
const UINT KBSVC_SET_SOUND = 1242;
