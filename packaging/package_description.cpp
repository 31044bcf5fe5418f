#include "package_description.h"

#include "description_lists.h"
#include "handheld_names.h"

namespace {

const wchar_t* const kInstallKeys[] = {L"CopyFiles", L"AddReg", L"CEShortcuts", L"CESetupDLL",
                                       L"CESelfRegister"};
const wchar_t* const kDeviceKeys[] = {L"ProcessorType", L"UnsupportedPlatforms",
                                      L"VersionMin",    L"VersionMax",
                                      L"BuildMin",      L"BuildMax"};

bool IsKnown(const std::wstring& key, const wchar_t* const* keys, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (SameName(key, keys[i])) {
            return true;
        }
    }
    return false;
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

// [Version], [CEStrings] and [CEDevice], where the files come from, and the
// hook library; the lists of files, shortcuts and registry values are
// description_lists.h's.
class DescriptionReader : public DescriptionText {
public:
    using DescriptionText::DescriptionText;

    bool Read(const std::wstring& folder, Package* package)
    {
        return ReadNames(package) && ReadDevice(package) && ReadSources(folder) &&
               CheckKeys(L"DefaultInstall", kInstallKeys, 5, true) &&
               ReadInstallLists(Inf(), sourceFiles_, package, Error()) && ReadHookLibrary(package);
    }

private:
    bool CheckKeys(const wchar_t* section, const wchar_t* const* keys, size_t count, bool required)
    {
        const InfSection* found = Inf().Section(section);
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

    bool ReadNames(Package* package)
    {
        std::wstring signature;
        if (!Required(L"Version", L"CESignature", &signature)) {
            return false;
        }
        if (!SameName(signature, L"$Windows CE$")) {
            return Fail(*Inf().Find(L"Version", L"CESignature"),
                        L"the CESignature must be \"$Windows CE$\"");
        }
        const InfLine* installDir = Inf().Find(L"CEStrings", L"InstallDir");
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
        package->installFolder = InstallationFolder(package->installDir);
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
            const InfLine* line = Inf().Find(L"CEDevice", number.key);
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
        if (const InfLine* line = Inf().Find(L"CEDevice", L"UnsupportedPlatforms")) {
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
        const InfSection* disks = Inf().Section(L"SourceDisksNames");
        const InfSection* files = Inf().Section(L"SourceDisksFiles");
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
            path.resize(path.find_last_not_of(L'\\') + 1);
            path = FullPath(absolute ? path : path.empty() ? folder : folder + L"\\" + path);
            sourceFiles_.push_back({file.key, path + L"\\" + file.key});
        }
        return true;
    }

    bool ReadHookLibrary(Package* package)
    {
        const InfLine* line = Inf().Find(L"DefaultInstall", L"CESetupDLL");
        if (!line) {
            return true;
        }
        if (!Text(*line, Field(*line, 0), &package->hookLibrary)) {
            return false;
        }
        const SourceFile* file = FindSource(sourceFiles_, package->hookLibrary);
        if (!file) {
            return Fail(*line, L"\"" + package->hookLibrary + L"\" is not in [SourceDisksFiles]");
        }
        package->hookLibraryPath = file->path;
        return true;
    }

    std::vector<SourceFile> sourceFiles_;
};

// Each section that the wizard's /cpu NAME reads with its [X.NAME], which
// holds at least one of them.
bool CombineCpuSections(InfFile* inf, const std::wstring& cpu, std::wstring* error)
{
    const wchar_t* const sections[] = {L"CEDevice", L"DefaultInstall", L"SourceDisksNames",
                                       L"SourceDisksFiles"};
    bool found = cpu.empty();
    for (const wchar_t* section : sections) {
        found = inf->Combine(section, section + (L"." + cpu)) || found;
    }
    if (!found) {
        *error = L"there is no section [DefaultInstall." + cpu + L"] nor any other of /cpu " + cpu;
    }
    return found;
}

}  // namespace

bool ReadPackageDescription(const std::wstring& path, Package* package, std::wstring* error,
                            const std::wstring& cpu)
{
    std::wstring full = FullPath(path);
    InfFile inf;
    *package = Package();
    if (!inf.Open(full, error) || !CombineCpuSections(&inf, cpu, error) ||
        !DescriptionReader(inf, error).Read(full.substr(0, full.find_last_of(L"\\/")), package)) {
        *error = full + L": " + *error;
        return false;
    }
    return true;
}
