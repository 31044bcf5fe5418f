#include "keyboard_settings.h"

// The image is left as it is: Load fills it.
// cppcheck-suppress uninitDerivedMemberVar
KeyboardSettings::KeyboardSettings(HWND pageWindow) : pageWindow(pageWindow)
{
}

void KeyboardSettings::Load()
{
    SettingsFileImage* image = this;
    // A short or failed read leaves zeros, never stale memory that a save would
    // write to disk. It also gives the defaults their empty hotkey banks.
    ZeroMemory(image, sizeof(*image));

    HANDLE file = CreateFileW(SETTINGS_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        lstrcpyW(tag, L"D");
        return;
    }
    DWORD read;
    ReadFile(file, image, sizeof(*image), &read, nullptr);
    CloseHandle(file);
}

void KeyboardSettings::Save()
{
    HANDLE file = CreateFileW(SETTINGS_FILE, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const SettingsFileImage* image = this;
    DWORD written;
    WriteFile(file, image, sizeof(*image), &written, nullptr);
    CloseHandle(file);
}
