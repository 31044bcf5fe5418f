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

void CopyFiles(const Cabinet& cabinet, const std::wstring& sourceFolder, FailureCounts* failed)
{
    for (size_t i = 0; i < cabinet.fileCount; ++i) {
        const CabinetFile& file = cabinet.files[i];
        std::wstring source = sourceFolder + L"\\" + file.source;
        if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::wprintf(L"missing from the source folder: %ls\n", file.source);
            ++failed->files;
        } else if (!CopyCabinetFile(sourceFolder, file)) {
            std::wprintf(L"could not copy %ls to %ls\n", file.source, file.installed);
            ++failed->files;
        } else {
            std::wprintf(L"copied %ls to %ls\n", file.source, file.installed);
        }
    }
}

void CreateShortcuts(const Cabinet& cabinet, FailureCounts* failed)
{
    for (size_t i = 0; i < cabinet.shortcutCount; ++i) {
        const CabinetShortcut& shortcut = cabinet.shortcuts[i];
        if (CreateShortcut(shortcut)) {
            std::wprintf(L"created the shortcut %ls\n", shortcut.path);
        } else {
            std::wprintf(L"could not create the shortcut %ls\n", shortcut.path);
            ++failed->shortcuts;
        }
    }
}

void RecordInstallation(const Cabinet& cabinet, FailureCounts* failed)
{
    bool keyFailed = false;
    WriteRecord(cabinet.appName, cabinet.installFolder, &keyFailed, &failed->values);
    failed->keys += keyFailed;
    std::wprintf(L"%ls the record HKLM\\Software\\Apps\\%ls\n",
                 keyFailed || failed->values ? L"could not write" : L"wrote", cabinet.appName);
}

void RemoveInstalledItems(const Cabinet& cabinet, bool* anyFailed)
{
    for (size_t i = 0; i < cabinet.fileCount; ++i) {
        LPCWSTR installed = cabinet.files[i].installed;
        // The hook library's copy is still loaded; it goes last.
        if (lstrcmpiW(installed, cabinet.installedHookLibrary) == 0) {
            continue;
        }
        if (DeleteInstalledFile(installed)) {
            std::wprintf(L"deleted %ls\n", installed);
        } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            std::wprintf(L"could not delete %ls\n", installed);
            *anyFailed = true;
        }
    }
    for (size_t i = 0; i < cabinet.shortcutCount; ++i) {
        // The hooks may have deleted it already.
        if (DeleteShortcut(cabinet.shortcuts[i])) {
            std::wprintf(L"deleted the shortcut %ls\n", cabinet.shortcuts[i].path);
        }
    }
    if (DeleteRecord(cabinet.appName)) {
        std::wprintf(L"deleted the record HKLM\\Software\\Apps\\%ls\n", cabinet.appName);
    }
}

}  // namespace

int Install(const Cabinet& cabinet, const std::wstring& sourceFolder)
{
    std::wstring hookPath = sourceFolder + L"\\" + cabinet.hookLibrary;
    HookLibrary hooks(hookPath.c_str());
    if (!hooks.Loaded()) {
        std::wprintf(L"cannot load the hook library %ls\n", hookPath.c_str());
        return 2;
    }

    BOOL previouslyInstalled = RecordExists(cabinet.appName);
    codeINSTALL_INIT init =
        hooks.installInit(nullptr, TRUE, previouslyInstalled, cabinet.installFolder);
    std::wprintf(L"Install_Init: %d\n", init);
    if (init != codeINSTALL_INIT_CONTINUE) {
        return 1;
    }

    FailureCounts failed;
    CopyFiles(cabinet, sourceFolder, &failed);
    CreateShortcuts(cabinet, &failed);
    RecordInstallation(cabinet, &failed);

    std::fflush(stdout);  // the message box may stay up for a while
    codeINSTALL_EXIT exit =
        hooks.installExit(nullptr, cabinet.installFolder, failed.folders, failed.files, failed.keys,
                          failed.values, failed.shortcuts);
    std::wprintf(
        L"Install_Exit (failed: %u folders, %u files, %u keys, %u values, "
        L"%u shortcuts): %d\n",
        failed.folders, failed.files, failed.keys, failed.values, failed.shortcuts, exit);
    return failed.Any() ? 1 : 0;
}

int Remove(const Cabinet& cabinet)
{
    std::wstring hookPath = DesktopPath(cabinet.installedHookLibrary);
    HookLibrary hooks(hookPath.c_str());
    if (!hooks.Loaded()) {
        std::wprintf(L"cannot load the hook library %ls; removing without it\n",
                     cabinet.installedHookLibrary);
    } else {
        codeUNINSTALL_INIT init = hooks.uninstallInit(nullptr, cabinet.installFolder);
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
    hooks.Unload();
    if (DeleteInstalledFile(cabinet.installedHookLibrary)) {
        std::wprintf(L"deleted %ls\n", cabinet.installedHookLibrary);
    }
    return anyFailed ? 1 : 0;
}
