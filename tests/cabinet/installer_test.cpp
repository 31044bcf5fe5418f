// The cabinet that the build makes, on a fresh Wine prefix: it holds what the
// description says (not what it can't carry), field by field, its shortcuts as
// the wizard writes them; the installer installs exactly the product from it
// and the removal leaves the prefix as it was; cabinets in the shapes that the
// handheld SDK's wizard writes are listed, installed and removed without
// hooks; damaged, unsafe and foreign cabinets, real files, and the removal of
// a product never installed change nothing and call no hook.
#include <functional>
#include <map>

#include "cab_archive.h"
#include "cabinet_test.h"
#include "package_cabinet.h"
#include "installation_data.h"
#include "installation_layout.h"
#include "window_standin.h"

using namespace test_support;
using Files = std::map<std::wstring, long long>;

namespace {

// Every file (its size) and folder (-1) below the folder, and whether the
// keys of installers' records and of drivers are there (1).
Files Prefix(const std::wstring& folder = L"C:\\Windows")
{
    Files files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        std::wstring path = folder + L"\\" + found.cFileName;
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY,
             named = *found.cFileName != L'.';
        if (named && (files[path] = isFolder ? -1LL : found.nFileSizeLow) < 0) {
            files.merge(Prefix(path));
        }
    }
    FindClose(search);
    for (const wchar_t* key : {L"Software\\Apps", L"Drivers"}) {
        HKEY k;
        files[key] = !RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) && !RegCloseKey(k);
    }
    return files;
}

std::wstring Value(HKEY root, const std::wstring& key, const std::wstring& name)
{
    DWORD data[64] = {}, size = sizeof(data) - 2, type = 0;
    RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY, &type, data, &size);
    return type == REG_DWORD ? std::to_wstring(data[0]) : reinterpret_cast<wchar_t*>(data);
}

// The cabinet, a row per item with all its fields (files with their bytes' hash).
std::vector<std::wstring> Rows(const Package& c)
{
    auto n = [](DWORD value) {
        return L" " + std::to_wstring(value);
    };
    auto bytes = [&n](const std::wstring& path) {
        return n(DWORD(std::hash<std::string>()(ReadFileBytes(path))));
    };
    std::vector<std::wstring> rows = {
        c.provider + L"|" + c.appName + L"|" + c.installDir + L"|" + c.installFolder,
        n(c.processorType) + n(c.versionMinMajor) + n(c.versionMinMinor) + n(c.versionMaxMajor) +
            n(c.versionMaxMinor) + n(c.buildMin) + n(c.buildMax),
        L"hook library" + bytes(c.hookLibraryPath)};
    for (const std::wstring& platform : c.unsupportedPlatforms) {
        rows.push_back(L"not on " + platform);
    }
    for (const PackageFile& f : c.files) {
        rows.push_back(n(f.number) + f.folder + L"|" + f.name + n(f.flags) + f.installed +
                       bytes(f.sourcePath));
    }
    for (const PackageShortcut& s : c.shortcuts) {
        rows.push_back(s.folder + L"|" + s.name + L"|" + s.path + L"|" + s.target);
    }
    for (const PackageRegistryValue& v : c.registryValues) {
        rows.push_back(v.rootName + L"\\" + v.key + L"|" + v.name + n(v.type) + v.text +
                       n(v.number));
    }
    return rows;
}

TEST(CabinetRoundTrip, HoldsWhatTheDescriptionSays)
{
    const Package described = ProductDescription();
    std::wstring folder = BinFolder() + L"\\round-trip", error;
    CreateDirectoryW(folder.c_str(), nullptr);
    Package decoded;
    ASSERT_TRUE(OpenPackageCabinet(kProductCabinet, folder, &decoded, &error)) << error.size();
    EXPECT_EQ(Rows(described), Rows(decoded));
    // Each shortcut as the wizard writes it: ONE string, its file name with .lnk, and no 0.
    const std::string data = ReadFileBytes(folder + L"\\TAVRINFO.000");
    InstallationHeader header;
    std::memcpy(&header, data.data(), sizeof(header));
    PartReader strings(data, header.offset[kStrings], header.offset[kFolders]),
        links(data, header.offset[kLinks], data.size());
    std::map<WORD, std::string> texts;
    StringHead string;
    for (std::string text; strings.Entry(&string, &text);) {
        texts[string.number] = text;
    }
    for (const PackageShortcut& shortcut : described.shortcuts) {
        LinkHead link;
        std::string id;
        ASSERT_TRUE(links.Entry(&link, &id));
        ASSERT_EQ(sizeof(WORD), id.size()) << "one string number, without a 0";
        EXPECT_EQ(std::string(shortcut.name.begin(), shortcut.name.end()) + '\0',
                  texts[*reinterpret_cast<const WORD*>(id.data())]);
        EXPECT_EQ(L".lnk", shortcut.name.substr(shortcut.name.size() - 4));
    }
    for (const PackageFile& file : decoded.files) {  // each under the format's member name
        std::string member = MemberName(file.name, file.number);
        EXPECT_TRUE(
            DeleteFileW((folder + L"\\" + std::wstring(member.begin(), member.end())).c_str()));
    }
    EXPECT_TRUE(DeleteFileW((folder + L"\\000SETUP.999").c_str()) &&
                DeleteFileW((folder + L"\\TAVRINFO.000").c_str()) &&
                RemoveDirectoryW(folder.c_str()));
}

// Runs the installer, pressing OK on its message box: its exit code, and its output and
// "(message box)" if it showed one.
DWORD RunInstaller(const std::wstring& arguments, std::string* output)
{
    std::wstring log = BinFolder() + L"\\installer-test.txt";
    Process installer(L"C:\\windows\\system32\\cmd.exe",
                      L"/c " + BinFolder() + L"\\cab-installer.exe " + arguments + L" >" + log);
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowW(L"#32770", L" ")) || installer.WaitForExit(0); },
              20000);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 99;
    installer.WaitForExit(20000, &exitCode);
    *output = ReadFileBytes(log) + (box ? "(message box)" : "");
    return exitCode;
}

TEST(CabinetInstaller, InstallsTheProductAndRemovesItAgain)
{
    const Package product = ProductDescription();
    // The same product with a file more, named by an unrelated file: removal goes by the record.
    Package other = product;
    std::wstring error, otherCabinet = BinFolder() + L"\\other.cab";
    other.files.push_back(product.files[4]);
    other.files.back().number = 6;
    other.files.back().name = L"victim.txt";
    ASSERT_TRUE(WritePackageCabinet(other, otherCabinet, &error));
    WriteFileBytes(L"C:\\Windows\\victim.txt", "not the product's");
    const Files before = Prefix();
    ASSERT_FALSE(before.at(L"Software\\Apps") || before.at(L"Drivers")) << "a fresh prefix";
    std::string output;
    EXPECT_EQ(0u, RunInstaller(L"install " + kProductCabinet, &output)) << output;
    EXPECT_NE(std::string::npos, output.find("(message box)")) << output;

    Files expected = before;
    expected[L"Software\\Apps"] = expected[L"Drivers"] = 1;
    for (const PackageFile& file : product.files) {
        expected[L"C:" + file.installed] = (long long)ReadFileBytes(file.sourcePath).size();
        EXPECT_EQ(ReadFileBytes(file.sourcePath), ReadFileBytes(L"C:" + file.installed));
    }
    for (const PackageShortcut& shortcut : product.shortcuts) {  // both start the program
        expected[L"C:" + shortcut.path] = 38;
        expected[L"C:" + shortcut.path.substr(0, shortcut.path.rfind(L'\\'))] = -1;
        EXPECT_EQ("35#\"\\Windows\\Tavrin Fold Keyboard.exe\"",
                  ReadFileBytes(L"C:" + shortcut.path));
    }
    EXPECT_EQ(expected, Prefix());
    for (const PackageRegistryValue& value : product.registryValues) {
        EXPECT_EQ(value.type == REG_DWORD ? std::to_wstring(value.number) : value.text,
                  Value(value.root, value.key, value.name));
    }
    std::wstring record = L"Software\\Apps\\" + RecordName(product);
    EXPECT_EQ(L"1 \\Windows", Value(HKEY_LOCAL_MACHINE, record, L"Instl") + L" " +
                                  Value(HKEY_LOCAL_MACHINE, record, L"InstlDir"));

    // The device manager loads the installed driver from its registration, as at the next
    // reset, and records the device while it runs; "quit" on its input ends it.
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    STARTUPINFOW startup = {};
    PROCESS_INFORMATION host = {};
    HANDLE input = nullptr;
    std::wstring command = L"\"" + BinFolder() + L"\\device-manager.exe\" --builtin RSN";
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    ASSERT_TRUE(CreatePipe(&startup.hStdInput, &input, &inherited, 0) &&
                SetHandleInformation(input, HANDLE_FLAG_INHERIT, 0) &&
                CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &host));
    const std::wstring active = L"Drivers\\Active";
    EXPECT_TRUE(WaitUntil(
        [&] { return Value(HKEY_LOCAL_MACHINE, active + L"\\01", L"Name") == L"RSN1:"; }, 20000));
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(input, "quit\n", 5, &written, nullptr));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(host.hProcess, 20000));
    for (HANDLE handle : {startup.hStdInput, input, host.hProcess, host.hThread}) {
        CloseHandle(handle);
    }
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, active.c_str(), 0, KEY_READ, &key));
    EXPECT_EQ(0u, RunInstaller(L"remove " + otherCabinet, &output)) << output;
    EXPECT_EQ(before, Prefix());
    RemoveFile(L"C:\\Windows\\victim.txt");
    RemoveFile(otherCabinet);
}

// Installation data as the handheld SDK's wizard writes it, entry by entry.
struct WizardData {
    explicit WizardData(bool pad) : padded(pad) {}
    bool padded;  // as from Windows Mobile 5 on: texts with zeros to a multiple of 4
    std::string texts[kHeaderTextCount], sections[kSectionCount];
    WORD counts[kSectionCount] = {};

    std::string Text(const std::string& text) const
    {
        return text + std::string(padded ? 4 - text.size() % 4 : 1, '\0');
    }
    template <typename Head>
    void Add(Section section, Head head, const std::string& data)
    {
        AppendEntry(&sections[section], head, data);
        ++counts[section];
    }
    void Strings(const std::vector<std::string>& strings)
    {
        for (WORD i = 0; i < strings.size(); ++i) {
            Add(kStrings, StringHead{WORD(i + 1), 0}, Text(strings[i]));
        }
    }
    void Folder(WORD number, const std::vector<WORD>& path)
    {
        Add(kFolders, FolderHead{number, 0}, PathListBytes(path));
    }
    void File(WORD number, WORD folder, DWORD flags, const std::string& name)
    {
        Add(kFiles, FileHead{number, folder, number, flags, 0}, Text(name));
    }
    void Link(WORD folder, WORD target, WORD name, bool before = false)  // before: this project's
    {
        Add(kLinks, LinkHead{WORD(counts[kLinks] + 1), 0, folder, target, kLinkToFile, 0},
            before ? PathListBytes({name}) : std::string(reinterpret_cast<char*>(&name), 2));
    }
    std::string Bytes()
    {
        InstallationHeader header = {};
        std::memcpy(header.signature, kSignature, sizeof(kSignature));
        header.unknown3 = 1;
        std::string out(sizeof(header), '\0');
        for (int text = 0; text < kHeaderTextCount; ++text) {
            header.*kHeaderTexts[text].offset = WORD(out.size());
            header.*kHeaderTexts[text].length = WORD(texts[text].size());
            out += texts[text];
        }
        for (int section = 0; section < kSectionCount; ++section) {
            header.count[section] = counts[section];
            header.offset[section] = DWORD(out.size());
            out += sections[section];
        }
        header.length = DWORD(out.size());
        return out.replace(0, sizeof(header), reinterpret_cast<char*>(&header), sizeof(header));
    }
};

// Each row a cabinet in a shape that the wizard writes, without a hook library, which the
// installer lists, installs and removes (exit 1 with the record kept while its shortcut is
// open, then 0), leaving the prefix as it was, "\Program Files" included.
TEST(CabinetInstaller, InstallsEveryShapeThatTheWizardWrites)
{
    const std::wstring folder = BinFolder() + L"\\shapes", cabinet = folder + L".cab";
    std::wstring error;
    CreateDirectoryW(folder.c_str(), nullptr);
    const struct {
        bool padded;
        ArchiveShape archive;
        std::function<void(WizardData*)> fill;
        std::vector<std::string> listed;  // lines of `list`
        const wchar_t* shortcut;          // its handheld path
        const wchar_t* value = nullptr;   // HKCR\nsbtest\Icon's Default as installed
    } rows[] = {
        // 2003: InstallDir one string; a folder no file uses; folders out of order.
        {false,
         {},
         [](WizardData* d) {
             d->Strings({"%CE1%\\Bench", "%CE2%", "Start Menu", "Bench.lnk"});
             d->Folder(3, {2, 3});
             d->Folder(2, {1});
             d->File(1, 2, 0, "Bench.exe");
             d->Link(11, 1, 4);
         },
         {"file \\Program Files\\Bench\\Bench.exe (from 00MEMBER.001)",
          "folder \\Program Files\\Bench"},
         L"\\Windows\\Start Menu\\Programs\\Bench.lnk"},
        // 2005: folders below "\Program Files", self-registering files, a registry value
        // with %InstallDir%, keys out of order, platforms ending in an empty name.
        {false,
         {true},
         [](WizardData* d) {
             d->texts[kPlatforms] = std::string("HPC\0JUPITER\0", 13);
             d->Strings(
                 {"\\Program Files", "NSBasic", "images", "%CE2%", "nsbtest", "Icon", "Show.lnk"});
             d->Folder(3, {1, 2, 3});
             d->Folder(2, {1, 2});
             d->Folder(4, {4});
             d->Folder(1, {1});
             d->File(1, 2, 0, "basic.exe");
             d->File(2, 3, 0, "pic.gif");
             d->File(3, 4, 0x10000010, "vbtest.dll");
             d->Add(kKeys, KeyHead{2, 1, 0, 0}, PathListBytes({5, 6}));
             d->Add(kKeys, KeyHead{1, 1, 0, 0}, PathListBytes({5}));
             d->Add(kValues, ValueHead{1, 2, 1, kTextValueType, 0},
                    std::string("Default\0%InstallDir%\\NSBasic\\basic.exe,0\0", 42));
             d->Link(11, 1, 7);
         },
         {"file \\Program Files\\NSBasic\\images\\pic.gif (from 00MEMBER.002)",
          "registry value HKCR\\nsbtest\\Icon\\Default = \"%InstallDir%\\NSBasic\\basic.exe,0\"",
          "shortcut \\Windows\\Start Menu\\Programs\\Show.lnk to \\Program "
          "Files\\NSBasic\\basic.exe"},
         L"\\Windows\\Start Menu\\Programs\\Show.lnk",
         L"\\Program Files\\NSBasic\\basic.exe,0"},
        // 2009: texts padded, MSZIP, reserve areas, a folder a member, _setup.xml, a
        // signature after the cabinet; the shortcut in the installation folder (0).
        {true,
         {true, true, true},
         [](WizardData* d) {
             d->Strings({"%CE1%", "MyCo", "%CE11%", "App.lnk"});
             d->Folder(2, {1, 2});
             d->Folder(1, {1});
             d->Folder(3, {3});
             d->File(1, 2, 0, "app.exe");
             d->Link(0, 1, 4);
         },
         {"shortcut \\Program Files\\App.lnk to \\Program Files\\MyCo\\app.exe"},
         L"\\Program Files\\App.lnk"},
        // This project's cabinets made before: the shortcut's name without .lnk, with a 0.
        {false,
         {},
         [](WizardData* d) {
             d->Strings({"%CE2%", "Old"});
             d->Folder(1, {1});
             d->File(1, 1, 0, "Old.exe");
             d->Link(17, 1, 2, true);
         },
         {"shortcut \\Windows\\Start Menu\\Old.lnk to \\Windows\\Old.exe"},
         L"\\Windows\\Start Menu\\Old.lnk"},
    };
    const auto before = std::make_pair(Prefix(), Prefix(L"C:\\Program Files"));
    for (const auto& row : rows) {
        WizardData data(row.padded);
        data.texts[kAppName] = data.Text("Shape App");
        data.texts[kProvider] = data.Text("Maker");
        row.fill(&data);
        std::vector<ArchiveMember> members = {{"SHAPEAPP.000", folder + L"\\data"}};
        WriteFileBytes(members[0].path, data.Bytes());
        for (WORD number = data.counts[kFiles]; number > 0;
             --number) {  // as the wizard orders them
            members.push_back(
                {MemberName(L"member", number), folder + L"\\" + std::to_wstring(number)});
            WriteFileBytes(members.back().path, "file " + std::to_string(number));
        }
        members.push_back({"_setup.xml", members[1].path});
        ASSERT_TRUE(WriteCabArchive(cabinet, members, &error, row.archive)) << error.size();
        WriteFileBytes(cabinet,
                       ReadFileBytes(cabinet) + std::string(row.archive.reserved ? 512 : 0, 's'));
        std::string output;
        EXPECT_EQ(0u, RunInstaller(L"list " + cabinet, &output)) << output;
        for (const std::string& line : row.listed) {
            EXPECT_NE(std::string::npos, output.find(line + "\r\n")) << line << "\n" << output;
        }
        EXPECT_EQ(0u, RunInstaller(L"install " + cabinet, &output)) << output;
        EXPECT_EQ(std::string::npos, output.find("Install_Init")) << output;
        EXPECT_EQ(row.value ? row.value : L"",
                  Value(HKEY_CLASSES_ROOT, L"nsbtest\\Icon", L"Default"));
        HANDLE open = CreateFileW((L"C:" + std::wstring(row.shortcut)).c_str(), GENERIC_READ, 0,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, open) << output;
        EXPECT_EQ(1u, RunInstaller(L"remove " + cabinet, &output)) << output;
        CloseHandle(open);
        EXPECT_EQ(0u, RunInstaller(L"remove " + cabinet, &output)) << "the record kept: " << output;
        EXPECT_EQ(before, std::make_pair(Prefix(), Prefix(L"C:\\Program Files"))) << output;
        HKEY key;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, L"nsbtest", 0, KEY_READ, &key));
    }
    for (const wchar_t* name : {L"data", L"1", L"2", L"3"}) {
        RemoveFile(folder + L"\\" + name);
    }
    RemoveDirectoryW(folder.c_str());
    RemoveFile(cabinet);
}

// Each row a real file: exit code 2 and one line naming what is wrong, before anything changes
// or a hook runs (Install_Init and Uninstall_Init would close the keyboard service).
TEST(CabinetInstaller, ADamagedUnsafeOrForeignCabinetChangesNothing)
{
    std::wstring error, folder = BinFolder() + L"\\damaged", cabinet = folder + L".cab";
    std::vector<ArchiveMember> members;  // the product's cabinet's, .000 first, .999 last
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(ExtractCabArchive(kProductCabinet, folder, &members, &error));
    const std::string data = ReadFileBytes(members[0].path), whole = ReadFileBytes(kProductCabinet);
    const ArchiveMember extra = {"00EXTRA.006", members[5].path},
                        oversize = {"00KEYTAP.005", folder + L"\\big"};
    WriteFileBytes(oversize.path, std::string(17 << 20, 'x'));
    // The product's cabinet with other installation data, without member leftOut, with another.
    auto make = [&](const std::string& installationData, int leftOut = -1,
                    const ArchiveMember& added = {}) {
        std::vector<ArchiveMember> held = members;
        WriteFileBytes(held[0].path, installationData);
        if (leftOut >= 0) {
            held.erase(held.begin() + leftOut);
        }
        if (!added.name.empty()) {
            held.push_back(added);
        }
        WriteCabArchive(cabinet, held, &error);
    };
    auto at = [&](size_t offset, DWORD value, size_t size) {
        return std::string(data).replace(offset, size, reinterpret_cast<char*>(&value), size);
    };
    auto encoded = [&](const std::function<void(Package*)>& change) {  // by the project's encoder
        Package product = ProductDescription();
        std::string bytes;
        change(&product);
        EXPECT_TRUE(EncodeInstallationData(product, &bytes, &error));
        return bytes;
    };
    InstallationHeader header;
    std::memcpy(&header, data.data(), sizeof(header));
    const size_t values = header.offset[kValues];
    auto count = [](Section section) {
        return offsetof(InstallationHeader, count) + section * sizeof(WORD);
    };
    // The hook library as one for another processor: its PE header's machine.
    const std::string library = ReadFileBytes(members.back().path);
    const size_t machine =
        *reinterpret_cast<const LONG*>(&library[offsetof(IMAGE_DOS_HEADER, e_lfanew)]) +
        sizeof(DWORD) + offsetof(IMAGE_FILE_HEADER, Machine);
    const ArchiveMember foreign = {members.back().name, folder + L"\\arm"};
    WriteFileBytes(foreign.path, std::string(library).replace(machine, 2, "\xC0\x01"));
    const size_t driverPrefix = data.find("RSN", data.find("Prefix"));  // its value's text
    const struct {
        std::function<void()> make;
        const char* says;
        const wchar_t* command = L"install ";
    } rows[] = {
        {[&] { WriteFileBytes(cabinet, whole.substr(0, whole.size() / 2)); },
         "damaged or cut short"},
        {[&] { WriteFileBytes(cabinet, ReadFileBytes(BinFolder() + L"\\SETUP.DLL")); },
         "it is no cabinet"},
        {[&] { make(data, 0); }, "no installation data (.000)"},
        {[&] { make(data, 3); }, "member .003, which the cabinet does not hold"},
        {[&] { make(data, -1, extra); }, "\"00EXTRA.006\" belongs to no file"},
        {[&] {
             make(data, -1, {"..\\EVIL.006", extra.path});
         },
         "member name \"..\\EVIL.006\" holds one of"},
        {[&] {
             make(data, -1, {"EVIL\n.006", extra.path});
         },
         "member name \"EVIL?.006\" is not printable"},
        {[&] { make(data, 5, oversize); }, "more than this installer takes"},
        {[&] { make(data, 6, foreign); }, "no library for this processor"},
        {[&] { make(at(count(kLinks), 9, 2)); }, "shortcut section's entry 3 runs past"},
        {[&] { make(at(count(kFiles), 2, 2)); }, "file section's 2 entries fill"},
        {[&] { make(at(values - sizeof(WORD), 1, 2)); }, "path list that does not end in its 0"},
        {[&] { make(at(driverPrefix + 2, 0xFF, 1)); }, "RSN Prefix holds text that is not ASCII"},
        {[&] { make(at(values + offsetof(ValueHead, type), 5, 4)); }, "type 0x00000005"},
        {[&] { make(at(values + offsetof(ValueHead, type), kNumberValueType, 4)); },
         "Dll is a number of 12 bytes, not 4"},
        {[&] { make(encoded([](Package* c) { c->appName.assign(250, L'x'); })); },
         "longer than a registry key's name may be"},
        {[&] { make(encoded([](Package* c) { c->files[4].name = L".."; })); },
         "file name \"..\" is . or .."},
        {[&] { make(encoded([](Package* c) { c->files[4].name = L"C:\\x"; })); },
         "file name \"C:\\x\" holds one of"},
        {[&] { make(encoded([](Package* c) { c->shortcuts[1].name = L"nul"; })); },
         "shortcut 2's name \"nul\" is a device's name"},
        {[&] { WriteFileBytes(cabinet, whole); }, "Tavrin Fold Keyboard V1.03, is not installed",
         L"remove "},
    };
    WriteFileBytes(L"C:\\Windows\\R410.inf", "settings");  // which Install_Init would delete
    kKeyboardService.Reset();
    Process service = kKeyboardService.Start();  // which both first hooks would close
    const Files before = Prefix();
    for (const auto& row : rows) {
        row.make();
        std::string output;
        EXPECT_EQ(2u, RunInstaller(row.command + cabinet, &output)) << output;
        EXPECT_NE(std::string::npos, output.find(row.says)) << output;
        EXPECT_EQ(output.size() - 1, output.find('\n')) << "one line: " << output;
        EXPECT_TRUE(before == Prefix() && kKeyboardService.Window()) << row.says;
    }
    kKeyboardService.Remove();
    members.insert(members.end(),
                   {{"", L"C:\\Windows\\R410.inf"}, {"", cabinet}, oversize, foreign});
    for (const ArchiveMember& member : members) {
        RemoveFile(member.path);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
