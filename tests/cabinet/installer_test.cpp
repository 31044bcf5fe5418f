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
    for (const wchar_t* key : {L"Software\\Apps", L"Drivers", L"Software\\Classes\\nsbtest"}) {
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
    // Each shortcut as the wizard writes it: ONE string number (its file name with .lnk), no 0.
    const std::string data = ReadFileBytes(folder + L"\\TAVRINFO.000");
    const size_t links = reinterpret_cast<const InstallationHeader*>(data.data())->offset[kLinks];
    EXPECT_EQ(described.shortcuts.size() * (sizeof(LinkHead) + sizeof(WORD)), data.size() - links);
    for (const PackageShortcut& shortcut : described.shortcuts) {
        EXPECT_EQ(L".lnk", shortcut.name.substr(shortcut.name.size() - 4));
        EXPECT_NE(std::string::npos,
                  data.find(std::string(shortcut.name.begin(), shortcut.name.end()) + '\0'));
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
    // Bounds for a loaded machine, where a Wine program may take many seconds to start.
    WaitUntil([&] { return (box = FindWindowW(L"#32770", L" ")) || installer.WaitForExit(0); },
              60000);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 99;
    installer.WaitForExit(60000, &exitCode);
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

// Installation data as the SDK's wizard writes it; padded (Windows Mobile 5 on): texts to 4.
struct WizardData {
    bool padded;
    ArchiveShape archive;
    std::string texts[kHeaderTextCount], sections[kSectionCount];
    WORD counts[kSectionCount];

    std::string Text(const std::string& text) const
    {
        return text + std::string(padded ? 4 - text.size() % 4 : 1, '\0');
    }
    template <typename Head>
    WizardData& Add(Section section, Head head, const std::string& data)
    {
        AppendEntry(&sections[section], head, data);
        ++counts[section];
        return *this;
    }
    WizardData& Strings(const std::vector<std::string>& strings)
    {
        for (const std::string& text : strings) {
            Add(kStrings, StringHead{WORD(counts[kStrings] + 1), 0}, Text(text));
        }
        return *this;
    }
    WizardData& Link(WORD folder, WORD name, bool before = false)  // before: this project's
    {
        return Add(kLinks, LinkHead{WORD(counts[kLinks] + 1), 0, folder, 1, kLinkToFile, 0},
                   before ? PathListBytes({name}) : std::string(reinterpret_cast<char*>(&name), 2));
    }
    std::string Bytes() const
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

// Each row a signed cabinet in a wizard's shape, with _setup.xml, no hook library: listed,
// installed, removed (exit 1, the record kept, while a shortcut is open; then 0) as it was.
TEST(CabinetInstaller, InstallsEveryShapeThatTheWizardWrites)
{
    std::wstring error, cabinet = BinFolder() + L"\\shapes.cab", data = cabinet + L".000";
    const struct {
        std::function<void(WizardData*)> fill;
        std::vector<std::string> listed;  // lines of `list`
        const wchar_t* value = L"";       // HKCR\nsbtest\Icon's Default as installed
    } rows[] = {
        // 2005: folders below "\Program Files", files self-registering, %InstallDir%, keys out of
        // order, platforms ending in "", MSZIP; a shortcut as made here before (no .lnk, a 0).
        {[](WizardData* d) {
             d->archive.compressed = true;
             d->texts[kPlatforms] = std::string("HPC\0JUPITER\0", 13);
             d->Strings({"\\Program Files", "NSBasic", "images", "%CE2%", "nsbtest", "Icon",
                         "S.lnk", "Old"})
                 .Add(kFolders, FolderHead{3, 0}, PathListBytes({1, 2, 3}))
                 .Add(kFolders, FolderHead{2, 0}, PathListBytes({1, 2}))
                 .Add(kFolders, FolderHead{4, 0}, PathListBytes({4}))
                 .Add(kFolders, FolderHead{1, 0}, PathListBytes({1}))
                 .Add(kFiles, FileHead{1, 2, 1, 0, 0}, d->Text("basic.exe"))
                 .Add(kFiles, FileHead{2, 3, 2, 0, 0}, d->Text("pic.gif"))
                 .Add(kFiles, FileHead{3, 4, 3, 0x10000010, 0}, d->Text("v.dll"))
                 .Add(kKeys, KeyHead{2, 1, 0, 0}, PathListBytes({5, 6}))
                 .Add(kKeys, KeyHead{1, 1, 0, 0}, PathListBytes({5}))
                 .Add(kValues, ValueHead{1, 2, 1, kTextValueType, 0},
                      std::string("Default\0%InstallDir%\\NSBasic\\basic.exe,0\0", 42))
                 .Link(11, 7)
                 .Link(17, 8, true);
         },
         {"file \\Program Files\\NSBasic\\images\\pic.gif (from 00MEMBER.002)",
          "registry value HKCR\\nsbtest\\Icon\\Default = \"\\Program Files\\NSBasic\\basic.exe,0\"",
          "shortcut \\Windows\\Start Menu\\Programs\\S.lnk to \\Program Files\\NSBasic\\basic.exe",
          "shortcut \\Windows\\Start Menu\\Old.lnk to \\Program Files\\NSBasic\\basic.exe"},
         L"\\Program Files\\NSBasic\\basic.exe,0"},
        // 2009: padded, reserve areas, a folder a member; a shortcut in the installation
        // folder (0, the lowest number); a folder no file uses; %CE1%\App as one string (2003).
        {[](WizardData* d) {
             d->padded = true;
             d->archive = {true, true, true};
             d->Strings({"%CE1%", "MyCo", "%CE11%", "App.lnk", "%CE1%\\Bench"})
                 .Add(kFolders, FolderHead{2, 0}, PathListBytes({1, 2}))
                 .Add(kFolders, FolderHead{1, 0}, PathListBytes({1}))
                 .Add(kFolders, FolderHead{4, 0}, PathListBytes({5}))
                 .Add(kFolders, FolderHead{3, 0}, PathListBytes({3}))
                 .Add(kFiles, FileHead{1, 2, 1, 0, 0}, d->Text("app.exe"))
                 .Add(kFiles, FileHead{2, 4, 2, 0, 0}, d->Text("Bench.exe"))
                 .Link(0, 4);
         },
         {"folder \\Program Files\\Bench",
          "file \\Program Files\\Bench\\Bench.exe (from 00MEMBER.002)",
          "shortcut \\Program Files\\App.lnk to \\Program Files\\MyCo\\app.exe"}},
    };
    const auto before = std::make_pair(Prefix(), Prefix(L"C:\\Program Files"));
    for (const auto& row : rows) {
        WizardData wizard = {};
        row.fill(&wizard);
        wizard.texts[kAppName] = wizard.Text("Shape App");
        wizard.texts[kProvider] = wizard.Text("Maker");
        WriteFileBytes(data, wizard.Bytes());
        std::vector<ArchiveMember> members = {{"SHAPEAPP.000", data}};
        for (WORD number = wizard.counts[kFiles]; number > 0; --number) {  // the wizard's order
            members.push_back({MemberName(L"member", number), data});
        }
        members.push_back({"_setup.xml", data});
        ASSERT_TRUE(WriteCabArchive(cabinet, members, &error, wizard.archive)) << error.size();
        WriteFileBytes(cabinet, ReadFileBytes(cabinet) + "a signature after the cabinet");
        std::string listed, installed, removed;
        EXPECT_EQ(0u, RunInstaller(L"list " + cabinet, &listed)) << listed;
        for (const std::string& line : row.listed) {
            EXPECT_NE(std::string::npos, listed.find(line + "\r\n")) << line << "\n" << listed;
        }
        EXPECT_EQ(0u, RunInstaller(L"install " + cabinet, &installed)) << installed;
        EXPECT_EQ(row.value, Value(HKEY_CLASSES_ROOT, L"nsbtest\\Icon", L"Default"));
        std::string shortcut = listed.substr(listed.find("shortcut \\") + 9);
        HANDLE open = CreateFileA(("C:" + shortcut.substr(0, shortcut.find(" to "))).c_str(),
                                  GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(1u, RunInstaller(L"remove " + cabinet, &removed)) << removed;
        CloseHandle(open);
        EXPECT_EQ(0u, RunInstaller(L"remove " + cabinet, &removed)) << "record kept: " << removed;
        EXPECT_EQ(before, std::make_pair(Prefix(), Prefix(L"C:\\Program Files"))) << removed;
    }
    RemoveFile(data);
    RemoveFile(cabinet);
}

// Each row a real file: exit code 2 and one line naming what is wrong, before anything changes
// or a hook runs (Install_Init and Uninstall_Init would close the keyboard service).
TEST(CabinetInstaller, ADamagedUnsafeOrForeignCabinetChangesNothing)
{
    std::wstring error, folder = BinFolder() + L"\\damaged", cabinet = folder + L".cab";
    std::vector<ArchiveMember> members;  // the product's: .000, .999, .005 ... .001
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
    const size_t values = reinterpret_cast<const InstallationHeader*>(data.data())->offset[kValues];
    auto count = [](Section section) {
        return offsetof(InstallationHeader, count) + section * sizeof(WORD);
    };
    // The hook library as one for another processor (ARM): its PE header's machine.
    std::string arm = ReadFileBytes(members[1].path);
    arm.replace(*reinterpret_cast<LONG*>(&arm[offsetof(IMAGE_DOS_HEADER, e_lfanew)]) +
                    offsetof(IMAGE_NT_HEADERS, FileHeader.Machine),
                2, "\xC0\x01");
    const ArchiveMember foreign = {members[1].name, folder + L"\\arm"};
    WriteFileBytes(foreign.path, arm);
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
        {[&] { make(data, 4); }, "member .003, which the cabinet does not hold"},
        {[&] { make(data, -1, extra); }, "\"00EXTRA.006\" belongs to no file"},
        {[&] {
             make(data, -1, {"..\\E\n.006", extra.path});
         },
         "name \"..\\E?.006\" is not"},
        {[&] { make(data, 2, oversize); }, "more than this installer takes"},
        {[&] { make(data, 1, foreign); }, "no library for this processor"},
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
