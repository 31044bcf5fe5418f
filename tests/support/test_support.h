// Helpers for tests that run the project's programs under Wine: where things
// are, installing programs into the Windows folder, starting and ending
// processes, finding windows and pumping messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test_support {

// The folder that holds every built program (the test's own folder).
std::wstring BinFolder();
// The Windows folder of the prefix, "C:\windows".
std::wstring WindowsFolder();
std::wstring InWindowsFolder(const std::wstring& name);

// Copies a built program into the Windows folder under its installed name.
void InstallProgram(const std::wstring& builtName, const std::wstring& installedName);
void RemoveFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file's contents with the bytes.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A process started by the test; terminated when the object goes, if still running.
class Process {
public:
    Process() = default;
    explicit Process(const std::wstring& program, const std::wstring& arguments = L"");
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return GetProcessId(process_); }
    // True once the process has ended within the time; its exit code in *exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);

private:
    HANDLE process_ = nullptr;
};

// A message-only window that records the application messages (WM_USER and
// above) that reach it.
class MessageRecorder {
public:
    struct Message {
        UINT number;
        WPARAM wParam;
        LPARAM lParam;
        DWORD time;  // when it was posted (GetMessageTime: the tick count)
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Window() const { return window_; }
    const std::vector<Message>& Received() const { return received_; }
    // Pumps messages until one with this number has arrived; its wParam, or -1.
    long long WaitFor(UINT number, DWORD timeoutMs);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Message> received_;
};

// Runs fn until it returns true or the time is up, pumping this thread's messages.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);
void PumpMessages(DWORD forMs);

// A top-level window of the class and title, of any process or of the one given.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs,
                   DWORD processId = 0);
std::vector<HWND> TopLevelWindows(const wchar_t* className);
DWORD WindowProcessId(HWND window);
std::wstring WindowText(HWND window);
// Where the window lies on the screen.
RECT WindowRect(HWND window);
// The emulated handheld's screen: the work area.
RECT ScreenArea();
bool Within(const RECT& inner, const RECT& outer);  // wholly inside
std::wstring ClassName(HWND window);

// The window with the keyboard focus in the thread that owns this window.
HWND FocusedWindow(HWND window);
// The page a property sheet shows.
HWND CurrentPage(HWND sheet);

// Ends every process that owns a top-level window of the class, and waits
// until their windows are gone.
void EndProgramsWithWindow(const wchar_t* className);

}  // namespace test_support
