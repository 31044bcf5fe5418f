#include "installer.h"

#include <algorithm>
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

// A value's data as the installer writes it: a number, or text in quotes.
std::wstring ValueData(const PackageRegistryValue& value, const std::wstring& installFolder)
{
    return value.type == REG_DWORD ? std::to_wstring(value.number)
                                   : L"\"" + ValueText(value, installFolder) + L"\"";
}

void CopyFiles(const Package& package, FailureCounts* failed, InstalledItems* installed)
{
    for (const PackageFile& file : package.files) {
        if (!CopyPackageFile(file, installed)) {
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
        if (CreateShortcut(shortcut, installed)) {
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
        bool written = WriteRegistryValue(value, package.installFolder, &keyFailed, installed);
        failed->keys += keyFailed;
        failed->values += !written && !keyFailed;
        if (written) {
            installed->values.push_back(ValuePath(value));
        }
        std::wstring data = ValueData(value, package.installFolder);
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

// What a removal deletes, in this order: the record's items, the folders and
// keys deepest first. What is gone already (the hooks may have deleted it) is
// no failure, nor is a folder or key that holds what the installation did not
// put there: it stays.
const struct {
    std::vector<std::wstring> InstalledItems::*items;
    bool (*remove)(const std::wstring&);
    const wchar_t* what;
    bool mustGo;
} kRemovals[] = {
    {&InstalledItems::files, DeleteInstalledFile, L"", true},
    {&InstalledItems::shortcuts, DeleteShortcut, L"the shortcut ", true},
    {&InstalledItems::values, DeleteRegistryValue, L"", true},
    {&InstalledItems::folders, RemoveCreatedFolder, L"the folder ", false},
    {&InstalledItems::keys, RemoveCreatedKey, L"the key ", false},
};

void RemoveInstalledItems(const Package& package, const InstalledItems& installed, bool* anyFailed)
{
    for (const auto& removal : kRemovals) {
        const std::vector<std::wstring>& items = installed.*removal.items;
        for (auto item = items.rbegin(); item != items.rend(); ++item) {
            DWORD error = removal.remove(*item) ? ERROR_SUCCESS : GetLastError();
            bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            if (error == ERROR_SUCCESS || (!gone && removal.mustGo)) {
                std::wprintf(L"%ls %ls%ls\n", error ? L"could not delete" : L"deleted",
                             removal.what, item->c_str());
            }
            *anyFailed = *anyFailed || (error && !gone && removal.mustGo);
        }
    }
    // Kept when an item stays, so that a second removal finds what is left.
    if (!*anyFailed && DeleteRecord(RecordName(package))) {
        std::wprintf(L"deleted the record HKLM\\Software\\Apps\\%ls\n",
                     RecordName(package).c_str());
    }
}

// Where the cabinet says the product runs; this installer installs it anyway.
void PrintTarget(const Package& package, const wchar_t* doing = L"installing it here")
{
    std::wstring platforms;
    for (const std::wstring& platform : package.unsupportedPlatforms) {
        platforms += (platforms.empty() ? L", not on " : L", ") + platform;
    }
    std::wprintf(
        L"%ls is for processor %lu, Windows CE %lu.%02lu to %lu.%02lu%ls; "
        L"%ls on any processor\n",
        RecordName(package).c_str(), package.processorType, package.versionMinMajor,
        package.versionMinMinor, package.versionMaxMajor, package.versionMaxMinor,
        platforms.c_str(), doing);
}

}  // namespace

int Install(const Package& package, const HookLibrary& hooks)
{
    PrintTarget(package);
    BOOL previouslyInstalled = RecordExists(RecordName(package));
    if (!hooks.Loaded()) {
        std::wprintf(L"the cabinet has no hook library: installing without hooks\n");
    } else {
        codeINSTALL_INIT init =
            hooks.installInit(nullptr, TRUE, previouslyInstalled, package.installFolder.c_str());
        std::wprintf(L"Install_Init: %d\n", init);
        if (init != codeINSTALL_INIT_CONTINUE) {
            return 1;
        }
    }

    FailureCounts failed;
    InstalledItems installed;
    CopyFiles(package, &failed, &installed);
    CreateShortcuts(package, &failed, &installed);
    WriteRegistryValues(package, &failed, &installed);
    RecordInstallation(package, installed, &failed);

    std::fflush(stdout);  // the message box may stay up for a while
    if (hooks.Loaded()) {
        codeINSTALL_EXIT exit =
            hooks.installExit(nullptr, package.installFolder.c_str(), failed.folders, failed.files,
                              failed.keys, failed.values, failed.shortcuts);
        std::wprintf(
            L"Install_Exit (failed: %u folders, %u files, %u keys, %u values, "
            L"%u shortcuts): %d\n",
            failed.folders, failed.files, failed.keys, failed.values, failed.shortcuts, exit);
    }
    return failed.Any() ? 1 : 0;
}

int Remove(const Package& package, const HookLibrary& hooks, const InstalledItems& installed)
{
    if (!hooks.Loaded()) {
        std::wprintf(
            L"removing without the cabinet's hook library (.999): it has none, or it "
            L"can't be loaded\n");
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

void List(const Package& package)
{
    PrintTarget(package, L"it would install here");
    std::vector<std::wstring> folders = {package.installFolder};
    for (const PackageFile& file : package.files) {
        std::wstring folder = file.installed.substr(0, file.installed.rfind(L'\\'));
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    for (const std::wstring& folder : folders) {
        std::wprintf(L"folder %ls\n", folder.c_str());
    }
    for (const PackageFile& file : package.files) {
        std::wprintf(L"file %ls (from %ls)\n", file.installed.c_str(), file.source.c_str());
    }
    for (const PackageShortcut& shortcut : package.shortcuts) {
        std::wprintf(L"shortcut %ls to %ls\n", shortcut.path.c_str(), shortcut.target.c_str());
    }
    for (const PackageRegistryValue& value : package.registryValues) {
        std::wstring data = ValueData(value, package.installFolder);
        std::wprintf(L"registry value %ls = %ls\n", ValuePath(value).c_str(), data.c_str());
    }
    std::wprintf(L"hook library %ls\n",
                 package.hookLibrary.empty() ? L"(none)" : package.hookLibrary.c_str());
}
