// The settings file "\Windows\R410.inf" as tests prepare and read it.
#pragma once

#include <windows.h>

#include <string>

#include "keyboard_settings.h"
#include "test_support.h"

namespace test_support {

inline std::wstring SettingsFilePath()
{
    return InWindowsFolder(L"R410.inf");
}

inline void WriteSettingsFile(const void* bytes, size_t size)
{
    RemoveFile(SettingsFilePath());
    HANDLE file = CreateFileW(SettingsFilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written;
    WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

inline void WriteSettingsFile(const SettingsFileImage& image)
{
    WriteSettingsFile(&image, sizeof(image));
}

inline std::string ReadSettingsFile()
{
    return ReadFileBytes(SettingsFilePath());
}

// Marks the settings file read-only. False where that does not stop writing
// (Wine run by the superuser, whom Unix permissions don't stop).
inline bool MakeSettingsFileReadOnly()
{
    SetFileAttributesW(SettingsFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileW(SettingsFilePath().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        return true;
    }
    CloseHandle(probe);
    return false;
}

// An image whose every byte is known: its own tag, both hotkey banks filled
// with non-ASCII labels and paths, and the units after each NUL not zero.
inline SettingsFileImage FullImage(LONG delayCode, LONG rate)
{
    SettingsFileImage image;
    auto* bytes = reinterpret_cast<unsigned char*>(&image);
    for (size_t i = 0; i < sizeof(image); ++i) {
        bytes[i] = static_cast<unsigned char>(0x40 + i % 61);
    }
    lstrcpyW(image.tag, L"Q");
    image.repeatDelayCode = delayCode;
    image.repeatRate = rate;
    image.reserved = 0xC0FFEE01;
    const wchar_t* labels[] = {L"Notizen", L"Kalender – Wochenübersicht", L"Überweisung",
                               L"Größe ändern"};
    for (int key = 0; key < HOTKEYS_PER_BANK; ++key) {
        lstrcpyW(image.normalLabels[key], labels[key]);
        lstrcpyW(image.fnLabels[key], labels[HOTKEYS_PER_BANK - 1 - key]);
        wsprintfW(image.normalPaths[key], L"\\Windows\\Startmenü\\Programme\\Zubehör %d.lnk", key);
        wsprintfW(image.fnPaths[key], L"\\Windows\\Menú Inicio\\Programas\\Acción %d.lnk", key);
    }
    return image;
}

}  // namespace test_support
