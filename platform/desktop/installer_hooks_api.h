// The handheld cabinet installer's hook interface, for the desktop. A hook
// library exports these functions under exactly these (undecorated) names; the
// installer calls Install_Init before it copies the package's files,
// Install_Exit after it has copied them, Uninstall_Init before it removes the
// product and Uninstall_Exit after it has removed it.
#pragma once

#include <windows.h>

extern "C" {

typedef enum {
    codeINSTALL_INIT_CONTINUE = 0,  // go on with the installation
    codeINSTALL_INIT_CANCEL         // cancel it at once
} codeINSTALL_INIT;

typedef enum {
    codeINSTALL_EXIT_DONE = 0,  // the installation is complete
    codeINSTALL_EXIT_UNINSTALL  // remove the application again before ending
} codeINSTALL_EXIT;

typedef enum {
    codeUNINSTALL_INIT_CONTINUE = 0,  // go on with the removal
    codeUNINSTALL_INIT_CANCEL         // cancel it at once
} codeUNINSTALL_INIT;

typedef enum {
    codeUNINSTALL_EXIT_DONE = 0  // the removal is complete
} codeUNINSTALL_EXIT;

// firstCall: the first call of this installation (the installer may call again
// with another folder); previouslyInstalled: the application is installed already.
codeINSTALL_INIT Install_Init(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled,
                              LPCWSTR pszInstallDir);

// The counts of folders, files, registry keys, registry values and shortcuts
// that the installer failed to create.
codeINSTALL_EXIT Install_Exit(HWND hwndParent, LPCWSTR pszInstallDir, WORD cFailedDirs,
                              WORD cFailedFiles, WORD cFailedRegKeys, WORD cFailedRegVals,
                              WORD cFailedShortcuts);

codeUNINSTALL_INIT Uninstall_Init(HWND hwndParent, LPCWSTR pszInstallDir);

codeUNINSTALL_EXIT Uninstall_Exit(HWND hwndParent);

}  // extern "C"
