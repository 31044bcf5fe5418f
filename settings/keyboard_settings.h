#pragma once

#include <handheld.h>

#include <stddef.h>

#define SETTINGS_FILE L"\\Windows\\R410.inf"

const int HOTKEYS_PER_BANK = 4;  // F1 to F4, and Fn + F1 to Fn + F4
const int HOTKEY_LABEL_UNITS = 50;
const int HOTKEY_PATH_UNITS = 260;

// The settings file, byte for byte: little-endian integers, UTF-16LE text, no
// header. The settings program changes only the two repeat fields.
struct SettingsFileImage {
    WCHAR tag[2];          // one-letter code, NUL-terminated; "D" by default
    LONG repeatDelayCode;  // (delay slider position + 1) * 4
    LONG repeatRate;       // rate slider position
    DWORD reserved;
    WCHAR normalLabels[HOTKEYS_PER_BANK][HOTKEY_LABEL_UNITS];
    WCHAR normalPaths[HOTKEYS_PER_BANK][HOTKEY_PATH_UNITS];  // shortcut files of the keys
    WCHAR fnLabels[HOTKEYS_PER_BANK][HOTKEY_LABEL_UNITS];
    WCHAR fnPaths[HOTKEYS_PER_BANK][HOTKEY_PATH_UNITS];
};

// The file's integer and character widths, each field's offset, the file's size.
C_ASSERT(sizeof(WCHAR) == 2 && sizeof(LONG) == 4 && sizeof(DWORD) == 4);
C_ASSERT(offsetof(SettingsFileImage, tag) == 0);
C_ASSERT(offsetof(SettingsFileImage, repeatDelayCode) == 4);
C_ASSERT(offsetof(SettingsFileImage, repeatRate) == 8);
C_ASSERT(offsetof(SettingsFileImage, reserved) == 12);
C_ASSERT(offsetof(SettingsFileImage, normalLabels) == 16);
C_ASSERT(offsetof(SettingsFileImage, normalPaths) == 416);
C_ASSERT(offsetof(SettingsFileImage, fnLabels) == 2496);
C_ASSERT(offsetof(SettingsFileImage, fnPaths) == 2896);
C_ASSERT(sizeof(SettingsFileImage) == 4976);

// The in-memory copy of the settings file, owned by the Settings page.
class KeyboardSettings : public SettingsFileImage {
public:
    explicit KeyboardSettings(HWND pageWindow);
    virtual ~KeyboardSettings() {}

    // Reads the file, or takes the defaults when it can't be opened.
    void Load();
    // Writes the two repeat fields, keeping the rest of the file as it is on
    // disk; a failure is silent.
    void Save();

    // The Settings page that owns the record. Nothing reads it: it is part of
    // the record as the program has always laid it out.
    HWND pageWindow;

private:
    KeyboardSettings(const KeyboardSettings&);  // not copied
    KeyboardSettings& operator=(const KeyboardSettings&);
};
