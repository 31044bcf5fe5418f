#include "handheld_api.h"

BOOL WINAPI HandheldCreateProcessW(LPCWSTR applicationName, LPWSTR commandLine,
                                   LPSECURITY_ATTRIBUTES processAttributes,
                                   LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                                   DWORD creationFlags, LPVOID environment,
                                   LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                                   LPPROCESS_INFORMATION processInformation)
{
    WCHAR application[MAX_PATH];
    if (applicationName) {
        if (!ResolveHandheldPath(applicationName, application, MAX_PATH)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return FALSE;
        }
        applicationName = application;
    }

    // The desktop faults on null start-up or process information.
    STARTUPINFOW defaultStartup = {};
    defaultStartup.cb = sizeof(defaultStartup);
    PROCESS_INFORMATION started = {};
    BOOL created = CreateProcessW(applicationName, commandLine, processAttributes, threadAttributes,
                                  inheritHandles, creationFlags, environment, currentDirectory,
                                  startupInfo ? startupInfo : &defaultStartup,
                                  processInformation ? processInformation : &started);
    if (created && !processInformation) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return created;
}
