#include "installer.h"

#include <cstdio>

#include "hook_library.h"
#include "install_steps.h"

namespace {

struct FailureCounts {
    WORD folders = 0;
    WORD files = 0;
    WORD keys = 0;
    WORD values = 0;
    WORD shortcuts = 0;

    bool Any() const { return folders || files || keys || values || shortcuts; }
};

void CopyFiles(const Cabinet& cabinet, FailureCounts* failed)
{
    for (const CabinetFile& file : cabinet.files) {
        if (!CopyCabinetFile(file)) {
            std::wprintf(L"could not copy %ls to %ls\n", file.source.c_str(),
                         file.installed.c_str());
            ++failed->files;
        } else {
            std::wprintf(L"copied %ls to %ls\n", file.source.c_str(), file.installed.c_str());
        }
    }
}

void CreateShortcuts(const Cabinet& cabinet, FailureCounts* failed)
{
    for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
        if (CreateShortcut(shortcut)) {
            std::wprintf(L"created the shortcut %ls\n", shortcut.path.c_str());
        } else {
            std::wprintf(L"could not create the shortcut %ls\n", shortcut.path.c_str());
            ++failed->shortcuts;
        }
    }
}

// "HKLM\Drivers\BuiltIn\RSN Dll"
std::wstring ValueName(const CabinetRegistryValue& value)
{
    return value.rootName + L"\\" + value.key + L" " + (value.name.empty() ? L"@" : value.name);
}

void WriteRegistryValues(const Cabinet& cabinet, FailureCounts* failed)
{
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        bool keyFailed = false;
        bool written = WriteRegistryValue(value, &keyFailed);
        failed->keys += keyFailed;
        failed->values += !written && !keyFailed;
        std::wstring data =
            value.type == REG_DWORD ? std::to_wstring(value.number) : L"\"" + value.text + L"\"";
        std::wprintf(L"%ls %ls = %ls\n", written ? L"wrote" : L"could not write",
                     ValueName(value).c_str(), data.c_str());
    }
}

void RecordInstallation(const Cabinet& cabinet, FailureCounts* failed)
{
    bool keyFailed = false;
    WORD failedValues = 0;
    WriteRecord(RecordName(cabinet), cabinet.installFolder, &keyFailed, &failedValues);
    failed->keys += keyFailed;
    failed->values += failedValues;
    std::wprintf(L"%ls the record HKLM\\Software\\Apps\\%ls\n",
                 keyFailed || failedValues ? L"could not write" : L"wrote",
                 RecordName(cabinet).c_str());
}

void RemoveInstalledItems(const Cabinet& cabinet, bool* anyFailed)
{
    for (const CabinetFile& file : cabinet.files) {
        if (DeleteInstalledFile(file.installed)) {
            std::wprintf(L"deleted %ls\n", file.installed.c_str());
        } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            std::wprintf(L"could not delete %ls\n", file.installed.c_str());
            *anyFailed = true;
        }
    }
    for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
        // The hooks may have deleted it already.
        if (DeleteShortcut(shortcut)) {
            std::wprintf(L"deleted the shortcut %ls\n", shortcut.path.c_str());
        }
    }
    for (const CabinetRegistryValue& value : cabinet.registryValues) {
        if (DeleteRegistryValue(value)) {
            std::wprintf(L"deleted %ls\n", ValueName(value).c_str());
        }
    }
    if (DeleteRecord(RecordName(cabinet))) {
        std::wprintf(L"deleted the record HKLM\\Software\\Apps\\%ls\n",
                     RecordName(cabinet).c_str());
    }
}

// Where the cabinet says the product runs; this installer installs it anyway.
void PrintTarget(const Cabinet& cabinet)
{
    std::wstring platforms;
    for (const std::wstring& platform : cabinet.unsupportedPlatforms) {
        platforms += (platforms.empty() ? L", not on " : L", ") + platform;
    }
    std::wprintf(
        L"%ls is for processor %lu, Windows CE %lu.%02lu to %lu.%02lu%ls; "
        L"installing it here on any processor\n",
        RecordName(cabinet).c_str(), cabinet.processorType, cabinet.versionMinMajor,
        cabinet.versionMinMinor, cabinet.versionMaxMajor, cabinet.versionMaxMinor,
        platforms.c_str());
}

}  // namespace

int Install(const Cabinet& cabinet)
{
    HookLibrary hooks(cabinet.hookLibraryPath.c_str());
    if (!hooks.Loaded()) {
        std::wprintf(L"cannot load the cabinet's hook library (.999)\n");
        return 2;
    }

    PrintTarget(cabinet);
    BOOL previouslyInstalled = RecordExists(RecordName(cabinet));
    codeINSTALL_INIT init =
        hooks.installInit(nullptr, TRUE, previouslyInstalled, cabinet.installFolder.c_str());
    std::wprintf(L"Install_Init: %d\n", init);
    if (init != codeINSTALL_INIT_CONTINUE) {
        return 1;
    }

    FailureCounts failed;
    CopyFiles(cabinet, &failed);
    CreateShortcuts(cabinet, &failed);
    WriteRegistryValues(cabinet, &failed);
    RecordInstallation(cabinet, &failed);

    std::fflush(stdout);  // the message box may stay up for a while
    codeINSTALL_EXIT exit =
        hooks.installExit(nullptr, cabinet.installFolder.c_str(), failed.folders, failed.files,
                          failed.keys, failed.values, failed.shortcuts);
    std::wprintf(
        L"Install_Exit (failed: %u folders, %u files, %u keys, %u values, "
        L"%u shortcuts): %d\n",
        failed.folders, failed.files, failed.keys, failed.values, failed.shortcuts, exit);
    return failed.Any() ? 1 : 0;
}

int Remove(const Cabinet& cabinet)
{
    HookLibrary hooks(cabinet.hookLibraryPath.c_str());
    if (!hooks.Loaded()) {
        std::wprintf(L"cannot load the cabinet's hook library (.999); removing without it\n");
    } else {
        codeUNINSTALL_INIT init = hooks.uninstallInit(nullptr, cabinet.installFolder.c_str());
        std::wprintf(L"Uninstall_Init: %d\n", init);
        if (init != codeUNINSTALL_INIT_CONTINUE) {
            return 1;
        }
    }

    bool anyFailed = false;
    RemoveInstalledItems(cabinet, &anyFailed);

    if (hooks.Loaded()) {
        std::wprintf(L"Uninstall_Exit: %d\n", hooks.uninstallExit(nullptr));
    }
    return anyFailed ? 1 : 0;
}
