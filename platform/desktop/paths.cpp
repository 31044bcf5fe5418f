#include "handheld_api.h"

bool ResolveHandheldPath(LPCWSTR path, LPWSTR resolved, size_t capacity)
{
    if (!path || !resolved || capacity == 0) {
        return false;
    }
    size_t length = lstrlenW(path);
    // "\Windows\..." but not a "\\server\share" path.
    bool handheldAbsolute = path[0] == L'\\' && path[1] != L'\\';
    size_t driveLength = 0;
    WCHAR windowsFolder[MAX_PATH];
    if (handheldAbsolute) {
        UINT folderLength = GetWindowsDirectoryW(windowsFolder, MAX_PATH);
        if (folderLength >= 2 && folderLength < MAX_PATH && windowsFolder[1] == L':') {
            driveLength = 2;  // "C:"
        }
    }
    if (driveLength + length + 1 > capacity) {
        return false;
    }
    if (driveLength) {
        resolved[0] = windowsFolder[0];
        resolved[1] = windowsFolder[1];
    }
    CopyMemory(resolved + driveLength, path, (length + 1) * sizeof(WCHAR));
    return true;
}

HANDLE WINAPI HandheldCreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                                  LPSECURITY_ATTRIBUTES securityAttributes,
                                  DWORD creationDisposition, DWORD flagsAndAttributes,
                                  HANDLE templateFile)
{
    WCHAR path[MAX_PATH];
    if (!ResolveHandheldPath(fileName, path, MAX_PATH)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, desiredAccess, shareMode, securityAttributes, creationDisposition,
                       flagsAndAttributes, templateFile);
}

BOOL WINAPI HandheldDeleteFileW(LPCWSTR fileName)
{
    WCHAR path[MAX_PATH];
    if (!ResolveHandheldPath(fileName, path, MAX_PATH)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    return DeleteFileW(path);
}
