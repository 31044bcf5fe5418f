// What an earlier installation of the product left behind, and its deletion.
// The tables are public so that the cabinet's description can be checked
// against them.
#pragma once

#include <handheld.h>

// One Start-menu language: the shortcut in the Start-menu folder itself and
// the one in its programs subfolder.
struct ShortcutRow {
    LPCWSTR startMenu;
    LPCWSTR programs;
};

// The shortcuts in every supported Start-menu language, in the order of
// deletion. Rows 5 and 7 repeat paths of rows 1 and 2.
const int kEarlierShortcutRows = 7;
extern const ShortcutRow kEarlierShortcuts[];

// The program files, in the order of deletion; the settings file first.
const int kEarlierProgramFileCount = 6;
extern const LPCWSTR kEarlierProgramFiles[];

// Deletes the Start-menu shortcuts of an earlier installation in every
// supported Start-menu language. Paths that are not there are skipped.
void DeleteShortcuts();

// Deletes the program files of an earlier installation, the settings file
// first. Files that are not there or cannot be deleted are skipped.
void DeleteProgramFiles();
