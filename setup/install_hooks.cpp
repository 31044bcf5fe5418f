// The four hooks of the product's installer cabinet. None of them ever cancels
// an installation or a removal, and no failure changes a result.
#include <installer_hooks.h>
#include <keyboard_service.h>

#include "earlier_files.h"
#include "earlier_version.h"
#include "outside_windows.h"

namespace {

// Time for the closed programs to end and let go of their files.
const DWORD kInstallPauseMs = 1000;
const DWORD kUninstallPauseMs = 2000;
// Time for the other model's service to end before it starts again.
const DWORD kRestartPauseMs = 2000;

// The c cedilla and a tilde are hex escapes: every compiler reads them alike.
// A literal ends after an escape that a hex digit follows.
const WCHAR kInstalledText[] =
    L"Tavrin Fold Keyboard instalado com sucesso !Fa\x00e7"
    L"a a reinicia\x00e7\x00e3o por software do Tavrin.";
const WCHAR kInstalledCaption[] = L" ";

}  // namespace

// The installer's continue and done codes are 0.
C_ASSERT(codeINSTALL_INIT_CONTINUE == 0 && codeINSTALL_EXIT_DONE == 0 &&
         codeUNINSTALL_INIT_CONTINUE == 0 && codeUNINSTALL_EXIT_DONE == 0);

codeINSTALL_INIT Install_Init(HWND, BOOL, BOOL, LPCWSTR)
{
    CloseWindowOfClass(KBSVC_WINDOW_CLASS);
    CloseWindowOfClass(STATE_WINDOW_CLASS);
    Sleep(kInstallPauseMs);
    DeleteShortcuts();
    DeleteProgramFiles();
    RemoveEarlierVersionRecord();
    return codeINSTALL_INIT_CONTINUE;
}

codeINSTALL_EXIT Install_Exit(HWND hwndParent, LPCWSTR, WORD, WORD, WORD, WORD, WORD)
{
    // Shown whatever the installer failed to create.
    MessageBoxW(hwndParent, kInstalledText, kInstalledCaption, MB_OK);
    return codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT Uninstall_Init(HWND, LPCWSTR)
{
    CloseWindowOfClass(KBSVC_WINDOW_CLASS);
    Sleep(kUninstallPauseMs);
    // The program files and the registry record are the installer's to remove.
    DeleteShortcuts();
    return codeUNINSTALL_INIT_CONTINUE;
}

codeUNINSTALL_EXIT Uninstall_Exit(HWND)
{
    if (CloseWindowOfClass(OTHER_SERVICE_WINDOW_CLASS)) {
        Sleep(kRestartPauseMs);
        CreateProcessW(OTHER_SERVICE_EXECUTABLE, NULL, NULL, NULL, FALSE, 0, NULL, NULL, NULL,
                       NULL);
    }
    CloseWindowOfClass(STATE_WINDOW_CLASS);
    return codeUNINSTALL_EXIT_DONE;
}
