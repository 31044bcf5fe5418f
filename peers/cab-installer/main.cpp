// Stand-in for the handheld's cabinet installer: installs the product that a
// handheld's installer cabinet holds (build/cab/TavrinFoldKeyboard.cab), or
// removes it again, calling the cabinet's hook library around its work as the
// handheld's installer does.
//   cab-installer install CABINET
//   cab-installer remove CABINET
// It reads the cabinet with Windows' cabinet library into a folder of its own
// below the temporary folder, deleted at the end. Handheld paths
// ("\Windows\...") are taken on the drive of the Windows folder. The exit
// code is 0 when everything succeeded (see installer.h), 2 for a cabinet that
// it can't use: no such cabinet, a damaged or unsafe one (package_cabinet.h),
// one without its hook library, or on removal one whose product is not
// installed. That it names in one line, before it changes anything or loads
// the hook library.
#include <cstdio>
#include <cwchar>

#include "package_cabinet.h"
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

// Opens the cabinet and installs from it or removes what its product's record
// lists.
int Run(bool install, const std::wstring& path, const std::wstring& folder)
{
    Package package;
    InstalledItems installed;
    std::wstring problem;
    if (OpenPackageCabinet(path, folder, &package, &problem) && !install &&
        !ReadRecord(RecordName(package), &installed)) {
        problem = L"its product, " + RecordName(package) + L", is not installed";
    }
    if (problem.empty()) {
        HookLibrary hooks(package.hookLibraryPath.c_str());
        if (hooks.Loaded() || !install) {
            std::wprintf(install ? L"installing from the cabinet %ls\n"
                                 : L"removing what the record of %ls lists\n",
                         install ? path.c_str() : RecordName(package).c_str());
            return install ? Install(package, hooks) : Remove(package, hooks, installed);
        }
        problem = L"its hook library (.999) is missing or damaged";
    }
    std::wprintf(L"cannot use the cabinet %ls: %ls\n", path.c_str(), problem.c_str());
    return 2;
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
    int result = Run(install, argv[2], folder);
    RemoveFolder(folder);
    return result;
}
