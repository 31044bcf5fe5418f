// Cabinet files (MS-CAB) through Windows' own cabinet library: FCI writes
// them, FDI reads them. Members are stored uncompressed, in the given order.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct CabinetMember {
    std::string name;   // in the cabinet
    std::wstring path;  // desktop path of its contents
};

// False, with the reason in *error, when the cabinet can't be written.
bool WriteCabinetFile(const std::wstring& path, const std::vector<CabinetMember>& members,
                      std::wstring* error);

// Whether to extract a member, asked with its name and size before anything
// of it is written.
using MemberChoice = std::function<bool(const std::string& name, unsigned long size)>;

// Extracts the members that `extract` chooses (without it, every member) into
// the folder, each under its name in the cabinet, and lists them in the
// cabinet's order. False, with what is wrong in *error, for a file that is no
// cabinet or a damaged one, or a member whose name is no plain file name.
bool ExtractCabinetFile(const std::wstring& path, const std::wstring& folder,
                        std::vector<CabinetMember>* members, std::wstring* error,
                        const MemberChoice& extract = nullptr);
