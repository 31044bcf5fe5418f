// Stand-in for the handheld's cabinet installer: installs the product that a
// handheld's installer cabinet holds (build/cab/TavrinFoldKeyboard.cab), or
// removes it again, calling the cabinet's hook library, when it has one,
// around its work as the handheld's installer does; or lists what it would
// install, changing nothing.
//   cab-installer install CABINET
//   cab-installer remove CABINET
//   cab-installer list CABINET
// It reads the cabinet with Windows' cabinet library into a folder of its own
// below the temporary folder, deleted at the end. Handheld paths
// ("\Windows\...") are taken on the drive of the Windows folder. The exit
// code is 0 when everything succeeded (see installer.h), 2 for a cabinet that
// it can't use: no such cabinet, a damaged or unsafe one (package_cabinet.h),
// one whose hook library can't be loaded (checked as a file first: one for
// another processor is never loaded), or on removal one whose product is not
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

enum Command { kInstall, kRemove, kList };

// Opens the cabinet and installs from it, removes what its product's record
// lists, or lists what it would install.
int Run(Command command, const std::wstring& path, const std::wstring& folder)
{
    Package package;
    InstalledItems installed;
    std::wstring problem;
    if (OpenPackageCabinet(path, folder, &package, &problem) && command == kRemove &&
        !ReadRecord(RecordName(package), &installed)) {
        problem = L"its product, " + RecordName(package) + L", is not installed";
    }
    const std::wstring& library = package.hookLibraryPath;
    if (problem.empty() && command == kList) {
        List(package);
        return 0;
    }
    if (problem.empty()) {
        bool loadable = library.empty() || ForThisProcessor(library.c_str());
        HookLibrary hooks(loadable ? library.c_str() : L"");
        if (command == kRemove) {
            std::wprintf(L"removing what the record of %ls lists\n", RecordName(package).c_str());
            return Remove(package, hooks, installed);
        }
        if (library.empty() || hooks.Loaded()) {
            std::wprintf(L"installing from the cabinet %ls\n", path.c_str());
            return Install(package, hooks);
        }
        problem = loadable ? L"its hook library (.999) is damaged or lacks a hook"
                           : L"its hook library (.999) is no library for this processor";
    }
    std::wprintf(L"cannot use the cabinet %ls: %ls\n", path.c_str(), problem.c_str());
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* const commands[] = {L"install", L"remove", L"list"};
    int command = 0;
    while (argc == 3 && command < 3 && std::wcscmp(argv[1], commands[command]) != 0) {
        ++command;
    }
    if (argc != 3 || command == 3) {
        std::fwprintf(stderr, L"usage: cab-installer install|remove|list CABINET\n");
        return 2;
    }
    std::wstring folder = MakeFolder();
    int result = Run(static_cast<Command>(command), argv[2], folder);
    RemoveFolder(folder);
    return result;
}
