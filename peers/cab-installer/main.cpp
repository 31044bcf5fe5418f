// Stand-in for the handheld's cabinet installer: installs the product that a
// handheld's installer cabinet holds (build/cab/TavrinFoldKeyboard.cab), or
// removes it again, calling the cabinet's hook library around its work as the
// handheld's installer does.
//   cab-installer install CABINET
//   cab-installer remove CABINET
// It reads the cabinet with Windows' cabinet library into a folder of its own
// below the temporary folder, deleted at the end. Handheld paths
// ("\Windows\...") are taken on the drive of the Windows folder. The exit
// code is 0 when everything succeeded (see installer.h), 2 also for a file
// that is no such cabinet or a damaged one, which it names in one line
// before it installs anything.
#include <cstdio>
#include <cwchar>

#include "installation_cabinet.h"
#include "installer.h"

namespace {

std::wstring MakeFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = temp + (L"cab-installer-" + std::to_wstring(GetCurrentProcessId()));
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bool install = argc == 3 && !std::wcscmp(argv[1], L"install");
    bool remove = argc == 3 && !std::wcscmp(argv[1], L"remove");
    if (!install && !remove) {
        std::fwprintf(stderr, L"usage: cab-installer install|remove CABINET\n");
        return 2;
    }
    std::wstring folder = MakeFolder();
    Cabinet cabinet;
    std::wstring error;
    int result = 2;
    if (!OpenInstallationCabinet(argv[2], folder, &cabinet, &error)) {
        std::wprintf(L"cannot use the cabinet %ls: %ls\n", argv[2], error.c_str());
    } else {
        std::wprintf(install ? L"installing from the cabinet %ls\n"
                             : L"removing what the cabinet %ls installs\n",
                     argv[2]);
        result = install ? Install(cabinet) : Remove(cabinet);
    }
    RemoveFolder(folder);
    return result;
}
