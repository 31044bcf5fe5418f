// Writing a cab archive with FCI.
#include <windows.h>

#include <fci.h>

#include <cstdlib>
#include <cstring>

#include "cab_archive.h"
#include "cab_archive_io.h"

namespace {

void* DIAMONDAPI Allocate(ULONG cb)
{
    return std::malloc(cb);
}
void DIAMONDAPI Free(void* memory)
{
    std::free(memory);
}
INT_PTR DIAMONDAPI Open(char* pszFile, int oflag, int pmode, int* err, void* pv)
{
    (void)pmode, (void)pv;
    INT_PTR file = ArchiveOpen(pszFile, oflag);
    *err = file == -1 ? static_cast<int>(GetLastError()) : 0;
    return file;
}
UINT DIAMONDAPI Read(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    (void)pv;
    UINT read = ArchiveRead(hf, memory, cb);
    *err = read == UINT(-1) ? static_cast<int>(GetLastError()) : 0;
    return read;
}
UINT DIAMONDAPI Write(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    (void)pv;
    UINT written = ArchiveWrite(hf, memory, cb);
    *err = written == UINT(-1) ? static_cast<int>(GetLastError()) : 0;
    return written;
}
int DIAMONDAPI Close(INT_PTR hf, int* err, void* pv)
{
    (void)pv;
    *err = 0;
    return ArchiveClose(hf);
}
LONG DIAMONDAPI Seek(INT_PTR hf, LONG dist, int seektype, int* err, void* pv)
{
    (void)pv;
    *err = 0;
    return ArchiveSeek(hf, dist, seektype);
}
int DIAMONDAPI Delete(char* pszFile, int* err, void* pv)
{
    (void)pv;
    *err = 0;
    return DeleteFileA(pszFile) ? 0 : -1;
}
int DIAMONDAPI Placed(PCCAB pccab, char* pszFile, LONG cbFile, BOOL fContinuation, void* pv)
{
    (void)pccab, (void)pszFile, (void)cbFile, (void)fContinuation, (void)pv;
    return 0;
}
BOOL DIAMONDAPI TempFile(char* pszTempName, int cbTempName, void* pv)
{
    (void)pv;
    char folder[MAX_PATH];
    char name[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "cab", 0, name) ||
        static_cast<int>(std::strlen(name)) >= cbTempName) {
        return FALSE;
    }
    DeleteFileA(name);  // FCI creates it itself
    std::strcpy(pszTempName, name);
    return TRUE;
}
BOOL DIAMONDAPI NextCabinet(PCCAB pccab, ULONG cbPrevCab, void* pv)
{
    (void)pccab, (void)cbPrevCab, (void)pv;
    return FALSE;  // one cabinet holds everything
}
LONG DIAMONDAPI Status(UINT typeStatus, ULONG cb1, ULONG cb2, void* pv)
{
    (void)typeStatus, (void)cb1, (void)cb2, (void)pv;
    return 0;
}
INT_PTR DIAMONDAPI OpenInfo(char* pszName, USHORT* pdate, USHORT* ptime, USHORT* pattribs, int* err,
                            void* pv)
{
    (void)pv;
    HANDLE file = CreateFileA(pszName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    FILETIME local;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info) ||
        !FileTimeToLocalFileTime(&info.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, pdate, ptime)) {
        *err = static_cast<int>(GetLastError());
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        return -1;
    }
    // The cabinet's attribute bits are the file system's.
    *pattribs = static_cast<USHORT>(info.dwFileAttributes &
                                    (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    *err = 0;
    return reinterpret_cast<INT_PTR>(file);
}

}  // namespace

bool WriteCabArchive(const std::wstring& path, const std::vector<ArchiveMember>& members,
                     std::wstring* error, const ArchiveShape& shape)
{
    std::string cabinet;
    CCAB ccab = {};
    size_t slash = path.find_last_of(L"\\/");
    if (!AnsiPath(path, &cabinet) || slash == std::wstring::npos ||
        cabinet.size() >= sizeof(ccab.szCabPath)) {
        *error = L"the cabinet's path " + path + L" is not one the cabinet library takes";
        return false;
    }
    ccab.cb = 0x7FFFFFFF;
    ccab.cbFolderThresh = 0x7FFFFFFF;
    if (shape.reserved) {  // as newer wizards reserve it
        ccab.cbReserveCFHeader = 20;
        ccab.cbReserveCFFolder = 8;
    }
    std::strcpy(ccab.szCabPath, cabinet.substr(0, slash + 1).c_str());
    std::strcpy(ccab.szCab, cabinet.substr(slash + 1).c_str());

    ERF erf = {};
    HFCI fci = FCICreate(&erf, Placed, Allocate, Free, Open, Read, Write, Close, Seek, Delete,
                         TempFile, &ccab, nullptr);
    if (!fci) {
        *error =
            L"the cabinet library does not start (error " + std::to_wstring(erf.erfOper) + L")";
        return false;
    }
    bool written = true;
    for (const ArchiveMember& member : members) {
        std::string source;
        if (!AnsiPath(member.path, &source) ||
            !FCIAddFile(fci, &source[0], const_cast<char*>(member.name.c_str()), FALSE, NextCabinet,
                        Status, OpenInfo, shape.compressed ? tcompTYPE_MSZIP : tcompTYPE_NONE) ||
            (shape.folderEach && !FCIFlushFolder(fci, NextCabinet, Status))) {
            *error = L"cannot add " + member.path + L" to the cabinet (error " +
                     std::to_wstring(erf.erfOper) + L")";
            written = false;
            break;
        }
    }
    if (written && !FCIFlushCabinet(fci, FALSE, NextCabinet, Status)) {
        *error =
            L"cannot write the cabinet " + path + L" (error " + std::to_wstring(erf.erfOper) + L")";
        written = false;
    }
    FCIDestroy(fci);
    if (!written) {
        DeleteFileW(path.c_str());
    }
    return written;
}
