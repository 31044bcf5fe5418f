// The installation data's decoder, which checks the whole data before any of
// it is used: the installer takes every cabinet as untrusted.
#include <algorithm>
#include <map>
#include <set>

#include "handheld_names.h"
#include "installation_checks.h"
#include "installation_data.h"
#include "installation_layout.h"

namespace {

// Decodes and checks the whole data: its parts lie back to back in the order
// that the encoder writes them, each section exactly filled by its entries,
// every text ASCII, and every name of a file, folder, key, value or shortcut
// a plain name below its standard folder, the handheld's root or registry
// root. Entries refer to one another by number, whatever their order.
class Decoder {
public:
    Decoder(const std::string& bytes, std::wstring* error) : bytes_(bytes), error_(error) {}

    bool Decode(Package* package)
    {
        error_->clear();
        if (bytes_.size() < sizeof(header_)) {
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
        for (const auto& field : kTargetFields) {
            package->*field.package = header_.*field.header;
        }
        return Texts(package) && Sections(package);
    }

private:
    using EntryReader = bool (Decoder::*)(PartReader*, Package*);

    bool Fail(const std::wstring& reason)
    {
        *error_ = reason;
        return false;
    }
    // Fails with the problem that a check (installation_checks.h) found, if any.
    bool Check(const std::wstring& problem) { return problem.empty() || Fail(problem); }
    // Null, or the entry's own damage, which Sections() reports with its place.
    bool Intact(const wchar_t* problem)
    {
        problem_ = problem;
        return !problem;
    }
    template <typename Head>
    bool Entry(PartReader* reader, Head* head, std::string* data)
    {
        return reader->Entry(head, data) || Intact(L"runs past the section's end");
    }

    // The application's name, its provider and the unsupported platforms,
    // right after the header.
    bool Texts(Package* package)
    {
        PartReader reader(bytes_, next_, bytes_.size());
        std::string texts[kHeaderTextCount];
        for (int text = 0; text < kHeaderTextCount; ++text) {
            if (header_.*kHeaderTexts[text].offset != reader.At() ||
                !reader.Bytes(header_.*kHeaderTexts[text].length, &texts[text])) {
                return Fail(
                    L"the application's name, provider and platforms don't follow the "
                    L"header one after another");
            }
        }
        next_ = reader.At();
        const wchar_t* problem = ReadText(texts[kAppName], &package->appName);
        problem = problem ? problem : ReadText(texts[kProvider], &package->provider);
        if (problem) {
            return Fail(L"the application's name or provider " + std::wstring(problem));
        }
        problem = ReadPlatforms(texts[kPlatforms], &package->unsupportedPlatforms);
        if (problem) {
            return Fail(L"the unsupported platforms " + std::wstring(problem));
        }
        if (RecordName(*package).size() > kLongestKeyName) {
            return Fail(L"the product's record, " + Quoted(RecordName(*package)) +
                        L", is longer than a registry key's name may be");
        }
        return Check(PlainNameProblem(L"the product's record", RecordName(*package)));
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
            PartReader reader(bytes_, next_, end);
            for (int entry = 1; entry <= header_.count[section]; ++entry) {
                if (!(this->*readers[section])(&reader, package)) {
                    if (problem_) {
                        Fail(L"the " + name + L" section's entry " + std::to_wstring(entry) + L" " +
                             problem_);
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
            if (section == kFolders && !folders_.empty()) {
                // The installation folder is the one of the lowest number, as
                // the wizard numbers InstallDir before the folders below it.
                package->installDir = folders_.begin()->second;
                package->installFolder = InstallationFolder(package->installDir);
            }
        }
        return !package->installDir.empty() || Fail(L"the installation data names no folder");
    }

    // Each entry's number once in its section.
    template <typename Entries>
    bool Unique(Section section, WORD number, const Entries& entries)
    {
        return !entries.count(number) ||
               Intact(section == kStrings ? L"has a number that another string has"
                                          : L"has a number that another entry has");
    }

    bool Path(Section section, WORD entry, const std::vector<WORD>& ids, bool inFolder,
              std::wstring* path)
    {
        std::wstring item =
            L"the " + std::wstring(kSectionNames[section]) + L" " + std::to_wstring(entry);
        return Check(PathProblem(item, ids, strings_, inFolder, path));
    }

    bool String(PartReader* reader, Package*)
    {
        StringHead head = {};
        std::string data;
        return Entry(reader, &head, &data) && Unique(kStrings, head.number, strings_) &&
               Intact(ReadText(data, &strings_[head.number]));
    }

    bool Folder(PartReader* reader, Package*)
    {
        FolderHead head = {};
        std::string data;
        std::vector<WORD> ids;
        return Entry(reader, &head, &data) && Unique(kFolders, head.number, folders_) &&
               Intact(ReadPathList(data, &ids)) &&
               Path(kFolders, head.number, ids, true, &folders_[head.number]);
    }

    bool File(PartReader* reader, Package* package)
    {
        FileHead head = {};
        std::string data;
        PackageFile file = {};
        if (!Entry(reader, &head, &data) || !Intact(ReadText(data, &file.name)) ||
            !Check(PlainNameProblem(L"the file name", file.name))) {
            return false;
        }
        file.number = head.number;
        file.flags = head.flags;
        auto found = folders_.find(head.folder);
        if (found == folders_.end()) {
            return Fail(L"the file " + Quoted(file.name) + L" names the folder " +
                        std::to_wstring(head.folder) + L", which is not there");
        }
        // Its member .NNN: the .000 is the data, the .999 the hook library.
        if (file.number == 0 || file.number > kMostFiles || !numbers_.insert(file.number).second) {
            return Fail(L"the file " + Quoted(file.name) + L" has the number " +
                        std::to_wstring(file.number) + L", not one of its own from 1 to " +
                        std::to_wstring(kMostFiles));
        }
        file.folder = found->second;
        file.installed = InstallationFolder(file.folder) + L"\\" + file.name;
        package->files.push_back(file);
        return Check(LongPathProblem(L"the file " + std::to_wstring(file.number), file.installed));
    }

    bool Key(PartReader* reader, Package*)
    {
        KeyHead head = {};
        std::string data;
        std::vector<WORD> ids;
        if (!Entry(reader, &head, &data) || !Unique(kKeys, head.number, keys_) ||
            !Intact(ReadPathList(data, &ids))) {
            return false;
        }
        if (!FindRoot(head.root)) {
            return Fail(L"the registry key " + std::to_wstring(head.number) +
                        L" has the unknown root " + std::to_wstring(head.root));
        }
        keys_[head.number].first = head.root;
        return Path(kKeys, head.number, ids, false, &keys_[head.number].second);
    }

    bool Value(PartReader* reader, Package* package)
    {
        ValueHead head = {};
        std::string raw;
        if (!Entry(reader, &head, &raw)) {
            return false;
        }
        auto found = keys_.find(head.key);
        if (found == keys_.end()) {
            return Fail(L"the registry value " + std::to_wstring(head.number) + L" names the key " +
                        std::to_wstring(head.key) + L", which is not there");
        }
        std::wstring item = L"the registry value " + std::to_wstring(head.number);
        std::string name = raw.substr(0, raw.find('\0') + 1), data = raw.substr(name.size());
        PackageRegistryValue value = {};
        if (const wchar_t* problem = ReadText(name, &value.name)) {
            return Fail(item + L"'s name " + problem);
        }
        const RegistryRoot* root = FindRoot(found->second.first);
        value.root = root->root;
        value.rootName = root->name;
        value.key = found->second.second;
        // An empty name is the key's default value.
        if (!value.name.empty() && !Check(PlainNameProblem(item + L"'s name", value.name))) {
            return false;
        }
        item = L"the registry value " + value.key + L" " + value.name;
        if (head.type == kTextValueType) {
            if (const wchar_t* problem = ReadText(data, &value.text)) {
                return Fail(item + L" " + problem);
            }
            value.type = REG_SZ;
        } else if (head.type == kNumberValueType) {
            if (data.size() != sizeof(DWORD)) {
                return Fail(item + L" is a number of " + std::to_wstring(data.size()) +
                            L" bytes, not 4");
            }
            value.type = REG_DWORD;
            std::memcpy(&value.number, data.data(), sizeof(DWORD));
        } else {
            wchar_t hex[16];
            swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(head.type));
            return Fail(item + L" has the type " + hex + L", which this installer doesn't know");
        }
        package->registryValues.push_back(value);
        return true;
    }

    bool Link(PartReader* reader, Package* package)
    {
        LinkHead head = {};
        std::string data;
        std::vector<WORD> ids(1);
        std::wstring below;
        if (!Entry(reader, &head, &data)) {
            return false;
        }
        // One string, the file's name with .lnk; before, a path list without it.
        bool before = data.size() != sizeof(WORD);
        if (!Intact(before ? ReadPathList(data, &ids) : ReadLinkName(data, &ids[0])) ||
            !Path(kLinks, head.number, ids, false, &below)) {
            return false;
        }
        PackageShortcut shortcut;
        size_t name = below.find_last_of(L'\\');
        shortcut.name = (name == std::wstring::npos ? below : below.substr(name + 1)) +
                        (before ? L".lnk" : L"");
        shortcut.folder = head.folder ? StandardFolder(head.folder) : package->installDir;
        shortcut.folder += name == std::wstring::npos ? L"" : L"\\" + below.substr(0, name);
        auto file = std::find_if(
            package->files.begin(), package->files.end(),
            [&](const PackageFile& candidate) { return candidate.number == head.target; });
        if (head.type != kLinkToFile || file == package->files.end() ||
            InstallationFolder(shortcut.folder).empty()) {
            return Fail(L"the shortcut " + Quoted(below) +
                        L" is not one to an installed file in a standard folder");
        }
        shortcut.path = InstallationFolder(shortcut.folder) + L"\\" + shortcut.name;
        shortcut.target = file->installed;
        package->shortcuts.push_back(shortcut);
        return Check(
            LongPathProblem(L"the shortcut " + std::to_wstring(head.number), shortcut.path));
    }

    const std::string& bytes_;
    std::wstring* error_;
    const wchar_t* problem_ = nullptr;
    InstallationHeader header_ = {};
    size_t next_ = sizeof(InstallationHeader);  // where the next part must start
    std::map<WORD, std::wstring> strings_;
    std::map<WORD, std::wstring> folders_;
    std::map<WORD, std::pair<WORD, std::wstring>> keys_;
    std::set<WORD> numbers_;  // of the files
    // A registry key's name, "<Provider> <AppName>" below Software\Apps.
    static const size_t kLongestKeyName = 255;
};

}  // namespace

bool DecodeInstallationData(const std::string& bytes, Package* package, std::wstring* error)
{
    return Decoder(bytes, error).Decode(package);
}
