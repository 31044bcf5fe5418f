#include "cabinet.h"

namespace {

const CabinetFile kFiles[] = {
    {L"Tavrin Fold Keyboard.exe", L"\\Windows\\Tavrin Fold Keyboard.exe"},
    {L"KeybdR410.exe", L"\\Windows\\KeybdR410.exe"},
    {L"SETUP.DLL", L"\\Windows\\SetupR410.dll"},
    {L"RSN.dll", L"\\Windows\\RSNR410.dll"},
    {L"KeyTap.wav", L"\\Windows\\KeyTap.wav"},
};

const CabinetShortcut kShortcuts[] = {
    {L"\\Windows\\Start Menu\\Programs\\Tavrin Fold Keyboard.lnk",
     L"\\Windows\\Tavrin Fold Keyboard.exe"},
};

const Cabinet kProduct = {
    L"\\Windows",
    L"SETUP.DLL",
    L"\\Windows\\SetupR410.dll",
    kFiles,
    sizeof(kFiles) / sizeof(kFiles[0]),
    kShortcuts,
    sizeof(kShortcuts) / sizeof(kShortcuts[0]),
    L"Tavrin Fold Keyboard V1.03",
};

}  // namespace

const Cabinet& ProductCabinet()
{
    return kProduct;
}
