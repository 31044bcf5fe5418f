#pragma once

#include <handheld.h>

// Holds at most one open registry key and closes it when destroyed.
class RegKey {
public:
    RegKey() : key(NULL) {}
    ~RegKey();

    // Opens subKey below parent. On success the key held so far is closed and
    // the new one held; on failure the held key stays. Returns the registry's
    // result (ERROR_SUCCESS on success).
    LONG Open(HKEY parent, LPCWSTR subKey, REGSAM access);
    void Close();
    // Deletes subKey of the held key with every key below it, deepest first.
    // Returns ERROR_SUCCESS or the first error met; what was deleted before
    // an error stays deleted. Fails without a held key.
    LONG DeleteTree(LPCWSTR subKey);

    HKEY key;  // the open key, or null when none is held

private:
    RegKey(const RegKey&);  // not copied
    RegKey& operator=(const RegKey&);
};
