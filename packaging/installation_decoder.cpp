#include "installation_data.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "handheld_names.h"

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

    bool Encode(const Package& package, std::string* bytes)
    {
        Header header = {};
        std::memcpy(header.signature, kSignature, sizeof(kSignature));
        header.unknown3 = 1;
        header.processorType = package.processorType;
        header.versionMinMajor = package.versionMinMajor;
        header.versionMinMinor = package.versionMinMinor;
        header.versionMaxMajor = package.versionMaxMajor;
        header.versionMaxMinor = package.versionMaxMinor;
        header.buildMin = package.buildMin;
        header.buildMax = package.buildMax;
        std::string out(sizeof(Header), '\0');

        std::string appName, provider, platforms, platform;
        if (!ToAscii(package.appName, &appName) || !ToAscii(package.provider, &provider)) {
            return Fail(L"the application's name and provider must be ASCII text");
        }
        for (const std::wstring& name : package.unsupportedPlatforms) {
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
        if (!Folder(package.installDir) || !Files(package, &sections[kFiles]) ||
            !Values(package, &sections[kValues]) || !Links(package, &sections[kLinks])) {
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

    bool Files(const Package& package, std::string* out)
    {
        for (const PackageFile& file : package.files) {
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
        counts_[kFiles] = package.files.size();
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
            Put32(out, value.type == REG_DWORD ? kNumberValueType : kTextValueType);
            Put16(out, static_cast<WORD>(data.size()));
            *out += data;
        }
        counts_[kValues] = package.registryValues.size();
        return true;
    }

    bool Links(const Package& package, std::string* out)
    {
        WORD id = 0;
        for (const PackageShortcut& shortcut : package.shortcuts) {
            int base = 0;
            const PackageFile* target = nullptr;
            for (const PackageFile& file : package.files) {
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
        counts_[kLinks] = package.shortcuts.size();
        return true;
    }

    std::wstring* error_;
    std::vector<std::string> strings_;
    std::vector<std::vector<WORD>> folders_;  // the first is the installation folder
    std::vector<std::pair<WORD, std::vector<WORD>>> keys_;
    size_t counts_[kSectionCount] = {};
};

// Why bytes are not ASCII text ending in its one 0, or null when they are.
const wchar_t* TextProblem(const std::string& bytes)
{
    if (bytes.empty() || bytes.find('\0') != bytes.size() - 1) {
        return L"holds text that does not end in its 0";
    }
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7F) {
            return L"holds text that is not ASCII";
        }
    }
    return nullptr;
}

// Each byte as the character of its number, never widened with its sign.
std::wstring Wide(const std::string& ascii)
{
    std::wstring wide;
    for (char c : ascii) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

// The text in quotes, fit for one line: what would not print is a '?'.
std::wstring Quoted(std::wstring text)
{
    for (wchar_t& c : text) {
        c = Printable(c) ? c : L'?';
    }
    return L"\"" + text + L"\"";
}

// Reads little-endian items from one part of the data; past its end, reads
// fail. Problem() tells why the last read failed.
class SectionReader {
public:
    SectionReader(const std::string& bytes, size_t begin, size_t end)
        : bytes_(bytes), at_(begin), end_(std::min(end, bytes.size()))
    {
    }

    size_t At() const { return at_; }
    const wchar_t* Problem() const { return problem_; }

    bool Word(WORD* value) { return Take(value, sizeof(*value)); }
    bool Dword(DWORD* value) { return Take(value, sizeof(*value)); }
    bool Bytes(size_t length, std::string* bytes)
    {
        if (at_ > end_ || length > end_ - at_) {
            return Refuse(L"runs past the section's end");
        }
        *bytes = bytes_.substr(at_, length);
        at_ += length;
        return true;
    }
    bool Text(size_t length, std::wstring* text)
    {
        std::string bytes;
        if (!Bytes(length, &bytes) || !Refuse(TextProblem(bytes))) {
            return false;
        }
        *text = Wide(bytes.substr(0, length - 1));
        return true;
    }
    // String numbers, ending in their one 0 (which *ids leaves out).
    bool Spec(size_t length, std::vector<WORD>* ids)
    {
        std::string bytes;
        if (!Bytes(length, &bytes)) {
            return false;
        }
        ids->assign(length / sizeof(WORD), 0);
        std::memcpy(ids->data(), bytes.data(), ids->size() * sizeof(WORD));
        auto zero = std::find(ids->begin(), ids->end(), WORD(0));
        if (length % sizeof(WORD) || zero == ids->end() || zero + 1 != ids->end()) {
            return Refuse(L"holds a path list that does not end in its 0");
        }
        ids->pop_back();
        return true;
    }

private:
    bool Take(void* value, size_t size)
    {
        std::string bytes;
        if (!Bytes(size, &bytes)) {
            return false;
        }
        std::memcpy(value, bytes.data(), size);
        return true;
    }
    // False, keeping the problem, unless it is null.
    bool Refuse(const wchar_t* problem)
    {
        problem_ = problem;
        return !problem;
    }

    const std::string& bytes_;
    size_t at_;
    size_t end_;
    const wchar_t* problem_ = nullptr;
};

// Decodes and checks the whole data: its parts lie back to back in the order
// that the encoder writes them, each section exactly filled by its entries,
// every text ASCII, and every name of a file, folder, key, value or shortcut
// a plain name below its standard folder or registry root.
class Decoder {
public:
    Decoder(const std::string& bytes, std::wstring* error) : bytes_(bytes), error_(error) {}

    bool Decode(Package* package)
    {
        error_->clear();
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
        *package = Package();
        package->processorType = header_.processorType;
        package->versionMinMajor = header_.versionMinMajor;
        package->versionMinMinor = header_.versionMinMinor;
        package->versionMaxMajor = header_.versionMaxMajor;
        package->versionMaxMinor = header_.versionMaxMinor;
        package->buildMin = header_.buildMin;
        package->buildMax = header_.buildMax;
        return Names(package) && Sections(package);
    }

private:
    using EntryReader = bool (Decoder::*)(SectionReader*, Package*);

    bool Fail(const std::wstring& reason)
    {
        *error_ = reason;
        return false;
    }
    bool Plain(const std::wstring& what, const std::wstring& name)
    {
        const wchar_t* problem = NameProblem(name);
        return !problem || Fail(what + L" " + Quoted(name) + L" " + problem);
    }
    // A handheld path, shorter than MAX_PATH with its terminating zero.
    bool Fits(const std::wstring& item, const std::wstring& path)
    {
        return path.size() < MAX_PATH || Fail(item + L"'s path is longer than the handheld takes");
    }

    // The application's name, its provider and the unsupported platforms,
    // right after the header.
    bool Names(Package* package)
    {
        const WORD places[][2] = {{header_.appNameOffset, header_.appNameLength},
                                  {header_.providerOffset, header_.providerLength},
                                  {header_.unsupportedOffset, header_.unsupportedLength}};
        std::string texts[3];
        for (int i = 0; i < 3; ++i) {
            if (places[i][0] != next_ ||
                !SectionReader(bytes_, next_, bytes_.size()).Bytes(places[i][1], &texts[i])) {
                return Fail(
                    L"the application's name, provider and platforms don't follow the "
                    L"header one after another");
            }
            next_ += places[i][1];
        }
        const wchar_t* problem =
            TextProblem(texts[0]) ? TextProblem(texts[0]) : TextProblem(texts[1]);
        if (problem) {
            return Fail(L"the application's name or provider " + std::wstring(problem));
        }
        package->appName = Wide(texts[0].substr(0, texts[0].size() - 1));
        package->provider = Wide(texts[1].substr(0, texts[1].size() - 1));
        for (size_t start = 0; start < texts[2].size();) {
            size_t end = texts[2].find('\0', start);
            std::wstring platform = Wide(texts[2].substr(start, end - start));
            if (end == std::string::npos || end == start ||
                !std::all_of(platform.begin(), platform.end(), Printable)) {
                return Fail(
                    L"the unsupported platforms are not printable names each ending in "
                    L"its 0");
            }
            package->unsupportedPlatforms.push_back(platform);
            start = end + 1;
        }
        return Plain(L"the product's record", RecordName(*package));
    }

    // Each section from where the one before it ends to where the next one
    // starts, exactly filled by as many entries as the header gives it.
    bool Sections(Package* package)
    {
        const EntryReader readers[kSectionCount] = {&Decoder::String, &Decoder::Folder,
                                                    &Decoder::File,   &Decoder::Key,
                                                    &Decoder::Value,  &Decoder::Link};
        for (int section = 0; section < kSectionCount; ++section) {
            std::wstring name = kSectionNames[section];
            size_t end = section + 1 < kSectionCount ? header_.offset[section + 1] : bytes_.size();
            if (header_.offset[section] != next_ || end < next_) {
                return Fail(L"the " + name +
                            L" section doesn't start where the part before it "
                            L"ends, or ends before it starts");
            }
            SectionReader reader(bytes_, next_, end);
            for (int entry = 1; entry <= header_.count[section]; ++entry) {
                if (!(this->*readers[section])(&reader, package)) {
                    if (error_->empty()) {  // the entry itself is damaged
                        Fail(L"the " + name + L" section's entry " + std::to_wstring(entry) + L" " +
                             reader.Problem());
                    }
                    return false;
                }
            }
            if (reader.At() != end) {
                return Fail(L"the " + name + L" section's " +
                            std::to_wstring(header_.count[section]) + L" entries fill " +
                            std::to_wstring(reader.At() - next_) + L" of its " +
                            std::to_wstring(end - next_) + L" bytes");
            }
            next_ = end;
        }
        return !package->installDir.empty() || Fail(L"the installation data names no folder");
    }

    // The path that a list of string numbers names: plain names, the first a
    // standard folder such as %CE2% when `inFolder`.
    bool Path(Section section, WORD entry, const std::vector<WORD>& ids, bool inFolder,
              std::wstring* path)
    {
        std::wstring item =
            L"the " + std::wstring(kSectionNames[section]) + L" " + std::to_wstring(entry);
        path->clear();
        for (size_t i = 0; i < ids.size(); ++i) {
            auto found = strings_.find(ids[i]);
            if (found == strings_.end()) {
                return Fail(item + L" names the string " + std::to_wstring(ids[i]) +
                            L", which is not there");
            }
            const std::wstring& part = found->second;
            if (i == 0 && inFolder) {
                if (HandheldFolder(part).empty() || part.find(L'\\') != std::wstring::npos) {
                    return Fail(item + L" starts with " + Quoted(part) +
                                L", no standard folder such as %CE2%");
                }
            } else if (!Plain(item + L"'s name", part)) {
                return false;
            }
            *path += (i ? L"\\" : L"") + part;
        }
        return !path->empty() || Fail(item + L" names nothing");
    }

    bool String(SectionReader* reader, Package*)
    {
        WORD id = 0, length = 0;
        return reader->Word(&id) && reader->Word(&length) && reader->Text(length, &strings_[id]);
    }

    bool Folder(SectionReader* reader, Package* package)
    {
        WORD id = 0, length = 0;
        std::vector<WORD> spec;
        if (!reader->Word(&id) || !reader->Word(&length) || !reader->Spec(length, &spec) ||
            !Path(kFolders, id, spec, true, &folders_[id])) {
            return false;
        }
        if (package->installDir.empty()) {  // the first folder is the installation folder
            package->installDir = folders_[id];
            package->installFolder = HandheldFolder(folders_[id]);
        }
        return true;
    }

    bool File(SectionReader* reader, Package* package)
    {
        PackageFile file = {};
        WORD folder = 0, unknown = 0, length = 0;
        if (!reader->Word(&file.number) || !reader->Word(&folder) || !reader->Word(&unknown) ||
            !reader->Dword(&file.flags) || !reader->Word(&length) ||
            !reader->Text(length, &file.name) || !Plain(L"the file name", file.name)) {
            return false;
        }
        auto found = folders_.find(folder);
        if (found == folders_.end()) {
            return Fail(L"the file " + file.name + L" names the folder " + std::to_wstring(folder) +
                        L", which is not there");
        }
        // Its member .NNN: the .000 is the data, the .999 the hook library.
        if (file.number == 0 || file.number > kMostFiles || !numbers_.insert(file.number).second) {
            return Fail(L"the file " + file.name + L" has the number " +
                        std::to_wstring(file.number) + L", not one of its own from 1 to " +
                        std::to_wstring(kMostFiles));
        }
        file.folder = found->second;
        file.installed = HandheldFolder(file.folder) + L"\\" + file.name;
        package->files.push_back(file);
        return Fits(L"the file " + std::to_wstring(file.number), file.installed);
    }

    bool Key(SectionReader* reader, Package*)
    {
        WORD id = 0, root = 0, unknown = 0, length = 0;
        std::vector<WORD> spec;
        if (!reader->Word(&id) || !reader->Word(&root) || !reader->Word(&unknown) ||
            !reader->Word(&length) || !reader->Spec(length, &spec)) {
            return false;
        }
        if (!FindRoot(root)) {
            return Fail(L"the registry key " + std::to_wstring(id) + L" has the unknown root " +
                        std::to_wstring(root));
        }
        keys_[id].first = root;
        return Path(kKeys, id, spec, false, &keys_[id].second);
    }

    bool Value(SectionReader* reader, Package* package)
    {
        WORD id = 0, key = 0, substitution = 0, length = 0;
        DWORD type = 0;
        std::string raw;
        if (!reader->Word(&id) || !reader->Word(&key) || !reader->Word(&substitution) ||
            !reader->Dword(&type) || !reader->Word(&length) || !reader->Bytes(length, &raw)) {
            return false;
        }
        auto found = keys_.find(key);
        if (found == keys_.end()) {
            return Fail(L"the registry value " + std::to_wstring(id) + L" names the key " +
                        std::to_wstring(key) + L", which is not there");
        }
        std::wstring item = L"the registry value " + std::to_wstring(id);
        std::string name = raw.substr(0, raw.find('\0') + 1), data = raw.substr(name.size());
        if (TextProblem(name)) {
            return Fail(item + L"'s name " + TextProblem(name));
        }
        PackageRegistryValue value = {};
        const RegistryRoot* root = FindRoot(found->second.first);
        value.root = root->root;
        value.rootName = root->name;
        value.key = found->second.second;
        value.name = Wide(name.substr(0, name.size() - 1));  // empty: the key's default value
        if (!value.name.empty() && !Plain(item + L"'s name", value.name)) {
            return false;
        }
        item = L"the registry value " + value.key + L" " + value.name;
        if (type == kTextValueType) {
            if (TextProblem(data)) {
                return Fail(item + L" " + TextProblem(data));
            }
            value.type = REG_SZ;
            value.text = Wide(data.substr(0, data.size() - 1));
        } else if (type == kNumberValueType) {
            if (data.size() != sizeof(DWORD)) {
                return Fail(item + L" is a number of " + std::to_wstring(data.size()) +
                            L" bytes, not 4");
            }
            value.type = REG_DWORD;
            std::memcpy(&value.number, data.data(), sizeof(DWORD));
        } else {
            wchar_t hex[16];
            swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(type));
            return Fail(item + L" has the type " + hex + L", which this installer doesn't know");
        }
        package->registryValues.push_back(value);
        return true;
    }

    bool Link(SectionReader* reader, Package* package)
    {
        WORD id = 0, unknown = 0, base = 0, target = 0, type = 0, length = 0;
        std::vector<WORD> spec;
        std::wstring below;
        if (!reader->Word(&id) || !reader->Word(&unknown) || !reader->Word(&base) ||
            !reader->Word(&target) || !reader->Word(&type) || !reader->Word(&length) ||
            !reader->Spec(length, &spec) || !Path(kLinks, id, spec, false, &below)) {
            return false;
        }
        PackageShortcut shortcut;
        size_t name = below.find_last_of(L'\\');
        shortcut.name = name == std::wstring::npos ? below : below.substr(name + 1);
        shortcut.folder = base ? StandardFolder(base) : package->installDir;
        shortcut.folder += name == std::wstring::npos ? L"" : L"\\" + below.substr(0, name);
        const PackageFile* file = nullptr;
        for (const PackageFile& candidate : package->files) {
            file = candidate.number == target ? &candidate : file;
        }
        if (type != kLinkToFile || !file || HandheldFolder(shortcut.folder).empty()) {
            return Fail(L"the shortcut " + below +
                        L" is not one to an installed file in a standard folder");
        }
        shortcut.path = HandheldFolder(shortcut.folder) + L"\\" + shortcut.name + L".lnk";
        shortcut.target = file->installed;
        package->shortcuts.push_back(shortcut);
        return Fits(L"the shortcut " + std::to_wstring(id), shortcut.path);
    }

    const std::string& bytes_;
    std::wstring* error_;
    Header header_ = {};
    size_t next_ = sizeof(Header);  // where the next part must start
    std::map<WORD, std::wstring> strings_;
    std::map<WORD, std::wstring> folders_;
    std::map<WORD, std::pair<WORD, std::wstring>> keys_;
    std::set<WORD> numbers_;  // of the files
};

}  // namespace

bool EncodeInstallationData(const Package& package, std::string* bytes, std::wstring* error)
{
    return Encoder(error).Encode(package, bytes);
}

bool DecodeInstallationData(const std::string& bytes, Package* package, std::wstring* error)
{
    return Decoder(bytes, error).Decode(package);
}
