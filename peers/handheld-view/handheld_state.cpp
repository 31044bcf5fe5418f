#include "handheld_state.h"

#include <handheld.h>

#include <algorithm>
#include <cstdarg>
#include <cwchar>

namespace {

struct Program {
    const wchar_t* windowClass;
    const wchar_t* label;
};

// The windows that the product's programs and their neighbours show.
const Program kPrograms[] = {
    {L"KeybdR410", L"keyboard service KeybdR410"},
    {L"KeybdR810", L"other model's service KeybdR810"},
    {L"STATEWINDOW", L"state window"},
    {L"Fold Keyboard", L"Tavrin Fold Keyboard"},
};

const wchar_t kWindows[] = L"\\Windows";
const wchar_t kStartMenu[] = L"\\Windows\\Start Menu";
const wchar_t kSettingsFile[] = L"\\Windows\\R410.inf";
const wchar_t kAppsKey[] = L"Software\\Apps";
const wchar_t kActiveKey[] = L"Drivers\\Active";

std::wstring Printed(const wchar_t* format, ...)
{
    wchar_t text[256];
    va_list arguments;
    va_start(arguments, format);
    vswprintf(text, 256, format, arguments);
    va_end(arguments);
    return text;
}

// The path below the folder, or the whole path when it lies elsewhere.
std::wstring Below(const std::wstring& folder, const std::wstring& path)
{
    return path.compare(0, folder.size() + 1, folder + L"\\") == 0 ? path.substr(folder.size() + 1)
                                                                   : path;
}

void AddPrograms(std::vector<StateLine>* lines)
{
    lines->push_back({StateLine::kHeading, L"Running"});
    for (const Program& program : kPrograms) {
        HWND window = FindWindowW(program.windowClass, nullptr);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        lines->push_back(window ? StateLine{StateLine::kPresent,
                                            Printed(L"%ls  (%lu)", program.label, processId)}
                                : StateLine{StateLine::kAbsent, program.label});
    }
}

void AddFile(const std::wstring& handheldPath, const std::wstring& name,
             std::vector<StateLine>* lines)
{
    wchar_t path[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!ResolveHandheldPath(handheldPath.c_str(), path, MAX_PATH) ||
        !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) {
        lines->push_back({StateLine::kAbsent, name});
        return;
    }
    lines->push_back(
        {StateLine::kPresent, Printed(L"%ls  %lu bytes", name.c_str(), data.nFileSizeLow)});
}

void AddFiles(const Package& cabinet, std::vector<StateLine>* lines)
{
    lines->push_back({StateLine::kHeading, kWindows});
    for (const PackageFile& file : cabinet.files) {
        AddFile(file.installed, Below(kWindows, file.installed), lines);
    }
    AddFile(kSettingsFile, Below(kWindows, kSettingsFile), lines);
    lines->push_back({StateLine::kHeading, kStartMenu});
    for (const PackageShortcut& shortcut : cabinet.shortcuts) {
        AddFile(shortcut.path, Below(kStartMenu, shortcut.path), lines);
    }
}

// The names of a key's subkeys.
std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> names;
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

// The value as text, or empty when it is missing.
std::wstring ValueText(HKEY root, const std::wstring& key, const std::wstring& name)
{
    BYTE data[512] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS) {
        return L"";
    }
    return type == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD*>(data))
                             : std::wstring(reinterpret_cast<wchar_t*>(data));
}

void AddRegistry(const Package& cabinet, std::vector<StateLine>* lines)
{
    lines->push_back({StateLine::kHeading, L"HKLM\\Software\\Apps"});
    std::vector<std::wstring> records = SubKeys(HKEY_LOCAL_MACHINE, kAppsKey);
    for (const std::wstring& record : records) {
        lines->push_back({StateLine::kPresent, record});
    }
    if (records.empty()) {
        lines->push_back({StateLine::kAbsent, L"no record"});
    }

    // The description's values, a line per key, as the registry holds them.
    lines->push_back({StateLine::kHeading, L"HKLM\\Drivers"});
    std::vector<std::wstring> keys;
    for (const PackageRegistryValue& value : cabinet.registryValues) {
        if (value.root == HKEY_LOCAL_MACHINE &&
            std::find(keys.begin(), keys.end(), value.key) == keys.end()) {
            keys.push_back(value.key);
        }
    }
    for (const std::wstring& key : keys) {
        std::wstring values;
        for (const PackageRegistryValue& value : cabinet.registryValues) {
            std::wstring text =
                value.key == key ? ValueText(HKEY_LOCAL_MACHINE, key, value.name) : L"";
            values += text.empty() ? L"" : (values.empty() ? L"" : L", ") + text;
        }
        std::wstring name = Below(L"Drivers", key);
        lines->push_back(values.empty() ? StateLine{StateLine::kAbsent, name}
                                        : StateLine{StateLine::kPresent, name + L": " + values});
    }
    for (const std::wstring& record : SubKeys(HKEY_LOCAL_MACHINE, kActiveKey)) {
        wchar_t device[64] = {};
        DWORD size = sizeof(device);
        std::wstring path = kActiveKey + (L"\\" + record);
        RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"Name", RRF_RT_REG_SZ, nullptr, device,
                     &size);
        lines->push_back(
            {StateLine::kPresent, Printed(L"%ls loaded (Active\\%ls)", device, record.c_str())});
    }
}

}  // namespace

std::vector<StateLine> HandheldState(const Package& cabinet)
{
    std::vector<StateLine> lines;
    AddPrograms(&lines);
    AddFiles(cabinet, &lines);
    AddRegistry(cabinet, &lines);
    return lines;
}
