#include "package_description.h"

#include <cwchar>

#include "handheld_names.h"
#include "inf_file.h"

namespace {

const wchar_t* const kInstallKeys[] = {L"CopyFiles", L"AddReg", L"CEShortcuts", L"CESetupDLL"};
const wchar_t* const kDeviceKeys[] = {L"ProcessorType", L"UnsupportedPlatforms",
                                      L"VersionMin",    L"VersionMax",
                                      L"BuildMin",      L"BuildMax"};

// How deep [CEStrings] may stand inside one another.
const int kStringDepth = 8;

// Decimal, or hexadecimal after 0x: "010" is ten.
bool ParseNumber(const std::wstring& text, DWORD* value)
{
    bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    std::wstring digits = text.substr(hex ? 2 : 0);
    if (digits.empty() || digits.find_first_not_of(hex ? L"0123456789abcdefABCDEF"
                                                       : L"0123456789") != std::wstring::npos) {
        return false;
    }
    unsigned long long number = std::wcstoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (number > 0xFFFFFFFFull) {  // ULLONG_MAX too when it doesn't fit
        return false;
    }
    *value = static_cast<DWORD>(number);
    return true;
}

// "3.00" as 3 and 0, "3.99" as 3 and 99.
bool ParseVersion(const std::wstring& text, DWORD* major, DWORD* minor)
{
    size_t dot = text.find(L'.');
    *minor = 0;
    return ParseNumber(text.substr(0, dot), major) &&
           (dot == std::wstring::npos || ParseNumber(text.substr(dot + 1), minor));
}

bool IsKnown(const std::wstring& key, const wchar_t* const* keys, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (SameName(key, keys[i])) {
            return true;
        }
    }
    return false;
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

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

class DescriptionReader {
public:
    DescriptionReader(const InfFile& inf, std::wstring* error) : inf_(inf), error_(error) {}

    bool Read(const std::wstring& folder, Package* package)
    {
        auto file = [&](const InfSection& list, const InfLine& line) {
            return ReadCopiedFile(list, line, package);
        };
        auto shortcut = [&](const InfSection& list, const InfLine& line) {
            return ReadShortcut(list, line, package);
        };
        auto value = [&](const InfSection& list, const InfLine& line) {
            return ReadRegistryValue(list, line, package);
        };
        return ReadNames(package) && ReadDevice(package) && ReadSources(folder) &&
               CheckKeys(L"DefaultInstall", kInstallKeys, 4, true) &&
               ReadListed(L"CopyFiles", true, file) &&
               ReadListed(L"CEShortcuts", false, shortcut) && ReadListed(L"AddReg", false, value) &&
               ReadHookLibrary(package);
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

    // The text with every %string% of [CEStrings] replaced (SetupAPI has
    // replaced those of [Strings]); the standard folders %CEn% stay for the
    // installer. A lone % stays as it is.
    bool Expand(const InfLine& line, const std::wstring& text, std::wstring* expanded,
                int depth = 0)
    {
        if (depth > kStringDepth) {
            return Fail(line, L"%strings% refer to one another in a circle");
        }
        std::wstring result;
        for (size_t i = 0; i < text.size(); ++i) {
            size_t close = text[i] == L'%' ? text.find(L'%', i + 1) : std::wstring::npos;
            if (close == std::wstring::npos) {
                result += text[i];
                continue;
            }
            std::wstring name = text.substr(i, close - i + 1);
            const InfLine* definition = inf_.Find(L"CEStrings", name.substr(1, name.size() - 2));
            std::wstring value;
            if (definition) {
                if (!Expand(*definition, Field(*definition, 0), &value, depth + 1)) {
                    return false;
                }
            } else if (!HandheldFolder(name).empty()) {
                value = name;
            } else {
                return Fail(line, L"the string " + name + L" is not defined");
            }
            result += value;
            i = close;
        }
        for (wchar_t c : result) {
            if (c > 0x7F) {
                return Fail(line, L"\"" + result +
                                      L"\" is not ASCII, which the cabinet's installation data "
                                      L"can't carry");
            }
        }
        *expanded = result;
        return true;
    }

    // A name or value: no standard folder in it.
    bool Text(const InfLine& line, const std::wstring& text, std::wstring* expanded)
    {
        if (!Expand(line, text, expanded)) {
            return false;
        }
        return expanded->find(L'%') == std::wstring::npos ||
               Fail(line, L"\"" + *expanded + L"\": a %string% stands only at a folder's start");
    }

    // A folder: a standard folder and what follows.
    bool Folder(const InfLine& line, const std::wstring& text, std::wstring* folder)
    {
        if (!Expand(line, text, folder)) {
            return false;
        }
        return (!HandheldFolder(*folder).empty() &&
                folder->find(L'%', folder->find(L'%', 1) + 1) == std::wstring::npos &&
                folder->find(L"\\\\") == std::wstring::npos && folder->back() != L'\\') ||
               Fail(line,
                    L"\"" + *folder + L"\" is no folder below a standard folder such as %CE2%");
    }

    // The expanded first field of a key that must be there and not be empty.
    bool Required(const wchar_t* section, const wchar_t* key, std::wstring* value)
    {
        const InfLine* line = inf_.Find(section, key);
        if (!line) {
            return Fail(L"[" + std::wstring(section) + L"] has no " + key);
        }
        if (!Text(*line, Field(*line, 0), value)) {
            return false;
        }
        return !value->empty() || Fail(*line, std::wstring(key) + L" is empty");
    }

    bool CheckKeys(const wchar_t* section, const wchar_t* const* keys, size_t count, bool required)
    {
        const InfSection* found = inf_.Section(section);
        if (!found) {
            return !required || Fail(L"there is no section [" + std::wstring(section) + L"]");
        }
        for (const InfLine& line : found->lines) {
            if (!IsKnown(line.key, keys, count)) {
                return Fail(line, L"[" + std::wstring(section) + L"] " +
                                      (line.key.empty() ? L"needs key = value lines"
                                                        : line.key + L" is not supported"));
            }
        }
        return true;
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
    // DefaultDestDir. Only a folder is supported ("0, folder").
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
            return Fail(*line, L"only a folder given by its path (0, folder) is supported");
        }
        return Folder(*line, Field(*line, 1), folder);
    }

    bool ReadNames(Package* package)
    {
        std::wstring signature;
        if (!Required(L"Version", L"CESignature", &signature)) {
            return false;
        }
        if (!SameName(signature, L"$Windows CE$")) {
            return Fail(*inf_.Find(L"Version", L"CESignature"),
                        L"the CESignature must be \"$Windows CE$\"");
        }
        const InfLine* installDir = inf_.Find(L"CEStrings", L"InstallDir");
        if (!Required(L"Version", L"Provider", &package->provider) ||
            !Required(L"CEStrings", L"AppName", &package->appName)) {
            return false;
        }
        if (!installDir) {
            return Fail(L"[CEStrings] has no InstallDir");
        }
        if (!Folder(*installDir, Field(*installDir, 0), &package->installDir)) {
            return false;
        }
        package->installFolder = HandheldFolder(package->installDir);
        return true;
    }

    bool ReadDevice(Package* package)
    {
        if (!CheckKeys(L"CEDevice", kDeviceKeys, 6, false)) {
            return false;
        }
        struct {
            const wchar_t* key;
            DWORD* major;
            DWORD* minor;
        } numbers[] = {
            {L"ProcessorType", &package->processorType, nullptr},
            {L"VersionMin", &package->versionMinMajor, &package->versionMinMinor},
            {L"VersionMax", &package->versionMaxMajor, &package->versionMaxMinor},
            {L"BuildMin", &package->buildMin, nullptr},
            {L"BuildMax", &package->buildMax, nullptr},
        };
        for (const auto& number : numbers) {
            const InfLine* line = inf_.Find(L"CEDevice", number.key);
            std::wstring text;
            if (!line) {
                continue;
            }
            if (!Text(*line, Field(*line, 0), &text)) {
                return false;
            }
            if (line->fields.size() != 1 ||
                !(number.minor ? ParseVersion(text, number.major, number.minor)
                               : ParseNumber(text, number.major))) {
                return Fail(*line, L"\"" + text + L"\" is not a " +
                                       (number.minor ? L"version such as 3.00" : L"number"));
            }
        }
        if (const InfLine* line = inf_.Find(L"CEDevice", L"UnsupportedPlatforms")) {
            for (const std::wstring& field : line->fields) {
                std::wstring platform;
                if (!Text(*line, field, &platform)) {
                    return false;
                }
                if (platform.empty()) {
                    return Fail(*line, L"a platform's name is empty");
                }
                package->unsupportedPlatforms.push_back(platform);
            }
        }
        return true;
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
            if (!Text(*disk, Field(*disk, 3), &path)) {
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
    bool ReadCopiedFile(const InfSection& list, const InfLine& line, Package* package)
    {
        PackageFile file = {};
        std::wstring source;
        if (!line.key.empty()) {
            return Fail(line, L"a file list holds no key = value lines");
        }
        if (!DestinationFolder(list, &file.folder) || !Text(line, Field(line, 0), &file.name) ||
            !Text(line, Field(line, 1), &source)) {
            return false;
        }
        if (file.name.empty() || file.name.find(L'\\') != std::wstring::npos) {
            return Fail(line, L"the installed name must be a file name");
        }
        if (line.fields.size() > 4 ||
            (!Field(line, 3).empty() && !ParseNumber(Field(line, 3), &file.flags))) {
            return Fail(line, L"a file is: installed name, name in the cabinet, , flags");
        }
        const SourceFile* found = Source(source.empty() ? file.name : source);
        if (!found) {
            return Fail(line, L"\"" + (source.empty() ? file.name : source) +
                                  L"\" is not in [SourceDisksFiles]");
        }
        file.installed = Join(HandheldFolder(file.folder), file.name);
        for (const PackageFile& other : package->files) {
            if (SameName(other.installed, file.installed)) {
                return Fail(line, file.installed + L" is installed twice");
            }
        }
        if (package->files.size() == static_cast<size_t>(kMostFiles)) {
            return Fail(line,
                        L"a cabinet holds at most " + std::to_wstring(kMostFiles) + L" files");
        }
        file.number = static_cast<WORD>(package->files.size() + 1);
        file.source = found->name;
        file.sourcePath = found->path;
        package->files.push_back(file);
        return true;
    }

    // name, 0 (a file), installed file it starts [, folder]
    bool ReadShortcut(const InfSection& list, const InfLine& line, Package* package)
    {
        PackageShortcut shortcut;
        std::wstring target;
        DWORD toFolder = 0;
        if (!line.key.empty() || line.fields.size() < 3 || line.fields.size() > 4) {
            return Fail(line, L"a shortcut is: name, 0, installed file [, folder]");
        }
        if (!Field(line, 1).empty() && (!ParseNumber(Field(line, 1), &toFolder) || toFolder)) {
            return Fail(line, L"only shortcuts to files (0) are supported");
        }
        if (!Text(line, Field(line, 0), &shortcut.name) || !Text(line, Field(line, 2), &target)) {
            return false;
        }
        if (shortcut.name.empty() || shortcut.name.find(L'\\') != std::wstring::npos) {
            return Fail(line, L"the shortcut's name must be a file name");
        }
        const PackageFile* started = nullptr;
        for (const PackageFile& file : package->files) {
            if (!started && SameName(FileName(file.installed), target)) {
                started = &file;
            }
        }
        if (!started) {
            return Fail(line, L"\"" + target + L"\" is not a file that the cabinet installs");
        }
        if (!(Field(line, 3).empty() ? DestinationFolder(list, &shortcut.folder)
                                     : Folder(line, Field(line, 3), &shortcut.folder))) {
            return false;
        }
        shortcut.path = Join(HandheldFolder(shortcut.folder), shortcut.name + L".lnk");
        shortcut.target = started->installed;
        package->shortcuts.push_back(shortcut);
        return true;
    }

    // root, key, value name, flags, data
    bool ReadRegistryValue(const InfSection&, const InfLine& line, Package* package)
    {
        PackageRegistryValue value = {};
        DWORD flags = 0;
        std::wstring data;
        if (!line.key.empty() || line.fields.size() != 5) {
            return Fail(line, L"a registry value is: root, key, value name, flags, data");
        }
        const RegistryRoot* root = FindRoot(Field(line, 0));
        if (!root) {
            return Fail(line, L"the registry root must be HKLM, HKCU or HKCR");
        }
        value.root = root->root;
        value.rootName = root->name;
        if (!Text(line, Field(line, 1), &value.key) || !Text(line, Field(line, 2), &value.name) ||
            !Text(line, Field(line, 4), &data)) {
            return false;
        }
        if (value.key.empty() || value.key.find(L"\\\\") != std::wstring::npos ||
            value.key[0] == L'\\' || value.key.back() == L'\\') {
            return Fail(line, L"the registry key \"" + value.key + L"\" is missing or malformed");
        }
        if (!ParseNumber(Field(line, 3), &flags) ||
            (flags != kTextValueType && flags != kNumberValueType)) {
            return Fail(line,
                        L"only text (0x00000000) and number (0x00010001) values are supported");
        }
        if (flags == kTextValueType) {
            value.type = REG_SZ;
            value.text = data;
        } else {
            value.type = REG_DWORD;
            if (!ParseNumber(data, &value.number)) {
                return Fail(line, L"\"" + data + L"\" is not a number");
            }
        }
        package->registryValues.push_back(value);
        return true;
    }

    bool ReadHookLibrary(Package* package)
    {
        const InfLine* line = inf_.Find(L"DefaultInstall", L"CESetupDLL");
        if (!line) {
            return true;
        }
        if (!Text(*line, Field(*line, 0), &package->hookLibrary)) {
            return false;
        }
        const SourceFile* file = Source(package->hookLibrary);
        if (!file) {
            return Fail(*line, L"\"" + package->hookLibrary + L"\" is not in [SourceDisksFiles]");
        }
        package->hookLibraryPath = file->path;
        return true;
    }

    const InfFile& inf_;
    std::wstring* error_;
    std::vector<SourceFile> sourceFiles_;
};

}  // namespace

bool ReadPackageDescription(const std::wstring& path, Package* package, std::wstring* error)
{
    std::wstring full = FullPath(path);
    InfFile inf;
    *package = Package();
    if (!inf.Open(full, error) ||
        !DescriptionReader(inf, error).Read(full.substr(0, full.find_last_of(L"\\/")), package)) {
        *error = full + L": " + *error;
        return false;
    }
    return true;
}
