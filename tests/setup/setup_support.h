// Helpers for the installer hooks' tests: the paths and registry keys of an
// installation, snapshots to compare a prefix before and after, the built hook
// library, and the cabinet's description with a folder for the installer
// stand-in.
#pragma once

#include <installer_hooks.h>

#include "cabinet.h"

#include <string>
#include <vector>

namespace setup_test {

// The shortcut table, row by row (Start-menu shortcut, then Programs
// shortcut), repeats included, and the program files in the order of deletion.
extern const std::vector<std::wstring> kShortcuts;
extern const std::vector<std::wstring> kProgramFiles;
// The Start-menu folders that the shortcut table names.
extern const std::vector<std::wstring> kStartMenuFolders;

const wchar_t kAppsKey[] = L"Software\\Apps";
// "Software\Apps\Tavrin Fold Keyboard V<version>"
std::wstring VersionKey(const std::wstring& version);

// A handheld path ("\Windows\...") on the drive of the Windows folder.
std::wstring OnWindowsDrive(const std::wstring& handheldPath);

// Writes a small file, creating its folders.
void PlaceFile(const std::wstring& path, const std::string& content = "earlier");
// Deletes a folder with everything in it.
void RemoveTree(const std::wstring& folder);

// Creates a key with one value in it (so that its contents can be compared).
void PlaceKey(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
// Deletes the key tree; with a subkey of "Software\Apps", also the Apps key
// once it is empty.
void RemoveKey(HKEY root, const std::wstring& path);

// Every key and value below the key, one line each, in order; empty when the
// key is missing.
std::vector<std::wstring> RegistrySnapshot(HKEY root, const std::wstring& path);
// Every file and folder below the folder with size and time, one line each.
std::vector<std::wstring> FolderSnapshot(const std::wstring& folder);

// The built hook library, loaded into the test's process.
class SetupLibrary {
public:
    SetupLibrary();
    ~SetupLibrary();
    SetupLibrary(const SetupLibrary&) = delete;
    SetupLibrary& operator=(const SetupLibrary&) = delete;

    HMODULE Module() const { return module_; }
    // The names the library exports, in the order of its export table.
    std::vector<std::string> ExportNames() const;

    decltype(&Install_Init) installInit = nullptr;
    decltype(&Install_Exit) installExit = nullptr;
    decltype(&Uninstall_Init) uninstallInit = nullptr;
    decltype(&Uninstall_Exit) uninstallExit = nullptr;

private:
    HMODULE module_ = nullptr;
};

// The cabinet's description as the build puts it beside the built files,
// read by the installer stand-in's own reader; a failure to read it fails the
// test.
const wchar_t kDescriptionName[] = L"TavrinFoldKeyboard.inf";
Cabinet ProductCabinet();

// Fills the folder with the cabinet: the description and the built files that
// it names, but for the one named in leaveOut. Returns the description's path.
std::wstring PrepareCabinetFolder(const std::wstring& folder, const std::wstring& leaveOut = L"");

// Milliseconds that fn takes.
template <typename Fn>
ULONGLONG Timed(Fn fn)
{
    ULONGLONG start = GetTickCount64();
    fn();
    return GetTickCount64() - start;
}

}  // namespace setup_test
