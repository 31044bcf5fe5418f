// File access for the cabinet library's callbacks (FCI and FDI): handles as
// INT_PTR, -1 for a failure, open flags as the C library's _open takes them.
#pragma once

#include <windows.h>

#include <string>

INT_PTR ArchiveOpen(const char* path, int openFlags);
UINT ArchiveRead(INT_PTR file, void* buffer, UINT size);
UINT ArchiveWrite(INT_PTR file, const void* buffer, UINT size);
int ArchiveClose(INT_PTR file);
LONG ArchiveSeek(INT_PTR file, LONG distance, int origin);

// A path in the ANSI code page, as the cabinet library takes paths; false
// when a character doesn't fit in it.
bool AnsiPath(const std::wstring& path, std::string* ansi);
