#include "description_lists.h"

#include "handheld_names.h"

namespace {

// The copy flag of the files that CESelfRegister names.
const DWORD kSelfRegisterFlag = 0x10000000;

std::wstring FileName(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

class ListReader : public DescriptionText {
public:
    ListReader(const InfFile& inf, const std::vector<SourceFile>& sources, std::wstring* error)
        : DescriptionText(inf, error), sources_(sources)
    {
    }

    bool Read(Package* package)
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
        return ReadListed(L"CopyFiles", true, file) && ReadSelfRegistering(package) &&
               ReadListed(L"CEShortcuts", false, shortcut) && ReadListed(L"AddReg", false, value);
    }

private:
    // The sections that a line of [DefaultInstall] lists.
    bool ListedSections(const InfLine& line, std::vector<const InfSection*>* sections)
    {
        for (const std::wstring& name : line.fields) {
            const InfSection* section = Inf().Section(name);
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
        const InfLine* line = Inf().Find(L"DestinationDirs", list.name);
        if (!line) {
            line = Inf().Find(L"DestinationDirs", L"DefaultDestDir");
        }
        if (!line) {
            return Fail(L"[DestinationDirs] gives no folder for [" + list.name + L"]");
        }
        if (Field(*line, 0) != L"0") {
            return Fail(*line, L"only a folder given by its path (0, folder) is supported");
        }
        return Folder(*line, Field(*line, 1), folder);
    }

    // Reads every line of the sections that the lines of [DefaultInstall]
    // with the key list.
    template <typename ReadLine>
    bool ReadListed(const wchar_t* key, bool required, ReadLine readLine)
    {
        std::vector<const InfSection*> lists;
        for (const InfLine& listing : Inf().Section(L"DefaultInstall")->lines) {
            if (SameName(listing.key, key) && !ListedSections(listing, &lists)) {
                return false;
            }
        }
        if (!Inf().Find(L"DefaultInstall", key)) {
            return !required || Fail(L"[DefaultInstall] has no " + std::wstring(key));
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

    // installed name [, name in the cabinet [, unused [, flags [, unused number]]]]
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
        DWORD unused = 0;
        if (line.fields.size() > 5 ||
            (!Field(line, 3).empty() && !ParseNumber(Field(line, 3), &file.flags)) ||
            (!Field(line, 4).empty() && !ParseNumber(Field(line, 4), &unused))) {
            return Fail(line, L"a file is: installed name, name in the cabinet, , flags");
        }
        const SourceFile* found = FindSource(sources_, source.empty() ? file.name : source);
        if (!found) {
            return Fail(line, L"\"" + (source.empty() ? file.name : source) +
                                  L"\" is not in [SourceDisksFiles]");
        }
        file.installed = InstallationFolder(file.folder) + L"\\" + file.name;
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

    // CESelfRegister = installed file, ...: the installer registers them.
    bool ReadSelfRegistering(Package* package)
    {
        for (const InfLine& line : Inf().Section(L"DefaultInstall")->lines) {
            for (size_t i = 0; SameName(line.key, L"CESelfRegister") && i < line.fields.size();
                 ++i) {
                std::wstring name;
                if (!Text(line, line.fields[i], &name)) {
                    return false;
                }
                bool found = false;
                for (PackageFile& file : package->files) {
                    if (SameName(file.name, name)) {
                        file.flags |= kSelfRegisterFlag;
                        found = true;
                    }
                }
                if (!found) {
                    return Fail(line, L"\"" + name + L"\" is not a file that the cabinet installs");
                }
            }
        }
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
        // Its place is a standard folder or the installation folder, and below.
        const std::wstring& base = package->installDir;
        if (HandheldFolder(shortcut.folder).empty() &&
            (shortcut.folder.compare(0, base.size(), base) != 0 ||
             (shortcut.folder.size() > base.size() && shortcut.folder[base.size()] != L'\\'))) {
            return Fail(line,
                        L"a shortcut goes into a standard folder or the installation "
                        L"folder, not into " +
                            shortcut.folder);
        }
        shortcut.name += L".lnk";  // the shortcut file's name, as the installation data holds it
        shortcut.path = InstallationFolder(shortcut.folder) + L"\\" + shortcut.name;
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
            !Data(line, Field(line, 4), &data)) {
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

    const std::vector<SourceFile>& sources_;
};

}  // namespace

const SourceFile* FindSource(const std::vector<SourceFile>& files, const std::wstring& name)
{
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (SameName(file->name, name)) {
            return &*file;
        }
    }
    return nullptr;
}

bool ReadInstallLists(const InfFile& inf, const std::vector<SourceFile>& sources, Package* package,
                      std::wstring* error)
{
    return ListReader(inf, sources, error).Read(package);
}
