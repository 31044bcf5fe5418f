#include "earlier_version.h"

#include <handheld.h>

#include "reg_key.h"

namespace {

const WCHAR kAppsKey[] = L"Software\\Apps";
// Version numbers n stand for n / 100 . n % 100: 100 is 1.00, 250 is 2.50.
const int kFirstVersion = 100;
const int kLastVersion = 300;
const int kNameLength = 260;  // UTF-16 units, for either name

// The lowest version whose record exists, or 0.
int FindEarlierVersion()
{
    for (int version = kFirstVersion; version <= kLastVersion; ++version) {
        WCHAR path[kNameLength];
        wsprintfW(path, L"%s\\Tavrin Fold Keyboard V%d.%02d", kAppsKey, version / 100,
                  version % 100);
        HKEY found;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &found) == ERROR_SUCCESS) {
            RegCloseKey(found);
            return version;
        }
    }
    return 0;
}

}  // namespace

void RemoveEarlierVersionRecord()
{
    int version = FindEarlierVersion();
    if (!version) {
        return;
    }
    WCHAR name[kNameLength];
    wsprintfW(name, L"Tavrin Fold Keyboard V%d.%02d", version / 100, version % 100);

    // Failures are not examined: without the Apps key there is nothing to delete.
    RegKey apps;
    apps.Open(HKEY_LOCAL_MACHINE, kAppsKey, 0);
    apps.DeleteTree(name);
    apps.Close();
}
