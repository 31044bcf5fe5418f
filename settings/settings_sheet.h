#pragma once

#include <handheld.h>

// Runs the modal two-page settings sheet over the main window; returns when
// the user has closed it. Always 0.
int RunSettingsSheet(HINSTANCE instance, HWND parent);

int CALLBACK SettingsSheetCallback(HWND sheet, UINT message, LPARAM lParam);

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
