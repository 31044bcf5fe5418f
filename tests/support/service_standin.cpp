#include "service_standin.h"

namespace test_support {

namespace {

const wchar_t kSettingsKey[] = L"Software\\Stand-ins\\KeybdR410";
const wchar_t kClass[] = L"KeybdR410";

std::wstring RecordPath()
{
    return InWindowsFolder(L"KeybdR410.log");
}

}  // namespace

void ServiceStandIn::Reset()
{
    End();
    RemoveFile(RecordPath());
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    InstallProgram(L"KeybdR410.exe", L"KeybdR410.exe");
}

void ServiceStandIn::Set(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

DWORD ServiceStandIn::Get(const wchar_t* name, DWORD fallback)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return fallback;
    }
    return value;
}

Process ServiceStandIn::Start()
{
    Process service(InWindowsFolder(L"KeybdR410.exe"));
    WaitForWindow(kClass, nullptr, 10000);
    return service;
}

HWND ServiceStandIn::Window()
{
    return FindWindowW(kClass, nullptr);
}

void ServiceStandIn::End()
{
    EndProgramsWithWindow(kClass);
}

std::vector<std::string> ServiceStandIn::Record()
{
    return ReadLines(RecordPath());
}

int ServiceStandIn::Count(const std::string& linePrefix)
{
    int count = 0;
    for (const std::string& line : Record()) {
        if (line.compare(0, linePrefix.size(), linePrefix) == 0) {
            ++count;
        }
    }
    return count;
}

}  // namespace test_support
