// What the stand-ins share: a record of what they did, for tests to read, and
// settings that tests prepare in the registry.
#pragma once

#include <windows.h>

// Appends one line to the record beside the program: "<program>.log" in the
// folder of its executable. Several copies may append at once.
void PeerRecord(const wchar_t* format, ...);

// A DWORD value of HKCU\Software\Stand-ins\<key>, or fallback when unset.
DWORD PeerSetting(const wchar_t* key, const wchar_t* name, DWORD fallback);
void SetPeerSetting(const wchar_t* key, const wchar_t* name, DWORD value);
