#include "earlier_files.h"

// Rows 5 and 7 repeat paths of rows 1 and 2; a second deletion simply fails.
// The accented letters (e acute, u umlaut, u acute) are escaped: every
// compiler reads an escape alike, whatever code page it reads the source in.
const ShortcutRow kEarlierShortcuts[] = {
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu D\u00e9marrer\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu D\u00e9marrer\\Programmes\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Startmen\u00fc\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Startmen\u00fc\\Programme\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programmi\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Men\u00fa Inicio\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Men\u00fa Inicio\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
};
static_assert(sizeof(kEarlierShortcuts) / sizeof(kEarlierShortcuts[0]) == kEarlierShortcutRows,
              "seven Start-menu rows");

// The settings file goes too, so a reinstallation starts from the default
// settings.
const LPCWSTR kEarlierProgramFiles[] = {
    L"\\Windows\\R410.inf",      L"\\Windows\\Tavrin Fold Keyboard.exe",
    L"\\Windows\\KeybdR410.exe", L"\\Windows\\SetupR410.dll",
    L"\\Windows\\KeyTap.wav",    L"\\Windows\\RSNR410.dll",
};
static_assert(sizeof(kEarlierProgramFiles) / sizeof(kEarlierProgramFiles[0]) ==
                  kEarlierProgramFileCount,
              "six program files");

void DeleteShortcuts()
{
    for (const ShortcutRow& row : kEarlierShortcuts) {
        DeleteFileW(row.startMenu);
        DeleteFileW(row.programs);
    }
}

void DeleteProgramFiles()
{
    for (LPCWSTR path : kEarlierProgramFiles) {
        DeleteFileW(path);
    }
}
