#include "reg_key.h"

namespace {

// Key names are at most 255 units long.
const DWORD kSubKeyNameLength = 256;

}  // namespace

RegKey::~RegKey()
{
    Close();
}

LONG RegKey::Open(HKEY parent, LPCWSTR subKey, REGSAM access)
{
    HKEY opened;
    LONG result = RegOpenKeyExW(parent, subKey, 0, access, &opened);
    if (result == ERROR_SUCCESS) {
        Close();
        key = opened;
    }
    return result;
}

void RegKey::Close()
{
    if (key) {
        RegCloseKey(key);
        key = NULL;
    }
}

LONG RegKey::DeleteTree(LPCWSTR subKey)
{
    // A null parent would name no key on one platform and a root on another.
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    RegKey child;
    LONG result = child.Open(key, subKey, KEY_ALL_ACCESS);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    for (;;) {
        // Always index 0: the subkey deleted last is gone, so 0 names the next.
        WCHAR name[kSubKeyNameLength];
        DWORD nameLength = kSubKeyNameLength;
        FILETIME lastWrite;
        if (RegEnumKeyExW(child.key, 0, name, &nameLength, NULL, NULL, NULL, &lastWrite) !=
            ERROR_SUCCESS) {
            break;  // normally no subkey is left; any other failure ends it too
        }
        result = child.DeleteTree(name);
        if (result != ERROR_SUCCESS) {
            child.Close();
            return result;
        }
    }
    child.Close();
    return RegDeleteKeyW(key, subKey);
}
