#include "earlier_files.h"

#include <handheld.h>

namespace {

struct ShortcutRow {
    LPCWSTR startMenu;
    LPCWSTR programs;
};

// Rows 5 and 7 repeat paths of rows 1 and 2; a second deletion simply fails.
const ShortcutRow kShortcuts[] = {
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Démarrer\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Démarrer\\Programmes\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Startmenü\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Startmenü\\Programme\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programmi\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menú Inicio\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menú Inicio\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
};
static_assert(sizeof(kShortcuts) / sizeof(kShortcuts[0]) == 7, "seven Start-menu rows");

// In the order of deletion. The settings file goes too, so a reinstallation
// starts from the default settings.
const LPCWSTR kProgramFiles[] = {
    L"\\Windows\\R410.inf",      L"\\Windows\\Tavrin Fold Keyboard.exe",
    L"\\Windows\\KeybdR410.exe", L"\\Windows\\SetupR410.dll",
    L"\\Windows\\KeyTap.wav",    L"\\Windows\\RSNR410.dll",
};
static_assert(sizeof(kProgramFiles) / sizeof(kProgramFiles[0]) == 6, "six program files");

}  // namespace

void DeleteShortcuts()
{
    for (const ShortcutRow& row : kShortcuts) {
        DeleteFileW(row.startMenu);
        DeleteFileW(row.programs);
    }
}

void DeleteProgramFiles()
{
    for (LPCWSTR path : kProgramFiles) {
        DeleteFileW(path);
    }
}
