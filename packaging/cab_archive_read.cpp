// Reading a cab archive with FDI.
#include <windows.h>

#include <fdi.h>

#include <fcntl.h>

#include <cstdlib>

#include "cab_archive.h"
#include "cab_archive_io.h"
#include "handheld_names.h"
#include "installation_checks.h"

namespace {

void* DIAMONDAPI Allocate(ULONG cb)
{
    return std::malloc(cb);
}
void DIAMONDAPI Free(void* pv)
{
    std::free(pv);
}
INT_PTR DIAMONDAPI Open(char* pszFile, int oflag, int pmode)
{
    (void)pmode;
    return ArchiveOpen(pszFile, oflag);
}
UINT DIAMONDAPI Read(INT_PTR hf, void* pv, UINT cb)
{
    return ArchiveRead(hf, pv, cb);
}
UINT DIAMONDAPI Write(INT_PTR hf, void* pv, UINT cb)
{
    return ArchiveWrite(hf, pv, cb);
}
int DIAMONDAPI Close(INT_PTR hf)
{
    return ArchiveClose(hf);
}
LONG DIAMONDAPI Seek(INT_PTR hf, LONG dist, int seektype)
{
    return ArchiveSeek(hf, dist, seektype);
}

struct Extraction {
    std::string folder;  // ending with a backslash
    std::vector<ArchiveMember>* members;
    std::wstring* error;
    const MemberChoice& extract;
};

std::wstring Wide(const std::string& ansi)
{
    wchar_t wide[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH) > 0 ? wide : L"?";
}

INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin)
{
    auto* extraction = static_cast<Extraction*>(pfdin->pv);
    switch (fdint) {
    case fdintCOPY_FILE: {
        std::string name = pfdin->psz1;
        if (const wchar_t* problem = NameProblem(Wide(name))) {
            *extraction->error = L"the member name " + Quoted(Wide(name)) + L" " + problem;
            return -1;
        }
        if (extraction->extract && !extraction->extract(name, pfdin->cb)) {
            return 0;  // skipped
        }
        std::string path = extraction->folder + name;
        extraction->members->push_back({name, Wide(path)});
        return ArchiveOpen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC);
    }
    case fdintCLOSE_FILE_INFO:
        ArchiveClose(pfdin->hf);
        return TRUE;
    case fdintNEXT_CABINET:
        *extraction->error = L"the cabinet continues in another one";
        return -1;
    default:
        return 0;
    }
}

const wchar_t* Problem(int code)
{
    switch (code) {
    case FDIERROR_CABINET_NOT_FOUND:
        return L"it can't be opened";
    case FDIERROR_NOT_A_CABINET:
        return L"it is no cabinet";
    case FDIERROR_UNKNOWN_CABINET_VERSION:
        return L"it is a cabinet of an unknown version";
    case FDIERROR_BAD_COMPR_TYPE:
        return L"it is compressed in an unknown way";
    case FDIERROR_TARGET_FILE:
        return L"a member can't be written";
    default:
        return L"it is damaged or cut short";
    }
}

}  // namespace

bool ExtractCabArchive(const std::wstring& path, const std::wstring& folder,
                       std::vector<ArchiveMember>* members, std::wstring* error,
                       const MemberChoice& extract)
{
    members->clear();
    error->clear();
    std::string cabinet, target;
    size_t slash = path.find_last_of(L"\\/");
    if (!AnsiPath(path, &cabinet) || !AnsiPath(folder + L"\\", &target) ||
        slash == std::wstring::npos) {
        *error = L"the path " + path + L" is not one the cabinet library takes";
        return false;
    }
    ERF erf = {};
    HFDI fdi = FDICreate(Allocate, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &erf);
    if (!fdi) {
        *error = L"the cabinet library does not start";
        return false;
    }
    // FDICopy reports a file that is no cabinet as a damaged one; ask first.
    FDICABINETINFO info = {};
    INT_PTR file = ArchiveOpen(cabinet.c_str(), _O_RDONLY);
    bool isCabinet = file != -1 && FDIIsCabinet(fdi, file, &info);
    if (file != -1) {
        ArchiveClose(file);
    }
    Extraction extraction = {target, members, error, extract};
    std::string name = cabinet.substr(slash + 1), where = cabinet.substr(0, slash + 1);
    bool extracted =
        isCabinet && FDICopy(fdi, &name[0], &where[0], 0, Notify, nullptr, &extraction);
    FDIDestroy(fdi);
    if (!extracted && error->empty()) {
        *error = std::wstring(L"cannot read the cabinet: ") +
                 (file == -1 ? Problem(FDIERROR_CABINET_NOT_FOUND)
                             : Problem(isCabinet ? erf.erfOper : FDIERROR_NOT_A_CABINET));
    }
    return extracted;
}
