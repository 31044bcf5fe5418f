// Opening and closing keep no per-open state, and there is no data to move.
#include "rsn.h"

DWORD RSN_Open(DWORD, DWORD, DWORD)
{
    return 1;
}

BOOL RSN_Close(DWORD)
{
    return TRUE;
}

DWORD RSN_Read(DWORD, LPVOID, DWORD)
{
    return RSN_FAILED;
}

DWORD RSN_Write(DWORD, LPCVOID, DWORD)
{
    return RSN_FAILED;
}

DWORD RSN_Seek(DWORD, LONG, WORD)
{
    return RSN_FAILED;
}
