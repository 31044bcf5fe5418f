// A cabinet's hook library, loaded for one installation or removal.
#pragma once

#include <installer_hooks.h>

class HookLibrary {
public:
    // Loads the library at a desktop path; Loaded() tells whether it and all
    // four hooks were found.
    explicit HookLibrary(LPCWSTR path);
    ~HookLibrary();

    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    bool Loaded() const { return installInit && installExit && uninstallInit && uninstallExit; }
    // Unloads the library (its file can be deleted then); the hooks are gone.
    void Unload();

    decltype(&Install_Init) installInit = nullptr;
    decltype(&Install_Exit) installExit = nullptr;
    decltype(&Uninstall_Init) uninstallInit = nullptr;
    decltype(&Uninstall_Exit) uninstallExit = nullptr;

private:
    HMODULE module_ = nullptr;
};
