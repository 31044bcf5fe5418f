// File access for the cabinet library's callbacks (FCI and FDI): handles as
// INT_PTR, -1 for a failure, open flags as the C library's _open takes them.
#pragma once

#include <windows.h>

#include <string>

INT_PTR CabinetOpen(const char* path, int openFlags);
UINT CabinetRead(INT_PTR file, void* buffer, UINT size);
UINT CabinetWrite(INT_PTR file, const void* buffer, UINT size);
int CabinetClose(INT_PTR file);
LONG CabinetSeek(INT_PTR file, LONG distance, int origin);

// A path in the ANSI code page, as the cabinet library takes paths; false
// when a character doesn't fit in it.
bool AnsiPath(const std::wstring& path, std::string* ansi);
