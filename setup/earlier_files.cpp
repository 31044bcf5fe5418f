#include "earlier_files.h"

// Rows 5 and 7 repeat paths of rows 1 and 2; a second deletion simply fails.
// The accented letters (e acute, u umlaut, u acute) are hex escapes of their
// UTF-16 units: every compiler reads them alike, whatever code page it reads
// the source in.
const ShortcutRow kEarlierShortcuts[] = {
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu D\x00e9marrer\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu D\x00e9marrer\\Programmes\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Startmen\x00fc\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Startmen\x00fc\\Programme\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Start Menu\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Start Menu\\Programmi\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Men\x00fa Inicio\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Men\x00fa Inicio\\Programas\\Tavrin Fold Keyboard.lnk"},
    {L"\\Windows\\Menu Iniciar\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Menu Iniciar\\Programas\\Tavrin Fold Keyboard.lnk"},
};
C_ASSERT(sizeof(kEarlierShortcuts) / sizeof(kEarlierShortcuts[0]) == kEarlierShortcutRows);

// The settings file goes too, so a reinstallation starts from the default
// settings.
const LPCWSTR kEarlierProgramFiles[] = {
    L"\\Windows\\R410.inf",      L"\\Windows\\Tavrin Fold Keyboard.exe",
    L"\\Windows\\KeybdR410.exe", L"\\Windows\\SetupR410.dll",
    L"\\Windows\\KeyTap.wav",    L"\\Windows\\RSNR410.dll",
};
C_ASSERT(sizeof(kEarlierProgramFiles) / sizeof(kEarlierProgramFiles[0]) ==
         kEarlierProgramFileCount);

void DeleteShortcuts()
{
    for (int row = 0; row < kEarlierShortcutRows; ++row) {
        DeleteFileW(kEarlierShortcuts[row].startMenu);
        DeleteFileW(kEarlierShortcuts[row].programs);
    }
}

void DeleteProgramFiles()
{
    for (int file = 0; file < kEarlierProgramFileCount; ++file) {
        DeleteFileW(kEarlierProgramFiles[file]);
    }
}
