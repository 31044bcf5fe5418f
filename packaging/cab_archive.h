// Cab archives, the MS-CAB container, through Windows' own cabinet library:
// FCI writes them, FDI reads them, in every layout that FDI reads. Members
// are stored in the given order. What the members mean is package_cabinet.h's.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct ArchiveMember {
    std::string name;   // in the archive
    std::wstring path;  // desktop path of its contents
};

// How an archive is laid out. The project's cabinets store their members
// uncompressed in one folder; newer wizards compress them (MSZIP), may give
// each its own folder, and reserve room in the header and in each folder.
struct ArchiveShape {
    bool compressed = false;
    bool folderEach = false;
    bool reserved = false;
};

// False, with the reason in *error, when the archive can't be written.
bool WriteCabArchive(const std::wstring& path, const std::vector<ArchiveMember>& members,
                     std::wstring* error, const ArchiveShape& shape = ArchiveShape());

// Whether to extract a member, asked with its name and size before anything
// of it is written.
using MemberChoice = std::function<bool(const std::string& name, unsigned long size)>;

// Extracts the members that `extract` chooses (without it, every member) into
// the folder, each under its name in the archive, and lists them in the
// archive's order. False, with what is wrong in *error, for a file that is no
// cab archive or a damaged one, or a member whose name is no plain file name.
bool ExtractCabArchive(const std::wstring& path, const std::wstring& folder,
                       std::vector<ArchiveMember>* members, std::wstring* error,
                       const MemberChoice& extract = nullptr);
