#include "registration.h"

namespace {

const wchar_t kBuiltIn[] = L"Drivers\\BuiltIn\\";
const wchar_t kActive[] = L"Drivers\\Active";
const DWORD kDefaultIndex = 1;
const DWORD kDefaultOrder = 255;  // after every driver that gives one

bool ReadText(HKEY key, const wchar_t* name, std::wstring* text)
{
    wchar_t value[MAX_PATH];
    DWORD size = sizeof(value);
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return false;
    }
    *text = value;
    return !text->empty();
}

DWORD ReadNumber(HKEY key, const wchar_t* name, DWORD fallback)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    return RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
                   ERROR_SUCCESS
               ? value
               : fallback;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

std::wstring DriverRegistration::LibraryPath() const
{
    return library.find(L'\\') == std::wstring::npos ? L"\\Windows\\" + library : library;
}

bool ReadRegistration(const std::wstring& name, DriverRegistration* registration,
                      std::wstring* problem)
{
    registration->key = kBuiltIn + name;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, registration->key.c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        *problem = L"no driver is registered under HKLM\\" + registration->key;
        return false;
    }
    bool complete = ReadText(key, L"Dll", &registration->library) &&
                    ReadText(key, L"Prefix", &registration->prefix);
    registration->index = ReadNumber(key, L"Index", kDefaultIndex);
    registration->order = ReadNumber(key, L"Order", kDefaultOrder);
    RegCloseKey(key);
    if (!complete) {
        *problem = L"HKLM\\" + registration->key + L" lacks the text values Dll and Prefix";
    }
    return complete;
}

std::wstring ActiveRecord::Add(const DriverRegistration& registration)
{
    Remove();
    // The first free number, as the device manager numbers its records.
    for (int number = 1; number < 100 && key_.empty(); ++number) {
        wchar_t name[8];
        swprintf(name, 8, L"%02d", number);
        std::wstring key = std::wstring(kActive) + L"\\" + name;
        HKEY created;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &created, &disposition) != ERROR_SUCCESS) {
            return key_;
        }
        if (disposition == REG_CREATED_NEW_KEY) {
            key_ = key;
            SetText(created, L"Key", registration.key);
            SetText(created, L"Name", registration.DeviceName());
        }
        RegCloseKey(created);
    }
    return key_;
}

void ActiveRecord::Remove()
{
    if (key_.empty()) {
        return;
    }
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kActive);  // fails while other records are there
    key_.clear();
}
