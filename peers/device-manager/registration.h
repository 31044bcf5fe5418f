// A stream driver's registration with the device manager, below
// HKEY_LOCAL_MACHINE "Drivers\BuiltIn": the key that the device manager reads
// at start-up to load the driver, and the record below "Drivers\Active" that
// it keeps of the device while the driver is loaded.
#pragma once

#include <windows.h>

#include <string>

struct DriverRegistration {
    std::wstring key;      // "Drivers\BuiltIn\RSN"
    std::wstring library;  // Dll, as registered: "RSNR410.dll"
    std::wstring prefix;   // Prefix: "RSN"
    DWORD index;           // Index (1 when absent): the device is <Prefix><Index>:
    DWORD order;           // Order (255 when absent): loaded by rising order

    std::wstring DeviceName() const { return prefix + std::to_wstring(index) + L":"; }
    // The handheld path of the library: one registered without a folder is
    // looked for in \Windows.
    std::wstring LibraryPath() const;
};

// Reads "Drivers\BuiltIn\<name>"; false, with the reason in *problem, when
// it is missing or lacks Dll or Prefix.
bool ReadRegistration(const std::wstring& name, DriverRegistration* registration,
                      std::wstring* problem);

// The device's record below "Drivers\Active\<nn>" (values Key and Name) from
// Add() until Remove() or destruction; Drivers\Active goes with its last record.
class ActiveRecord {
public:
    ~ActiveRecord() { Remove(); }
    // The record's key, or empty when it could not be written.
    std::wstring Add(const DriverRegistration& registration);
    void Remove();

private:
    std::wstring key_;
};
