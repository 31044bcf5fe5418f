// Stand-in for the handheld's cabinet installer: installs the product that a
// cabinet's description names (setup/TavrinFoldKeyboard.inf, with the files
// beside it), or removes it again, calling the product's hook library around
// its work as the handheld's installer does.
//   cab-installer install DESCRIPTION
//   cab-installer remove DESCRIPTION
// Handheld paths ("\Windows\...") are taken on the drive of the Windows
// folder. The exit code is 0 when everything succeeded (see installer.h), 2
// also for a description that can't be read.
#include <cstdio>
#include <cwchar>

#include "cabinet_description.h"
#include "installer.h"

int wmain(int argc, wchar_t** argv)
{
    bool install = argc == 3 && !std::wcscmp(argv[1], L"install");
    bool remove = argc == 3 && !std::wcscmp(argv[1], L"remove");
    if (!install && !remove) {
        std::fwprintf(stderr, L"usage: cab-installer install|remove DESCRIPTION\n");
        return 2;
    }
    Cabinet cabinet;
    std::wstring error;
    if (!ReadCabinetDescription(argv[2], &cabinet, &error)) {
        std::wprintf(L"cannot use the cabinet's description: %ls\n", error.c_str());
        return 2;
    }
    return install ? Install(cabinet) : Remove(cabinet);
}
