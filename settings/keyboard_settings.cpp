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

    HANDLE file = CreateFileW(SETTINGS_FILE, GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        lstrcpyW(tag, L"D");
        return;
    }
    DWORD read;
    ReadFile(file, image, sizeof(*image), &read, NULL);
    CloseHandle(file);
}

void KeyboardSettings::Save()
{
    // Opened without truncation: the file keeps what it holds until new bytes
    // are in place.
    HANDLE file = CreateFileW(SETTINGS_FILE, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    // Only the repeat fields are ours: everything else is taken from the file as
    // it is now, and what was loaded stays only where the file has no bytes.
    SettingsFileImage* image = this;
    const LONG delayCode = repeatDelayCode;
    const LONG rate = repeatRate;
    DWORD onDisk = 0;
    BOOL read = ReadFile(file, image, sizeof(*image), &onDisk, NULL);
    repeatDelayCode = delayCode;
    repeatRate = rate;

    // Written in place: the two fields, then what a short file lacks. A write
    // that fails leaves the rest of the file as it was; a longer file is cut to
    // the image's size only once both writes have succeeded.
    const BYTE* bytes = reinterpret_cast<const BYTE*>(image);
    const DWORD fieldsStart = offsetof(SettingsFileImage, repeatDelayCode);
    const DWORD fieldsEnd = offsetof(SettingsFileImage, reserved);
    DWORD written;
    if (read && SetFilePointer(file, fieldsStart, NULL, FILE_BEGIN) == fieldsStart &&
        WriteFile(file, bytes + fieldsStart, fieldsEnd - fieldsStart, &written, NULL) &&
        SetFilePointer(file, static_cast<LONG>(onDisk), NULL, FILE_BEGIN) == onDisk &&
        WriteFile(file, bytes + onDisk, sizeof(*image) - onDisk, &written, NULL)) {
        SetEndOfFile(file);
    }
    CloseHandle(file);
}
