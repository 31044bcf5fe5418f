// A cabinet's hook library, loaded for one installation or removal.
#pragma once

#include <installer_hooks.h>

// Whether the file at a desktop path is a library for this program's
// processor, read as a file (its PE header's machine), so that no code of a
// library for another one runs.
bool ForThisProcessor(LPCWSTR path);

class HookLibrary {
public:
    // Loads the library at a desktop path (none for an empty one); Loaded()
    // tells whether it and all four hooks were found.
    explicit HookLibrary(LPCWSTR path);
    ~HookLibrary();

    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    bool Loaded() const { return installInit && installExit && uninstallInit && uninstallExit; }
    // Unloads the library (its file can be deleted then); the hooks are gone.
    void Unload();

    using InstallInitHook = decltype(&Install_Init);
    using InstallExitHook = decltype(&Install_Exit);
    using UninstallInitHook = decltype(&Uninstall_Init);
    using UninstallExitHook = decltype(&Uninstall_Exit);

    InstallInitHook installInit = nullptr;
    InstallExitHook installExit = nullptr;
    UninstallInitHook uninstallInit = nullptr;
    UninstallExitHook uninstallExit = nullptr;

private:
    HMODULE module_ = nullptr;
};
