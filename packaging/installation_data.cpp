#include "installation_data.h"

#include <cstring>
#include <map>

namespace {

enum Section { kStrings, kFolders, kFiles, kKeys, kValues, kLinks, kSectionCount };
const wchar_t* const kSectionNames[kSectionCount] = {
    L"string", L"folder", L"file", L"registry key", L"registry value", L"shortcut"};

struct Header {
    char signature[4];  // "MSCE"
    DWORD unknown1;     // 0
    DWORD length;       // of the whole data
    DWORD unknown2;     // 0
    DWORD unknown3;     // 1
    DWORD processorType;
    DWORD versionMinMajor, versionMinMinor, versionMaxMajor, versionMaxMinor;
    DWORD buildMin, buildMax;
    WORD count[kSectionCount];
    DWORD offset[kSectionCount];
    WORD appNameOffset, appNameLength;
    WORD providerOffset, providerLength;
    WORD unsupportedOffset, unsupportedLength;
    WORD unknown4, unknown5;  // 0
};
static_assert(sizeof(Header) == 100, "the header is 100 bytes");

const char kSignature[4] = {'M', 'S', 'C', 'E'};
const DWORD kTextType = 0x00000000;
const DWORD kNumberType = 0x00010001;
const WORD kLinkToFile = 1;

bool ToAscii(const std::wstring& text, std::string* ascii)
{
    ascii->clear();
    for (wchar_t c : text) {
        if (c == 0 || c > 0x7F) {
            return false;
        }
        ascii->push_back(static_cast<char>(c));
    }
    return true;
}

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

class Encoder {
public:
    explicit Encoder(std::wstring* error) : error_(error) {}

    bool Encode(const Cabinet& cabinet, std::string* bytes)
    {
        Header header = {};
        std::memcpy(header.signature, kSignature, sizeof(kSignature));
        header.unknown3 = 1;
        header.processorType = cabinet.processorType;
        header.versionMinMajor = cabinet.versionMinMajor;
        header.versionMinMinor = cabinet.versionMinMinor;
        header.versionMaxMajor = cabinet.versionMaxMajor;
        header.versionMaxMinor = cabinet.versionMaxMinor;
        header.buildMin = cabinet.buildMin;
        header.buildMax = cabinet.buildMax;
        std::string out(sizeof(Header), '\0');

        std::string appName, provider, platforms, platform;
        if (!ToAscii(cabinet.appName, &appName) || !ToAscii(cabinet.provider, &provider)) {
            return Fail(L"the application's name and provider must be ASCII text");
        }
        for (const std::wstring& name : cabinet.unsupportedPlatforms) {
            if (!ToAscii(name, &platform)) {
                return Fail(L"the platform \"" + name + L"\" is not ASCII text");
            }
            platforms += platform + '\0';
        }
        struct {
            std::string text;
            WORD* offset;
            WORD* length;
        } names[] = {{appName + '\0', &header.appNameOffset, &header.appNameLength},
                     {provider + '\0', &header.providerOffset, &header.providerLength},
                     {platforms, &header.unsupportedOffset, &header.unsupportedLength}};
        for (const auto& name : names) {
            if (out.size() + name.text.size() > 0xFFFF) {
                return Fail(L"the application's name, provider and platforms are too long");
            }
            *name.offset = static_cast<WORD>(out.size());
            *name.length = static_cast<WORD>(name.text.size());
            out += name.text;
        }

        std::string sections[kSectionCount];
        if (!Folder(cabinet.installDir) || !Files(cabinet, &sections[kFiles]) ||
            !Values(cabinet, &sections[kValues]) || !Links(cabinet, &sections[kLinks])) {
            return false;
        }
        for (size_t i = 0; i < folders_.size(); ++i) {
            Entry(&sections[kFolders], static_cast<WORD>(i + 1), Spec(folders_[i]));
        }
        for (size_t i = 0; i < keys_.size(); ++i) {
            Put16(&sections[kKeys], static_cast<WORD>(i + 1));
            Put16(&sections[kKeys], keys_[i].first);
            Put16(&sections[kKeys], 0);
            Put16(&sections[kKeys], static_cast<WORD>(Spec(keys_[i].second).size()));
            sections[kKeys] += Spec(keys_[i].second);
        }
        for (size_t i = 0; i < strings_.size(); ++i) {
            Entry(&sections[kStrings], static_cast<WORD>(i + 1), strings_[i] + '\0');
        }
        counts_[kStrings] = strings_.size();
        counts_[kFolders] = folders_.size();
        counts_[kKeys] = keys_.size();
        for (int section = 0; section < kSectionCount; ++section) {
            if (counts_[section] > 0xFFFF || out.size() > 0x7FFFFFFF) {
                return Fail(L"too many items for the installation data");
            }
            header.count[section] = static_cast<WORD>(counts_[section]);
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

    static void Put16(std::string* out, WORD value)
    {
        out->append(reinterpret_cast<char*>(&value), 2);
    }
    static void Put32(std::string* out, DWORD value)
    {
        out->append(reinterpret_cast<char*>(&value), 4);
    }
    // An entry of strings and folders: number, length, data.
    static void Entry(std::string* out, WORD id, const std::string& data)
    {
        Put16(out, id);
        Put16(out, static_cast<WORD>(data.size()));
        *out += data;
    }

    // The number of a string, added when new.
    bool String(const std::wstring& text, WORD* id)
    {
        std::string ascii;
        if (text.empty() || !ToAscii(text, &ascii) || ascii.size() > 0xFFF0) {
            return Fail(L"\"" + text + L"\" is empty or not ASCII text");
        }
        for (size_t i = 0; i < strings_.size(); ++i) {
            if (strings_[i] == ascii) {
                *id = static_cast<WORD>(i + 1);
                return true;
            }
        }
        strings_.push_back(ascii);
        *id = static_cast<WORD>(strings_.size());
        return strings_.size() <= 0xFFFF || Fail(L"too many strings");
    }

    // A path as string numbers, ending with 0.
    bool Path(const std::wstring& path, std::vector<WORD>* ids)
    {
        for (const std::wstring& part : Split(path)) {
            WORD id = 0;
            if (!String(part, &id)) {
                return false;
            }
            ids->push_back(id);
        }
        ids->push_back(0);
        return true;
    }
    static std::string Spec(const std::vector<WORD>& ids)
    {
        return std::string(reinterpret_cast<const char*>(ids.data()), ids.size() * sizeof(WORD));
    }

    // The number of an item in a list, from 1, added when new.
    template <typename Item>
    static WORD Number(std::vector<Item>* items, const Item& item)
    {
        for (size_t i = 0; i < items->size(); ++i) {
            if ((*items)[i] == item) {
                return static_cast<WORD>(i + 1);
            }
        }
        items->push_back(item);
        return static_cast<WORD>(items->size());
    }

    bool Folder(const std::wstring& folder, WORD* id = nullptr)
    {
        std::vector<WORD> spec;
        if (!Path(folder, &spec)) {
            return false;
        }
        if (id) {
            *id = Number(&folders_, spec);
        } else {
            Number(&folders_, spec);
        }
        return true;
    }

    bool Files(const Cabinet& cabinet, std::string* out)
    {
        for (const CabinetFile& file : cabinet.files) {
            WORD folder = 0;
            std::string name;
            if (!Folder(file.folder, &folder) || !ToAscii(file.name, &name)) {
                return Fail(L"the file " + file.name + L" can't be described");
            }
            Put16(out, file.number);
            Put16(out, folder);
            Put16(out, file.number);
            Put32(out, file.flags);
            Put16(out, static_cast<WORD>(name.size() + 1));
            *out += name + '\0';
        }
        counts_[kFiles] = cabinet.files.size();
        return true;
    }

    bool Values(const Cabinet& cabinet, std::string* out)
    {
        WORD id = 0;
        for (const CabinetRegistryValue& value : cabinet.registryValues) {
            const RegistryRoot* root = FindRoot(value.root);
            std::vector<WORD> path;
            std::string name, text;
            if (!root || !Path(value.key, &path) || !ToAscii(value.name, &name) ||
                !ToAscii(value.text, &text)) {
                return Fail(L"the registry value " + value.key + L" " + value.name +
                            L" can't be described");
            }
            WORD key = Number(&keys_, std::make_pair(root->code, path));
            std::string data = name + '\0';
            if (value.type == REG_DWORD) {
                Put32(&data, value.number);
            } else {
                data += text + '\0';
            }
            Put16(out, ++id);
            Put16(out, key);
            Put16(out, 0);
            Put32(out, value.type == REG_DWORD ? kNumberType : kTextType);
            Put16(out, static_cast<WORD>(data.size()));
            *out += data;
        }
        counts_[kValues] = cabinet.registryValues.size();
        return true;
    }

    bool Links(const Cabinet& cabinet, std::string* out)
    {
        WORD id = 0;
        for (const CabinetShortcut& shortcut : cabinet.shortcuts) {
            int base = 0;
            const CabinetFile* target = nullptr;
            for (const CabinetFile& file : cabinet.files) {
                target = !target && file.installed == shortcut.target ? &file : target;
            }
            std::wstring below = shortcut.folder.substr(shortcut.folder.find(L'%', 1) + 1);
            std::vector<WORD> spec;
            if (HandheldFolder(shortcut.folder, &base).empty() || !target ||
                !Path((below.empty() ? L"" : below.substr(1) + L"\\") + shortcut.name, &spec)) {
                return Fail(L"the shortcut " + shortcut.name + L" can't be described");
            }
            Put16(out, ++id);
            Put16(out, 0);
            Put16(out, static_cast<WORD>(base));
            Put16(out, target->number);
            Put16(out, kLinkToFile);
            Put16(out, static_cast<WORD>(spec.size() * sizeof(WORD)));
            *out += Spec(spec);
        }
        counts_[kLinks] = cabinet.shortcuts.size();
        return true;
    }

    std::wstring* error_;
    std::vector<std::string> strings_;
    std::vector<std::vector<WORD>> folders_;  // the first is the installation folder
    std::vector<std::pair<WORD, std::vector<WORD>>> keys_;
    size_t counts_[kSectionCount] = {};
};

// Reads little-endian items from a section; past the end, reads fail.
class SectionReader {
public:
    SectionReader(const std::string& bytes, size_t offset) : bytes_(bytes), at_(offset) {}

    bool Word(WORD* value) { return Take(value, sizeof(*value)); }
    bool Dword(DWORD* value) { return Take(value, sizeof(*value)); }
    bool Bytes(size_t length, std::string* bytes)
    {
        if (at_ > bytes_.size() || length > bytes_.size() - at_) {
            return false;
        }
        *bytes = bytes_.substr(at_, length);
        at_ += length;
        return true;
    }
    // Up to its terminating zero.
    bool Text(size_t length, std::string* text)
    {
        if (!Bytes(length, text)) {
            return false;
        }
        text->resize(std::strlen(text->c_str()));
        return true;
    }
    bool Spec(size_t length, std::vector<WORD>* ids)
    {
        ids->clear();
        WORD id = 0;
        for (size_t i = 0; i + 1 < length; i += 2) {
            if (!Word(&id)) {
                return false;
            }
            if (id) {
                ids->push_back(id);
            }
        }
        at_ += length % 2;
        return at_ <= bytes_.size();
    }

private:
    bool Take(void* value, size_t size)
    {
        if (at_ > bytes_.size() || size > bytes_.size() - at_) {
            return false;
        }
        std::memcpy(value, bytes_.data() + at_, size);
        at_ += size;
        return true;
    }

    const std::string& bytes_;
    size_t at_;
};

class Decoder {
public:
    Decoder(const std::string& bytes, std::wstring* error) : bytes_(bytes), error_(error) {}

    bool Decode(Cabinet* cabinet)
    {
        if (bytes_.size() < sizeof(Header)) {
            return Fail(L"the installation data is shorter than its header");
        }
        std::memcpy(&header_, bytes_.data(), sizeof(header_));
        if (std::memcmp(header_.signature, kSignature, sizeof(kSignature)) != 0) {
            return Fail(L"the installation data does not start with MSCE");
        }
        if (header_.length != bytes_.size()) {
            return Fail(L"the installation data says it is " + std::to_wstring(header_.length) +
                        L" bytes long but is " + std::to_wstring(bytes_.size()));
        }
        *cabinet = Cabinet();
        cabinet->processorType = header_.processorType;
        cabinet->versionMinMajor = header_.versionMinMajor;
        cabinet->versionMinMinor = header_.versionMinMinor;
        cabinet->versionMaxMajor = header_.versionMaxMajor;
        cabinet->versionMaxMinor = header_.versionMaxMinor;
        cabinet->buildMin = header_.buildMin;
        cabinet->buildMax = header_.buildMax;
        std::string platforms;
        if (!Name(header_.appNameOffset, header_.appNameLength, &cabinet->appName) ||
            !Name(header_.providerOffset, header_.providerLength, &cabinet->provider) ||
            !Name(header_.unsupportedOffset, header_.unsupportedLength, &platforms)) {
            return Fail(L"the application's name, provider or platforms run past the end");
        }
        for (size_t start = 0; start < platforms.size();) {
            size_t end = platforms.find('\0', start);
            end = end == std::string::npos ? platforms.size() : end;
            if (end > start) {
                cabinet->unsupportedPlatforms.push_back(Wide(platforms.substr(start, end - start)));
            }
            start = end + 1;
        }
        return Strings() && Folders(cabinet) && Files(cabinet) && Keys() && Values(cabinet) &&
               Links(cabinet);
    }

private:
    bool Fail(const std::wstring& reason)
    {
        *error_ = reason;
        return false;
    }
    bool PastEnd(Section section)
    {
        return Fail(L"the " + std::wstring(kSectionNames[section]) +
                    L" section runs past the end of the installation data");
    }
    static std::wstring Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

    bool Name(WORD offset, WORD length, std::wstring* name)
    {
        std::string text;
        if (!SectionReader(bytes_, offset).Text(length, &text)) {
            return false;
        }
        *name = Wide(text);
        return true;
    }
    bool Name(WORD offset, WORD length, std::string* bytes)
    {
        return SectionReader(bytes_, offset).Bytes(length, bytes);
    }

    // The path that a list of string numbers names.
    bool Path(Section section, WORD entry, const std::vector<WORD>& ids, std::wstring* path)
    {
        path->clear();
        for (WORD id : ids) {
            auto found = strings_.find(id);
            if (found == strings_.end()) {
                return Fail(L"the " + std::wstring(kSectionNames[section]) + L" " +
                            std::to_wstring(entry) + L" names the string " + std::to_wstring(id) +
                            L", which is not there");
            }
            *path += (path->empty() ? L"" : L"\\") + found->second;
        }
        return true;
    }

    bool Strings()
    {
        SectionReader reader(bytes_, header_.offset[kStrings]);
        for (int i = 0; i < header_.count[kStrings]; ++i) {
            WORD id = 0, length = 0;
            std::string text;
            if (!reader.Word(&id) || !reader.Word(&length) || !reader.Text(length, &text)) {
                return PastEnd(kStrings);
            }
            strings_[id] = Wide(text);
        }
        return true;
    }

    bool Folders(Cabinet* cabinet)
    {
        SectionReader reader(bytes_, header_.offset[kFolders]);
        for (int i = 0; i < header_.count[kFolders]; ++i) {
            WORD id = 0, length = 0;
            std::vector<WORD> spec;
            if (!reader.Word(&id) || !reader.Word(&length) || !reader.Spec(length, &spec)) {
                return PastEnd(kFolders);
            }
            if (!Path(kFolders, id, spec, &folders_[id])) {
                return false;
            }
            if (HandheldFolder(folders_[id]).empty()) {
                return Fail(L"the folder " + folders_[id] + L" starts with no standard folder");
            }
            if (i == 0) {  // the first folder is the installation folder
                cabinet->installDir = folders_[id];
                cabinet->installFolder = HandheldFolder(folders_[id]);
            }
        }
        return !cabinet->installDir.empty() || Fail(L"the installation data names no folder");
    }

    bool Files(Cabinet* cabinet)
    {
        SectionReader reader(bytes_, header_.offset[kFiles]);
        for (int i = 0; i < header_.count[kFiles]; ++i) {
            CabinetFile file = {};
            WORD folder = 0, unknown = 0, length = 0;
            std::string name;
            if (!reader.Word(&file.number) || !reader.Word(&folder) || !reader.Word(&unknown) ||
                !reader.Dword(&file.flags) || !reader.Word(&length) ||
                !reader.Text(length, &name)) {
                return PastEnd(kFiles);
            }
            auto found = folders_.find(folder);
            if (found == folders_.end()) {
                return Fail(L"the file " + Wide(name) + L" names the folder " +
                            std::to_wstring(folder) + L", which is not there");
            }
            file.folder = found->second;
            file.name = Wide(name);
            file.installed = HandheldFolder(file.folder) + L"\\" + file.name;
            cabinet->files.push_back(file);
        }
        return true;
    }

    bool Keys()
    {
        SectionReader reader(bytes_, header_.offset[kKeys]);
        for (int i = 0; i < header_.count[kKeys]; ++i) {
            WORD id = 0, root = 0, unknown = 0, length = 0;
            std::vector<WORD> spec;
            if (!reader.Word(&id) || !reader.Word(&root) || !reader.Word(&unknown) ||
                !reader.Word(&length) || !reader.Spec(length, &spec)) {
                return PastEnd(kKeys);
            }
            if (!FindRoot(root)) {
                return Fail(L"the registry key " + std::to_wstring(id) + L" has the unknown root " +
                            std::to_wstring(root));
            }
            keys_[id].first = root;
            if (!Path(kKeys, id, spec, &keys_[id].second)) {
                return false;
            }
        }
        return true;
    }

    bool Values(Cabinet* cabinet)
    {
        SectionReader reader(bytes_, header_.offset[kValues]);
        for (int i = 0; i < header_.count[kValues]; ++i) {
            WORD id = 0, key = 0, substitution = 0, length = 0;
            DWORD type = 0;
            std::string raw;
            if (!reader.Word(&id) || !reader.Word(&key) || !reader.Word(&substitution) ||
                !reader.Dword(&type) || !reader.Word(&length) || !reader.Bytes(length, &raw)) {
                return PastEnd(kValues);
            }
            auto found = keys_.find(key);
            if (found == keys_.end()) {
                return Fail(L"the registry value " + std::to_wstring(id) + L" names the key " +
                            std::to_wstring(key) + L", which is not there");
            }
            CabinetRegistryValue value = {};
            const RegistryRoot* root = FindRoot(found->second.first);
            value.root = root->root;
            value.rootName = root->name;
            value.key = found->second.second;
            size_t nameEnd = raw.find('\0');
            value.name = Wide(raw.substr(0, nameEnd));
            std::string rest = nameEnd == std::string::npos ? "" : raw.substr(nameEnd + 1);
            if (type == kTextType) {
                value.type = REG_SZ;
                value.text = Wide(rest.substr(0, rest.find('\0')));
            } else if (type == kNumberType && rest.size() == sizeof(DWORD)) {
                value.type = REG_DWORD;
                std::memcpy(&value.number, rest.data(), sizeof(DWORD));
            } else {
                wchar_t hex[16];
                swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(type));
                return Fail(L"the registry value " + value.key + L" " + value.name +
                            L" has the type " + hex + L", which this installer doesn't know");
            }
            cabinet->registryValues.push_back(value);
        }
        return true;
    }
    bool Links(Cabinet* cabinet)
    {
        SectionReader reader(bytes_, header_.offset[kLinks]);
        for (int i = 0; i < header_.count[kLinks]; ++i) {
            WORD id = 0, unknown = 0, base = 0, target = 0, type = 0, length = 0;
            std::vector<WORD> spec;
            if (!reader.Word(&id) || !reader.Word(&unknown) || !reader.Word(&base) ||
                !reader.Word(&target) || !reader.Word(&type) || !reader.Word(&length) ||
                !reader.Spec(length, &spec)) {
                return PastEnd(kLinks);
            }
            CabinetShortcut shortcut;
            std::wstring below;
            if (!Path(kLinks, id, spec, &below)) {
                return false;
            }
            size_t name = below.find_last_of(L'\\');
            shortcut.name = name == std::wstring::npos ? below : below.substr(name + 1);
            shortcut.folder = base ? L"%CE" + std::to_wstring(base) + L"%" : cabinet->installDir;
            shortcut.folder += name == std::wstring::npos ? L"" : L"\\" + below.substr(0, name);
            const CabinetFile* file = nullptr;
            for (const CabinetFile& candidate : cabinet->files) {
                file = candidate.number == target ? &candidate : file;
            }
            if (type != kLinkToFile || !file || shortcut.name.empty() ||
                HandheldFolder(shortcut.folder).empty()) {
                return Fail(L"the shortcut " + below +
                            L" is not one to an installed file in a "
                            L"standard folder");
            }
            shortcut.path = HandheldFolder(shortcut.folder) + L"\\" + shortcut.name + L".lnk";
            shortcut.target = file->installed;
            cabinet->shortcuts.push_back(shortcut);
        }
        return true;
    }

    const std::string& bytes_;
    std::wstring* error_;
    Header header_ = {};
    std::map<WORD, std::wstring> strings_;
    std::map<WORD, std::wstring> folders_;
    std::map<WORD, std::pair<WORD, std::wstring>> keys_;
};

}  // namespace

bool EncodeInstallationData(const Cabinet& cabinet, std::string* bytes, std::wstring* error)
{
    return Encoder(error).Encode(cabinet, bytes);
}

bool DecodeInstallationData(const std::string& bytes, Cabinet* cabinet, std::wstring* error)
{
    return Decoder(bytes, error).Decode(cabinet);
}
