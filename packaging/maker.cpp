// The cabinet maker: makes a handheld's installer cabinet from its
// description and the files that the description names.
//   cab-maker DESCRIPTION CABINET [/cpu NAME]
// /cpu NAME, as the cabinet wizard's, makes the cabinet for one processor or
// platform of the description. Prints the cabinet's members; on a description
// that it can't use, one line naming the line and the reason, and no cabinet.
// Exit code 0 when made.
#include <cstdio>

#include "handheld_names.h"
#include "package_description.h"
#include "package_cabinet.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && !(argc == 5 && SameName(argv[3], L"/cpu"))) {
        std::fwprintf(stderr, L"usage: cab-maker DESCRIPTION CABINET [/cpu NAME]\n");
        return 2;
    }
    Package package;
    std::wstring error;
    DeleteFileW(argv[2]);
    if (!ReadPackageDescription(argv[1], &package, &error, argc == 5 ? argv[4] : L"") ||
        !WritePackageCabinet(package, argv[2], &error)) {
        std::fwprintf(stderr, L"cab-maker: %ls\n", error.c_str());
        return 1;
    }
    std::wprintf(
        L"%ls: installation data %hs", argv[2],
        MemberName(std::wstring(argv[2]).substr(std::wstring(argv[2]).find_last_of(L"\\/") + 1),
                   kInstallationDataMember)
            .c_str());
    for (const PackageFile& file : package.files) {
        std::wprintf(L", %hs (%ls)", MemberName(file.name, file.number).c_str(),
                     file.installed.c_str());
    }
    if (!package.hookLibrary.empty()) {
        std::wprintf(L", hook library %hs",
                     MemberName(package.hookLibrary, kHookLibraryMember).c_str());
    }
    std::wprintf(L"\n");
    return 0;
}
