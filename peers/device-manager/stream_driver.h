// A stream-interface driver loaded the way the device manager loads one: the
// library by its path, the entry points by the driver's prefix ("RSN" +
// "_Init" and so on), contexts as 32-bit words.
#pragma once

#include <windows.h>

#include <string>

class StreamDriver {
public:
    using InitFn = DWORD (*)(DWORD registryContext);
    using DeinitFn = BOOL (*)(DWORD deviceContext);
    using OpenFn = DWORD (*)(DWORD deviceContext, DWORD access, DWORD shareMode);
    using CloseFn = BOOL (*)(DWORD openContext);
    using IOControlFn = BOOL (*)(DWORD openContext, DWORD code, PBYTE input, DWORD inputLength,
                                 PBYTE output, DWORD outputLength, PDWORD bytesReturned);
    using PowerFn = void (*)(DWORD deviceContext);
    using ReadFn = DWORD (*)(DWORD openContext, LPVOID buffer, DWORD count);
    using WriteFn = DWORD (*)(DWORD openContext, LPCVOID buffer, DWORD count);
    using SeekFn = DWORD (*)(DWORD openContext, LONG distance, WORD moveMethod);

    ~StreamDriver() { Unload(); }

    // Loads the library and resolves all ten entry points; on failure says
    // what is missing in *problem and holds nothing.
    bool Load(const std::wstring& path, const std::string& prefix, std::wstring* problem);
    void Unload();

    InitFn Init = nullptr;
    DeinitFn Deinit = nullptr;
    OpenFn Open = nullptr;
    CloseFn Close = nullptr;
    IOControlFn IOControl = nullptr;
    PowerFn PowerUp = nullptr;
    PowerFn PowerDown = nullptr;
    ReadFn Read = nullptr;
    WriteFn Write = nullptr;
    SeekFn Seek = nullptr;

private:
    template <typename Fn>
    bool Resolve(const std::string& prefix, const char* entry, Fn* fn, std::wstring* problem);

    HMODULE module_ = nullptr;
};
