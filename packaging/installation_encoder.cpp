// The installation data's encoder: strings, folders and registry keys are
// numbered from 1 in the order of their first use, files, values and
// shortcuts in the package's order; the first folder is the installation
// folder, written as the wizard writes InstallDir: ONE string ("%CE1%\App",
// "\Program Files"), the folders below it that string and a string a part.
#include <algorithm>
#include <utility>

#include "handheld_names.h"
#include "installation_data.h"
#include "installation_layout.h"

namespace {

std::vector<std::wstring> Split(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    for (size_t start = 0;;) {
        size_t end = path.find(L'\\', start);
        parts.push_back(path.substr(start, end - start));
        if (end == std::wstring::npos) {
            return parts;
        }
        start = end + 1;
    }
}

// The number of an item in a list, from 1, added when new.
template <typename Item>
WORD Number(std::vector<Item>* items, const Item& item)
{
    for (size_t i = 0; i < items->size(); ++i) {
        if ((*items)[i] == item) {
            return static_cast<WORD>(i + 1);
        }
    }
    items->push_back(item);
    return static_cast<WORD>(items->size());
}

class Encoder {
public:
    explicit Encoder(std::wstring* error) : error_(error) {}

    bool Encode(const Package& package, std::string* bytes)
    {
        InstallationHeader header = {};
        std::memcpy(header.signature, kSignature, sizeof(kSignature));
        header.unknown3 = 1;
        for (const auto& field : kTargetFields) {
            header.*field.header = package.*field.package;
        }
        std::string out(sizeof(header), '\0');
        std::string texts[kHeaderTextCount];
        if (!Texts(package, texts)) {
            return false;
        }
        for (int text = 0; text < kHeaderTextCount; ++text) {
            if (out.size() + texts[text].size() > 0xFFFF) {
                return Fail(L"the application's name, provider and platforms are too long");
            }
            header.*kHeaderTexts[text].offset = static_cast<WORD>(out.size());
            header.*kHeaderTexts[text].length = static_cast<WORD>(texts[text].size());
            out += texts[text];
        }

        std::string sections[kSectionCount];
        WORD installFolder = 0;  // the first folder
        installDir_ = package.installDir;
        if (!Folder(package.installDir, &installFolder) || !Files(package, &sections[kFiles]) ||
            !Values(package, &sections[kValues]) || !Links(package, &sections[kLinks])) {
            return false;
        }
        for (size_t i = 0; i < folders_.size(); ++i) {
            FolderHead head = {};
            head.number = static_cast<WORD>(i + 1);
            AppendEntry(&sections[kFolders], head, PathListBytes(folders_[i]));
        }
        for (size_t i = 0; i < keys_.size(); ++i) {
            KeyHead head = {};
            head.number = static_cast<WORD>(i + 1);
            head.root = keys_[i].first;
            AppendEntry(&sections[kKeys], head, PathListBytes(keys_[i].second));
        }
        for (size_t i = 0; i < strings_.size(); ++i) {
            StringHead head = {};
            head.number = static_cast<WORD>(i + 1);
            AppendEntry(&sections[kStrings], head, strings_[i] + '\0');
        }
        const size_t counts[kSectionCount] = {strings_.size(),
                                              folders_.size(),
                                              package.files.size(),
                                              keys_.size(),
                                              package.registryValues.size(),
                                              package.shortcuts.size()};
        for (int section = 0; section < kSectionCount; ++section) {
            if (counts[section] > 0xFFFF || out.size() > 0x7FFFFFFF) {
                return Fail(L"too many items for the installation data");
            }
            header.count[section] = static_cast<WORD>(counts[section]);
            header.offset[section] = static_cast<DWORD>(out.size());
            out += sections[section];
        }
        header.length = static_cast<DWORD>(out.size());
        std::memcpy(&out[0], &header, sizeof(header));
        *bytes = out;
        return true;
    }

private:
    bool Fail(const std::wstring& reason)
    {
        *error_ = reason;
        return false;
    }

    bool Texts(const Package& package, std::string* texts)
    {
        if (!ToAscii(package.appName, &texts[kAppName]) ||
            !ToAscii(package.provider, &texts[kProvider])) {
            return Fail(L"the application's name and provider must be ASCII text");
        }
        texts[kAppName] += '\0';
        texts[kProvider] += '\0';
        const std::wstring* platform =
            PlatformBytes(package.unsupportedPlatforms, &texts[kPlatforms]);
        return !platform || Fail(L"the platform \"" + *platform + L"\" is not ASCII text");
    }

    // The number of a string, added when new.
    bool String(const std::wstring& text, WORD* id)
    {
        std::string ascii;
        if (text.empty() || !ToAscii(text, &ascii) || ascii.size() > 0xFFF0) {
            return Fail(L"\"" + text + L"\" is empty or not ASCII text");
        }
        *id = Number(&strings_, ascii);
        return strings_.size() <= 0xFFFF || Fail(L"too many strings");
    }

    // A path as string numbers.
    bool Path(const std::wstring& path, std::vector<WORD>* ids)
    {
        for (const std::wstring& part : Split(path)) {
            WORD id = 0;
            if (!String(part, &id)) {
                return false;
            }
            ids->push_back(id);
        }
        return true;
    }

    // A folder's path list: its start as one string (the installation
    // folder, or a path's first part below the handheld's root), then a string
    // a part.
    bool Folder(const std::wstring& folder, WORD* id)
    {
        size_t start = folder.find(L'\\', folder.empty() || folder[0] != L'\\' ? 0 : 1);
        if (InInstallDir(folder)) {
            start = folder.size() == installDir_.size() ? std::wstring::npos : installDir_.size();
        }
        std::vector<WORD> ids(1);
        if (!String(folder.substr(0, start), &ids[0]) ||
            (start != std::wstring::npos && !Path(folder.substr(start + 1), &ids))) {
            return false;
        }
        *id = Number(&folders_, ids);
        return true;
    }

    bool Files(const Package& package, std::string* out)
    {
        for (const PackageFile& file : package.files) {
            WORD folder = 0;
            std::string name;
            if (!Folder(file.folder, &folder) || !ToAscii(file.name, &name)) {
                return Fail(L"the file " + file.name + L" can't be described");
            }
            FileHead head = {};
            head.number = file.number;
            head.folder = folder;
            head.sameNumber = file.number;
            head.flags = file.flags;
            AppendEntry(out, head, name + '\0');
        }
        return true;
    }

    bool Values(const Package& package, std::string* out)
    {
        WORD id = 0;
        for (const PackageRegistryValue& value : package.registryValues) {
            const RegistryRoot* root = FindRoot(value.root);
            std::vector<WORD> path;
            std::string name, text;
            if (!root || !Path(value.key, &path) || !ToAscii(value.name, &name) ||
                !ToAscii(value.text, &text)) {
                return Fail(L"the registry value " + value.key + L" " + value.name +
                            L" can't be described");
            }
            ValueHead head = {};
            head.number = ++id;
            head.key = Number(&keys_, std::make_pair(root->code, path));
            head.substitute =
                value.type == REG_SZ && value.text.find(kInstallDirWord) != std::wstring::npos;
            head.type = value.type == REG_DWORD ? kNumberValueType : kTextValueType;
            std::string data = name + '\0';
            if (value.type == REG_DWORD) {
                data.append(reinterpret_cast<const char*>(&value.number), sizeof(value.number));
            } else {
                data += text + '\0';
            }
            AppendEntry(out, head, data);
        }
        return true;
    }

    // A shortcut: its base folder, a standard folder's n or 0 for the
    // installation folder, and ONE string, its file name with .lnk (after the
    // folders below the base, if any), without a 0.
    bool Links(const Package& package, std::string* out)
    {
        WORD id = 0;
        for (const PackageShortcut& shortcut : package.shortcuts) {
            int folder = 0;
            auto target = std::find_if(
                package.files.begin(), package.files.end(),
                [&](const PackageFile& file) { return file.installed == shortcut.target; });
            std::wstring base = StandardBase(shortcut.folder, &folder);
            std::wstring below = shortcut.folder.substr(base.size());
            WORD name = 0;
            if (base.empty() || target == package.files.end() ||
                !String((below.empty() ? L"" : below.substr(1) + L"\\") + shortcut.name, &name)) {
                return Fail(L"the shortcut " + shortcut.name + L" can't be described");
            }
            LinkHead head = {};
            head.number = ++id;
            head.folder = static_cast<WORD>(folder);
            head.target = target->number;
            head.type = kLinkToFile;
            AppendEntry(out, head, std::string(reinterpret_cast<const char*>(&name), sizeof(name)));
        }
        return true;
    }

    // Whether the folder is the installation folder or one below it.
    bool InInstallDir(const std::wstring& folder) const
    {
        return folder.compare(0, installDir_.size(), installDir_) == 0 &&
               (folder.size() == installDir_.size() || folder[installDir_.size()] == L'\\');
    }

    // The start of a shortcut's folder that its base folder names: the
    // installation folder (n = 0) when it is one below a standard folder or
    // the handheld's root, else the standard folder; empty for neither.
    std::wstring StandardBase(const std::wstring& folder, int* number) const
    {
        if (InInstallDir(folder) && installDir_.find(L'\\') != std::wstring::npos) {
            *number = 0;
            return installDir_;
        }
        return HandheldFolder(folder, number).empty() ? L"" : StandardFolder(*number);
    }

    std::wstring* error_;
    std::vector<std::string> strings_;
    std::vector<std::vector<WORD>> folders_;  // the first is the installation folder
    std::vector<std::pair<WORD, std::vector<WORD>>> keys_;
    std::wstring installDir_;
};

}  // namespace

bool EncodeInstallationData(const Package& package, std::string* bytes, std::wstring* error)
{
    return Encoder(error).Encode(package, bytes);
}
