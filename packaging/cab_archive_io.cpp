#include "cab_archive_io.h"

#include <fcntl.h>

#include <cstdio>

INT_PTR ArchiveOpen(const char* path, int openFlags)
{
    DWORD access = (openFlags & _O_RDWR)     ? GENERIC_READ | GENERIC_WRITE
                   : (openFlags & _O_WRONLY) ? GENERIC_WRITE
                                             : GENERIC_READ;
    DWORD creation = !(openFlags & _O_CREAT)  ? OPEN_EXISTING
                     : (openFlags & _O_TRUNC) ? CREATE_ALWAYS
                                              : OPEN_ALWAYS;
    HANDLE file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, creation,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<INT_PTR>(file);
}

UINT ArchiveRead(INT_PTR file, void* buffer, UINT size)
{
    DWORD read = 0;
    return ReadFile(reinterpret_cast<HANDLE>(file), buffer, size, &read, nullptr) ? read : UINT(-1);
}

UINT ArchiveWrite(INT_PTR file, const void* buffer, UINT size)
{
    DWORD written = 0;
    return WriteFile(reinterpret_cast<HANDLE>(file), buffer, size, &written, nullptr) ? written
                                                                                      : UINT(-1);
}

int ArchiveClose(INT_PTR file)
{
    return CloseHandle(reinterpret_cast<HANDLE>(file)) ? 0 : -1;
}

LONG ArchiveSeek(INT_PTR file, LONG distance, int origin)
{
    DWORD method = origin == SEEK_SET ? FILE_BEGIN : origin == SEEK_CUR ? FILE_CURRENT : FILE_END;
    DWORD position = SetFilePointer(reinterpret_cast<HANDLE>(file), distance, nullptr, method);
    return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<LONG>(position);
}

bool AnsiPath(const std::wstring& path, std::string* ansi)
{
    char buffer[MAX_PATH];
    BOOL lossy = FALSE;
    int length =
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, buffer, MAX_PATH, nullptr, &lossy);
    if (length <= 0 || lossy) {
        return false;
    }
    *ansi = buffer;
    return true;
}
