#include "installer.h"

#include <cstdio>

namespace {

struct FailureCounts {
    WORD folders = 0;
    WORD files = 0;
    WORD keys = 0;
    WORD values = 0;
    WORD shortcuts = 0;

    bool Any() const { return folders || files || keys || values || shortcuts; }
};

void CopyFiles(const Package& package, FailureCounts* failed, InstalledItems* installed)
{
    for (const PackageFile& file : package.files) {
        if (!CopyPackageFile(file)) {
            std::wprintf(L"could not copy %ls to %ls\n", file.source.c_str(),
                         file.installed.c_str());
            ++failed->files;
        } else {
            std::wprintf(L"copied %ls to %ls\n", file.source.c_str(), file.installed.c_str());
            installed->files.push_back(file.installed);
        }
    }
}

void CreateShortcuts(const Package& package, FailureCounts* failed, InstalledItems* installed)
{
    for (const PackageShortcut& shortcut : package.shortcuts) {
        if (CreateShortcut(shortcut)) {
            std::wprintf(L"created the shortcut %ls\n", shortcut.path.c_str());
            installed->shortcuts.push_back(shortcut.path);
        } else {
            std::wprintf(L"could not create the shortcut %ls\n", shortcut.path.c_str());
            ++failed->shortcuts;
        }
    }
}

void WriteRegistryValues(const Package& package, FailureCounts* failed, InstalledItems* installed)
{
    for (const PackageRegistryValue& value : package.registryValues) {
        bool keyFailed = false;
        bool written = WriteRegistryValue(value, &keyFailed);
        failed->keys += keyFailed;
        failed->values += !written && !keyFailed;
        if (written) {
            installed->values.push_back(ValuePath(value));
        }
        std::wstring data =
            value.type == REG_DWORD ? std::to_wstring(value.number) : L"\"" + value.text + L"\"";
        std::wprintf(L"%ls %ls = %ls\n", written ? L"wrote" : L"could not write",
                     ValuePath(value).c_str(), data.c_str());
    }
}

void RecordInstallation(const Package& package, const InstalledItems& installed,
                        FailureCounts* failed)
{
    bool keyFailed = false;
    WORD failedValues = 0;
    WriteRecord(RecordName(package), package.installFolder, installed, &keyFailed, &failedValues);
    failed->keys += keyFailed;
    failed->values += failedValues;
    std::wprintf(L"%ls the record HKLM\\Software\\Apps\\%ls\n",
                 keyFailed || failedValues ? L"could not write" : L"wrote",
                 RecordName(package).c_str());
}

void RemoveInstalledItems(const Package& package, const InstalledItems& installed, bool* anyFailed)
{
    for (const std::wstring& file : installed.files) {
        if (DeleteInstalledFile(file)) {
            std::wprintf(L"deleted %ls\n", file.c_str());
        } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            std::wprintf(L"could not delete %ls\n", file.c_str());
            *anyFailed = true;
        }
    }
    for (const std::wstring& shortcut : installed.shortcuts) {
        // The hooks may have deleted it already.
        if (DeleteShortcut(shortcut)) {
            std::wprintf(L"deleted the shortcut %ls\n", shortcut.c_str());
        }
    }
    for (const std::wstring& value : installed.values) {
        if (DeleteRegistryValue(value)) {
            std::wprintf(L"deleted %ls\n", value.c_str());
        }
    }
    // Kept when a file stays, so that a second removal finds what is left.
    if (!*anyFailed && DeleteRecord(RecordName(package))) {
        std::wprintf(L"deleted the record HKLM\\Software\\Apps\\%ls\n",
                     RecordName(package).c_str());
    }
}

// Where the cabinet says the product runs; this installer installs it anyway.
void PrintTarget(const Package& package)
{
    std::wstring platforms;
    for (const std::wstring& platform : package.unsupportedPlatforms) {
        platforms += (platforms.empty() ? L", not on " : L", ") + platform;
    }
    std::wprintf(
        L"%ls is for processor %lu, Windows CE %lu.%02lu to %lu.%02lu%ls; "
        L"installing it here on any processor\n",
        RecordName(package).c_str(), package.processorType, package.versionMinMajor,
        package.versionMinMinor, package.versionMaxMajor, package.versionMaxMinor,
        platforms.c_str());
}

}  // namespace

int Install(const Package& package, const HookLibrary& hooks)
{
    PrintTarget(package);
    BOOL previouslyInstalled = RecordExists(RecordName(package));
    codeINSTALL_INIT init =
        hooks.installInit(nullptr, TRUE, previouslyInstalled, package.installFolder.c_str());
    std::wprintf(L"Install_Init: %d\n", init);
    if (init != codeINSTALL_INIT_CONTINUE) {
        return 1;
    }

    FailureCounts failed;
    InstalledItems installed;
    CopyFiles(package, &failed, &installed);
    CreateShortcuts(package, &failed, &installed);
    WriteRegistryValues(package, &failed, &installed);
    RecordInstallation(package, installed, &failed);

    std::fflush(stdout);  // the message box may stay up for a while
    codeINSTALL_EXIT exit =
        hooks.installExit(nullptr, package.installFolder.c_str(), failed.folders, failed.files,
                          failed.keys, failed.values, failed.shortcuts);
    std::wprintf(
        L"Install_Exit (failed: %u folders, %u files, %u keys, %u values, "
        L"%u shortcuts): %d\n",
        failed.folders, failed.files, failed.keys, failed.values, failed.shortcuts, exit);
    return failed.Any() ? 1 : 0;
}

int Remove(const Package& package, const HookLibrary& hooks, const InstalledItems& installed)
{
    if (!hooks.Loaded()) {
        std::wprintf(L"cannot load the cabinet's hook library (.999); removing without it\n");
    } else {
        codeUNINSTALL_INIT init = hooks.uninstallInit(nullptr, package.installFolder.c_str());
        std::wprintf(L"Uninstall_Init: %d\n", init);
        if (init != codeUNINSTALL_INIT_CONTINUE) {
            return 1;
        }
    }

    bool anyFailed = false;
    RemoveInstalledItems(package, installed, &anyFailed);

    if (hooks.Loaded()) {
        std::wprintf(L"Uninstall_Exit: %d\n", hooks.uninstallExit(nullptr));
    }
    return anyFailed ? 1 : 0;
}
