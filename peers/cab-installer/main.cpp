// Stand-in for the handheld's cabinet installer: installs the product from a
// folder that holds the cabinet's files, or removes it again, calling the
// product's hook library around its work as the handheld's installer does.
//   cab-installer install SOURCE_FOLDER
//   cab-installer remove
// Handheld paths ("\Windows\...") are taken on the drive of the Windows
// folder. The exit code is 0 when everything succeeded (see installer.h).
#include <cstdio>
#include <cwchar>

#include "installer.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && !std::wcscmp(argv[1], L"install")) {
        return Install(ProductCabinet(), argv[2]);
    }
    if (argc == 2 && !std::wcscmp(argv[1], L"remove")) {
        return Remove(ProductCabinet());
    }
    std::fwprintf(stderr, L"usage: cab-installer install SOURCE_FOLDER | remove\n");
    return 2;
}
