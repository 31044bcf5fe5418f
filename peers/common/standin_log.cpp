#include "standin_log.h"

#include <cstdarg>
#include <cwchar>

namespace {

const wchar_t kSwitchesRoot[] = L"Software\\Stand-ins\\";

bool LogPath(wchar_t* path, DWORD capacity)
{
    DWORD length = GetModuleFileNameW(nullptr, path, capacity);
    if (length < 4 || length >= capacity) {
        return false;
    }
    lstrcpyW(path + length - 4, L".log");  // replaces ".exe"
    return true;
}

void SwitchesKeyPath(const wchar_t* key, wchar_t* path, size_t capacity)
{
    swprintf(path, capacity, L"%ls%ls", kSwitchesRoot, key);
}

}  // namespace

void StandInLog(const wchar_t* format, ...)
{
    wchar_t line[512];
    va_list arguments;
    va_start(arguments, format);
    int length = vswprintf(line, 510, format, arguments);
    va_end(arguments);
    if (length < 0) {
        return;
    }
    line[length++] = L'\r';
    line[length++] = L'\n';

    char utf8[1024];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, length, utf8, sizeof(utf8), nullptr, nullptr);
    wchar_t path[MAX_PATH];
    if (bytes <= 0 || !LogPath(path, MAX_PATH)) {
        return;
    }
    HANDLE file =
        CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written;
    WriteFile(file, utf8, bytes, &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK StandInWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        StandInLog(L"close %llu", GetTickCount64());
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

DWORD StandInSwitch(const wchar_t* key, const wchar_t* name, DWORD fallback)
{
    wchar_t path[256];
    SwitchesKeyPath(key, path, 256);
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS) {
        return fallback;
    }
    return value;
}

void SetStandInSwitch(const wchar_t* key, const wchar_t* name, DWORD value)
{
    wchar_t path[256];
    SwitchesKeyPath(key, path, 256);
    RegSetKeyValueW(HKEY_CURRENT_USER, path, name, REG_DWORD, &value, sizeof(value));
}
