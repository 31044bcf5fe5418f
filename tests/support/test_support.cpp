#include "test_support.h"

#include <commctrl.h>

#include <utility>

namespace test_support {

std::wstring BinFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring WindowsFolder()
{
    wchar_t path[MAX_PATH];
    UINT length = GetWindowsDirectoryW(path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring InWindowsFolder(const std::wstring& name)
{
    return WindowsFolder() + L"\\" + name;
}

void InstallProgram(const std::wstring& builtName, const std::wstring& installedName)
{
    std::wstring from = BinFolder() + L"\\" + builtName;
    CopyFileW(from.c_str(), InWindowsFolder(installedName).c_str(), FALSE);
}

void RemoveFile(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD read;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

Process::Process(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    // No standard handles: a program left running must not keep the test
    // runner waiting on the test's output.
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_ = started.hProcess;
    }
}

Process::Process(Process&& other) noexcept : process_(other.process_)
{
    other.process_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept
{
    std::swap(process_, other.process_);  // other ends what this held
    return *this;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        GetExitCodeProcess(process_, exitCode);
    }
    return true;
}

Process::~Process()
{
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

MessageRecorder::MessageRecorder()
{
    WNDCLASSW recorderClass = {};
    recorderClass.lpfnWndProc = Proc;
    recorderClass.hInstance = GetModuleHandleW(nullptr);
    recorderClass.lpszClassName = L"TestMessageRecorder";
    RegisterClassW(&recorderClass);
    window_ = CreateWindowExW(0, L"TestMessageRecorder", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, GetModuleHandleW(nullptr), this);
}

MessageRecorder::~MessageRecorder()
{
    DestroyWindow(window_);
}

LRESULT CALLBACK MessageRecorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message >= WM_USER && message < 0xC000) {
        self->received_.push_back({message, wParam, lParam, static_cast<DWORD>(GetMessageTime())});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

long long MessageRecorder::WaitFor(UINT number, DWORD timeoutMs)
{
    long long found = -1;
    WaitUntil(
        [&] {
            for (const Message& message : received_) {
                if (message.number == number) {
                    found = static_cast<long long>(message.wParam);
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

void PumpMessages(DWORD forMs)
{
    WaitUntil([] { return false; }, forMs);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
    }
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, DWORD processId)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            do {
                found = FindWindowExW(nullptr, found, className, title);
            } while (found && processId && WindowProcessId(found) != processId);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::vector<HWND> TopLevelWindows(const wchar_t* className)
{
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        windows.push_back(window);
    }
    return windows;
}

DWORD WindowProcessId(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512];
    int length =
        static_cast<int>(SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text)));
    return std::wstring(text, length > 0 ? length : 0);
}

std::wstring ClassName(HWND window)
{
    wchar_t name[256];
    int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

RECT WindowRect(HWND window)
{
    RECT area = {};
    GetWindowRect(window, &area);
    return area;
}

RECT ScreenArea()
{
    RECT screen = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    return screen;
}

bool Within(const RECT& inner, const RECT& outer)
{
    RECT both;
    return IntersectRect(&both, &inner, &outer) && EqualRect(&both, &inner);
}

HWND FocusedWindow(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void EndProgramsWithWindow(const wchar_t* className)
{
    for (HWND window : TopLevelWindows(className)) {
        DWORD id = WindowProcessId(window);
        if (id == GetCurrentProcessId()) {
            DestroyWindow(window);
            continue;
        }
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    // The system takes a dead process's windows away only after it has ended.
    WaitUntil([&] { return TopLevelWindows(className).empty(); }, 10000);
}

}  // namespace test_support
