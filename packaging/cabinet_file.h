// Cabinet files (MS-CAB) through Windows' own cabinet library: FCI writes
// them, FDI reads them. Members are stored uncompressed, in the given order.
#pragma once

#include <string>
#include <vector>

struct CabinetMember {
    std::string name;   // in the cabinet
    std::wstring path;  // desktop path of its contents
};

// False, with the reason in *error, when the cabinet can't be written.
bool WriteCabinetFile(const std::wstring& path, const std::vector<CabinetMember>& members,
                      std::wstring* error);

// Extracts every member into the folder (its name there as in the cabinet)
// and lists them in the cabinet's order. False, with what is wrong in *error,
// for a file that is no cabinet or a damaged one.
bool ExtractCabinetFile(const std::wstring& path, const std::wstring& folder,
                        std::vector<CabinetMember>* members, std::wstring* error);
