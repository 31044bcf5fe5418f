#include "cabinet_description.h"

#include <cwchar>

#include "inf_file.h"

namespace {

struct NamedFolder {
    const wchar_t* name;
    const wchar_t* path;
};

// The handheld's standard folders as an English Pocket PC names them; on a
// handheld in another language the installer takes that language's names.
const NamedFolder kStandardFolders[] = {
    {L"CE1", L"\\Program Files"},
    {L"CE2", L"\\Windows"},
    {L"CE4", L"\\Windows\\StartUp"},
    {L"CE5", L"\\My Documents"},
    {L"CE8", L"\\Program Files\\Games"},
    {L"CE11", L"\\Windows\\Start Menu\\Programs"},
    {L"CE14", L"\\Windows\\Start Menu\\Programs\\Games"},
    {L"CE15", L"\\Windows\\Fonts"},
    {L"CE17", L"\\Windows\\Start Menu"},
};

struct NamedRoot {
    const wchar_t* name;
    HKEY root;
};

const NamedRoot kRoots[] = {
    {L"HKLM", HKEY_LOCAL_MACHINE},
    {L"HKCU", HKEY_CURRENT_USER},
    {L"HKCR", HKEY_CLASSES_ROOT},
};

const wchar_t* const kInstallKeys[] = {L"CopyFiles", L"AddReg", L"CEShortcuts", L"CESetupDLL"};

// The registry value types that the format writes as flags.
const DWORD kTextFlags = 0x00000000;
const DWORD kNumberFlags = 0x00010001;

// How deep %strings% may stand inside one another.
const int kStringDepth = 8;

bool ParseNumber(const std::wstring& text, DWORD* value)
{
    if (text.empty() || text[0] == L'-' || text[0] == L'+' || text[0] == L' ') {
        return false;
    }
    wchar_t* end = nullptr;
    unsigned long long number = std::wcstoull(text.c_str(), &end, 0);
    if (*end != L'\0' || number > 0xFFFFFFFFull) {
        return false;
    }
    *value = static_cast<DWORD>(number);
    return true;
}

std::wstring Field(const InfLine& line, size_t index)
{
    return index < line.fields.size() ? line.fields[index] : std::wstring();
}

std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}

std::wstring FileName(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

bool IsHandheldPath(const std::wstring& path)
{
    return !path.empty() && path[0] == L'\\';
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

class DescriptionReader {
public:
    DescriptionReader(const InfFile& inf, std::wstring* error) : inf_(inf), error_(error) {}

    bool Read(const std::wstring& folder, Cabinet* cabinet)
    {
        auto file = [&](const InfSection& list, const InfLine& line) {
            return ReadCopiedFile(list, line, cabinet);
        };
        auto shortcut = [&](const InfSection& list, const InfLine& line) {
            return ReadShortcut(list, line, cabinet);
        };
        auto value = [&](const InfSection& list, const InfLine& line) {
            return ReadRegistryValue(list, line, cabinet);
        };
        return ReadNames(cabinet) && ReadSources(folder) && CheckInstallKeys() &&
               ReadListed(L"CopyFiles", true, file) &&
               ReadListed(L"CEShortcuts", false, shortcut) && ReadListed(L"AddReg", false, value) &&
               ReadHookLibrary(cabinet);
    }

private:
    struct SourceFile {
        std::wstring name;
        std::wstring path;  // desktop path
    };

    bool Fail(const std::wstring& reason)
    {
        *error_ = reason;
        return false;
    }
    bool Fail(const InfLine& line, const std::wstring& reason)
    {
        return Fail(L"line " + std::to_wstring(line.number) + L": " + reason);
    }

    // The text with every %string% replaced: the standard folders, then the
    // keys of [CEStrings] and [Strings]; "%%" is a percent sign.
    bool Expand(const InfLine& line, const std::wstring& text, std::wstring* expanded,
                int depth = 0)
    {
        if (depth > kStringDepth) {
            return Fail(line, L"%strings% refer to one another in a circle");
        }
        std::wstring result;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != L'%') {
                result += text[i];
                continue;
            }
            size_t close = text.find(L'%', i + 1);
            if (close == std::wstring::npos) {
                return Fail(line, L"a % is not closed in \"" + text + L"\"");
            }
            std::wstring name = text.substr(i + 1, close - i - 1);
            i = close;
            std::wstring value = L"%";
            if (!name.empty() && !Lookup(line, name, &value, depth)) {
                return false;
            }
            result += value;
        }
        *expanded = result;
        return true;
    }

    bool Lookup(const InfLine& line, const std::wstring& name, std::wstring* value, int depth)
    {
        for (const NamedFolder& folder : kStandardFolders) {
            if (SameName(name, folder.name)) {
                *value = folder.path;
                return true;
            }
        }
        for (const wchar_t* section : {L"CEStrings", L"Strings"}) {
            if (const InfLine* definition = inf_.Find(section, name)) {
                return Expand(*definition, Field(*definition, 0), value, depth + 1);
            }
        }
        return Fail(line, L"the string %" + name + L"% is not defined");
    }

    // The expanded first field of a key that must be there and not be empty.
    bool Required(const wchar_t* section, const wchar_t* key, std::wstring* value)
    {
        const InfLine* line = inf_.Find(section, key);
        if (!line) {
            return Fail(L"[" + std::wstring(section) + L"] has no " + key);
        }
        if (!Expand(*line, Field(*line, 0), value)) {
            return false;
        }
        return !value->empty() || Fail(*line, std::wstring(key) + L" is empty");
    }

    // The sections that a line of [DefaultInstall] lists.
    bool ListedSections(const InfLine& line, std::vector<const InfSection*>* sections)
    {
        for (const std::wstring& name : line.fields) {
            const InfSection* section = inf_.Section(name);
            if (!section) {
                return Fail(line, L"there is no section [" + name + L"]");
            }
            sections->push_back(section);
        }
        return true;
    }

    // Where [DestinationDirs] puts the items of a list: its own entry, or
    // DefaultDestDir. Only a path is supported ("0, path").
    bool DestinationFolder(const InfSection& list, std::wstring* folder)
    {
        const InfLine* line = inf_.Find(L"DestinationDirs", list.name);
        if (!line) {
            line = inf_.Find(L"DestinationDirs", L"DefaultDestDir");
        }
        if (!line) {
            return Fail(L"[DestinationDirs] gives no folder for [" + list.name + L"]");
        }
        if (Field(*line, 0) != L"0") {
            return Fail(*line, L"only a folder given by its path (0, path) is supported");
        }
        if (!Expand(*line, Field(*line, 1), folder)) {
            return false;
        }
        return IsHandheldPath(*folder) || Fail(*line, L"\"" + *folder + L"\" is no handheld path");
    }

    bool ReadNames(Cabinet* cabinet)
    {
        std::wstring signature, provider, appName;
        if (!Required(L"Version", L"Signature", &signature)) {
            return false;
        }
        if (!SameName(signature, L"$Windows NT$")) {
            return Fail(*inf_.Find(L"Version", L"Signature"),
                        L"the Signature must be \"$Windows NT$\"");
        }
        if (!Required(L"Version", L"Provider", &provider) ||
            !Required(L"CEStrings", L"AppName", &appName) ||
            !Required(L"CEStrings", L"InstallDir", &cabinet->installFolder)) {
            return false;
        }
        cabinet->appName = provider + L" " + appName;
        return IsHandheldPath(cabinet->installFolder) ||
               Fail(*inf_.Find(L"CEStrings", L"InstallDir"),
                    L"InstallDir must be a handheld path such as \\Windows");
    }

    bool ReadSources(const std::wstring& folder)
    {
        const InfSection* disks = inf_.Section(L"SourceDisksNames");
        const InfSection* files = inf_.Section(L"SourceDisksFiles");
        if (!disks || !files) {
            return Fail(L"[SourceDisksNames] and [SourceDisksFiles] must say where the files are");
        }
        for (const InfLine& file : files->lines) {
            if (file.key.empty()) {
                return Fail(file, L"a source file is: name = disk");
            }
            const InfLine* disk = nullptr;
            for (const InfLine& candidate : disks->lines) {
                if (candidate.key == Field(file, 0)) {
                    disk = &candidate;
                }
            }
            if (!disk) {
                return Fail(file, L"\"" + file.key + L"\" = " + Field(file, 0) +
                                      L" names no disk of [SourceDisksNames]");
            }
            std::wstring path;
            if (!Expand(*disk, Field(*disk, 3), &path)) {
                return false;
            }
            bool absolute = path.size() > 1 && (path[1] == L':' || path[0] == L'\\');
            path = FullPath(absolute ? path : path.empty() ? folder : Join(folder, path));
            sourceFiles_.push_back({file.key, Join(path, file.key)});
        }
        return true;
    }

    const SourceFile* Source(const std::wstring& name) const
    {
        for (const SourceFile& file : sourceFiles_) {
            if (SameName(file.name, name)) {
                return &file;
            }
        }
        return nullptr;
    }

    bool CheckInstallKeys()
    {
        const InfSection* install = inf_.Section(L"DefaultInstall");
        if (!install) {
            return Fail(L"there is no section [DefaultInstall]");
        }
        for (const InfLine& line : install->lines) {
            bool known = false;
            for (const wchar_t* key : kInstallKeys) {
                known |= SameName(line.key, key);
            }
            if (!known) {
                return Fail(line, L"[DefaultInstall] " + (line.key.empty()
                                                              ? L"needs key = value lines"
                                                              : line.key + L" is not supported"));
            }
        }
        return true;
    }

    // Reads every line of the sections that a key of [DefaultInstall] lists.
    template <typename ReadLine>
    bool ReadListed(const wchar_t* key, bool required, ReadLine readLine)
    {
        const InfLine* listing = inf_.Find(L"DefaultInstall", key);
        if (!listing) {
            return !required || Fail(L"[DefaultInstall] has no " + std::wstring(key));
        }
        std::vector<const InfSection*> lists;
        if (!ListedSections(*listing, &lists)) {
            return false;
        }
        for (const InfSection* list : lists) {
            for (const InfLine& line : list->lines) {
                if (!readLine(*list, line)) {
                    return false;
                }
            }
        }
        return true;
    }

    // installed name [, name in the cabinet [, unused [, flags]]]
    bool ReadCopiedFile(const InfSection& list, const InfLine& line, Cabinet* cabinet)
    {
        std::wstring installed, source, folder;
        DWORD flags = 0;
        if (!line.key.empty()) {
            return Fail(line, L"a file list holds no key = value lines");
        }
        if (!DestinationFolder(list, &folder) || !Expand(line, Field(line, 0), &installed) ||
            !Expand(line, Field(line, 1), &source)) {
            return false;
        }
        if (installed.empty() || installed.find(L'\\') != std::wstring::npos) {
            return Fail(line, L"the installed name must be a file name");
        }
        if (line.fields.size() > 4 ||
            (!Field(line, 3).empty() && !ParseNumber(Field(line, 3), &flags))) {
            return Fail(line, L"a file is: installed name, name in the cabinet, , flags");
        }
        const SourceFile* file = Source(source.empty() ? installed : source);
        if (!file) {
            return Fail(line, L"\"" + (source.empty() ? installed : source) +
                                  L"\" is not in [SourceDisksFiles]");
        }
        std::wstring path = Join(folder, installed);
        for (const CabinetFile& other : cabinet->files) {
            if (SameName(other.installed, path)) {
                return Fail(line, path + L" is installed twice");
            }
        }
        cabinet->files.push_back({file->name, file->path, path});
        return true;
    }

    // name, 0 (a file), installed file it starts [, folder]
    bool ReadShortcut(const InfSection& list, const InfLine& line, Cabinet* cabinet)
    {
        std::wstring name, target, folder;
        DWORD toFolder = 0;
        if (!line.key.empty() || line.fields.size() < 3 || line.fields.size() > 4) {
            return Fail(line, L"a shortcut is: name, 0, installed file [, folder]");
        }
        if (!Field(line, 1).empty() && (!ParseNumber(Field(line, 1), &toFolder) || toFolder)) {
            return Fail(line, L"only shortcuts to files (0) are supported");
        }
        if (!Expand(line, Field(line, 0), &name) || !Expand(line, Field(line, 2), &target)) {
            return false;
        }
        if (name.empty() || name.find(L'\\') != std::wstring::npos) {
            return Fail(line, L"the shortcut's name must be a file name");
        }
        const CabinetFile* started = nullptr;
        for (const CabinetFile& file : cabinet->files) {
            if (!started && SameName(FileName(file.installed), target)) {
                started = &file;
            }
        }
        if (!started) {
            return Fail(line, L"\"" + target + L"\" is not a file that the cabinet installs");
        }
        if (!Field(line, 3).empty()) {
            if (!Expand(line, Field(line, 3), &folder)) {
                return false;
            }
            if (!IsHandheldPath(folder)) {
                return Fail(line, L"\"" + folder + L"\" is no handheld path");
            }
        } else if (!DestinationFolder(list, &folder)) {
            return false;
        }
        cabinet->shortcuts.push_back({Join(folder, name + L".lnk"), started->installed});
        return true;
    }

    // root, key, value name, flags, data
    bool ReadRegistryValue(const InfSection&, const InfLine& line, Cabinet* cabinet)
    {
        CabinetRegistryValue value = {};
        DWORD flags = 0;
        std::wstring data;
        if (!line.key.empty() || line.fields.size() != 5) {
            return Fail(line, L"a registry value is: root, key, value name, flags, data");
        }
        for (const NamedRoot& root : kRoots) {
            if (SameName(Field(line, 0), root.name)) {
                value.root = root.root;
                value.rootName = root.name;
            }
        }
        if (!value.root) {
            return Fail(line, L"the registry root must be HKLM, HKCU or HKCR");
        }
        if (!Expand(line, Field(line, 1), &value.key) ||
            !Expand(line, Field(line, 2), &value.name) || !Expand(line, Field(line, 4), &data)) {
            return false;
        }
        if (value.key.empty()) {
            return Fail(line, L"the registry key is missing");
        }
        if (!ParseNumber(Field(line, 3), &flags) ||
            (flags != kTextFlags && flags != kNumberFlags)) {
            return Fail(line,
                        L"only text (0x00000000) and number (0x00010001) values are supported");
        }
        if (flags == kTextFlags) {
            value.type = REG_SZ;
            value.text = data;
        } else {
            value.type = REG_DWORD;
            if (!ParseNumber(data, &value.number)) {
                return Fail(line, L"\"" + data + L"\" is not a number");
            }
        }
        cabinet->registryValues.push_back(value);
        return true;
    }

    bool ReadHookLibrary(Cabinet* cabinet)
    {
        const InfLine* line = inf_.Find(L"DefaultInstall", L"CESetupDLL");
        if (!line) {
            return true;
        }
        if (!Expand(*line, Field(*line, 0), &cabinet->hookLibrary)) {
            return false;
        }
        const SourceFile* file = Source(cabinet->hookLibrary);
        if (!file) {
            return Fail(*line, L"\"" + cabinet->hookLibrary + L"\" is not in [SourceDisksFiles]");
        }
        cabinet->hookLibraryPath = file->path;
        for (const CabinetFile& installed : cabinet->files) {
            if (cabinet->installedHookLibrary.empty() && SameName(installed.source, file->name)) {
                cabinet->installedHookLibrary = installed.installed;
            }
        }
        return true;
    }

    const InfFile& inf_;
    std::wstring* error_;
    std::vector<SourceFile> sourceFiles_;
};

bool ReadBytes(const std::wstring& path, std::string* bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[4096];
    DWORD read = 0;
    BOOL ok;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read) {
        bytes->append(buffer, read);
    }
    CloseHandle(file);
    return ok != FALSE;
}

}  // namespace

bool ParseCabinetDescription(const std::string& utf8, const std::wstring& folder, Cabinet* cabinet,
                             std::wstring* error)
{
    InfFile inf;
    *cabinet = Cabinet();
    return inf.Parse(utf8, error) && DescriptionReader(inf, error).Read(folder, cabinet);
}

bool ReadCabinetDescription(const std::wstring& path, Cabinet* cabinet, std::wstring* error)
{
    std::wstring full = FullPath(path);
    std::string bytes;
    if (!ReadBytes(full, &bytes)) {
        *error = L"cannot read " + full + L" (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    if (!ParseCabinetDescription(bytes, full.substr(0, full.find_last_of(L"\\/")), cabinet,
                                 error)) {
        *error = full + L": " + *error;
        return false;
    }
    return true;
}
