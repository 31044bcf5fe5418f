// The cabinet installer stand-in with the cabinet that the build makes, on a
// Wine prefix made afresh for these tests: it installs exactly the product
// and its removal leaves the prefix as it was; damaged and foreign cabinets,
// real files each, install nothing and call no hook.
#include <algorithm>
#include <functional>
#include <map>

#include "cabinet_file.h"
#include "cabinet_test.h"
#include "installation_cabinet.h"
#include "installation_data.h"

using namespace test_support;

namespace {

// Every file and folder below C:\windows with its size (folders: -1).
void List(const std::wstring& folder, std::map<std::wstring, long long>* files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        std::wstring path = folder + L"\\" + found.cFileName;
        bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (found.cFileName[0] != L'.') {
            (*files)[path] = isFolder ? -1LL : found.nFileSizeLow;
            if (isFolder) {
                List(path, files);
            }
        }
    }
    FindClose(search);
}
std::map<std::wstring, long long> WindowsFolder()
{
    std::map<std::wstring, long long> files;
    List(L"C:\\Windows", &files);
    return files;
}

bool KeyExists(const wchar_t* path)
{
    HKEY key;
    bool exists = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    RegCloseKey(exists ? key : nullptr);
    return exists;
}

// Runs the installer; its exit code and its output. Presses OK on its message box, if any.
DWORD RunInstaller(const std::wstring& arguments, std::string* output, bool* box = nullptr)
{
    std::wstring log = BinFolder() + L"\\cab-installer-test.txt";
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE out = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                             0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = out;
    PROCESS_INFORMATION process = {};
    std::wstring command = L"cab-installer " + arguments;
    EXPECT_TRUE(CreateProcessW((BinFolder() + L"\\cab-installer.exe").c_str(), &command[0], nullptr,
                               nullptr, TRUE, 0, nullptr, nullptr, &startup, &process));
    CloseHandle(out);
    HWND shown = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(L"#32770")) {
                shown = WindowProcessId(window) == process.dwProcessId ? window : shown;
            }
            return shown || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        20000);
    PostMessageW(shown, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 99;
    WaitForSingleObject(process.hProcess, 20000);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    *output = ReadFileBytes(log);
    if (box) {
        *box = shown != nullptr;
    }
    return exitCode;
}

TEST(CabinetInstaller, InstallsTheProductAndRemovesItAgain)
{
    const Cabinet product = ProductDescription();
    const auto before = WindowsFolder();
    ASSERT_FALSE(KeyExists(L"Software\\Apps") || KeyExists(L"Drivers")) << "a fresh prefix";
    std::string output;
    bool box = false;
    EXPECT_EQ(0u, RunInstaller(L"install " + ProductCabinetPath(), &output, &box)) << output;
    EXPECT_TRUE(box);
    EXPECT_NE(std::string::npos, output.find("for processor 2577, Windows CE 3.00 to 3.99"));

    std::map<std::wstring, long long> expected = before, installed = WindowsFolder();
    for (const CabinetFile& file : product.files) {
        expected[L"C:" + file.installed] = ReadFileBytes(file.sourcePath).size();
        EXPECT_EQ(ReadFileBytes(file.sourcePath), ReadFileBytes(L"C:" + file.installed));
    }
    for (const CabinetShortcut& shortcut : product.shortcuts) {
        std::string target =
            "\"" + std::string(shortcut.target.begin(), shortcut.target.end()) + "\"";
        std::string text = std::to_string(target.size()) + "#" + target;
        expected[L"C:" + shortcut.path] = text.size();
        expected[L"C:" + shortcut.path.substr(0, shortcut.path.rfind(L'\\'))] = -1;
        EXPECT_EQ(text, ReadFileBytes(L"C:" + shortcut.path));
    }
    EXPECT_EQ(expected, installed);
    for (const CabinetRegistryValue& value : product.registryValues) {
        DWORD data[64] = {}, size = sizeof(data);
        RegGetValueW(value.root, value.key.c_str(), value.name.c_str(), RRF_RT_ANY, nullptr, data,
                     &size);
        EXPECT_EQ(
            value.type == REG_DWORD ? std::to_wstring(value.number) : value.text,
            value.type == REG_DWORD ? std::to_wstring(data[0]) : reinterpret_cast<wchar_t*>(data));
    }
    std::wstring record = L"Software\\Apps\\" + RecordName(product);
    DWORD instl = 0, size = sizeof(instl);
    wchar_t folder[16] = {};
    RegGetValueW(HKEY_LOCAL_MACHINE, record.c_str(), L"Instl", RRF_RT_REG_DWORD, nullptr, &instl,
                 &size);
    size = sizeof(folder);
    RegGetValueW(HKEY_LOCAL_MACHINE, record.c_str(), L"InstlDir", RRF_RT_REG_SZ, nullptr, folder,
                 &size);
    EXPECT_EQ(1u, instl);
    EXPECT_STREQ(L"\\Windows", folder);

    EXPECT_EQ(0u, RunInstaller(L"remove " + ProductCabinetPath(), &output)) << output;
    EXPECT_EQ(before, WindowsFolder());
    EXPECT_FALSE(KeyExists(L"Software\\Apps") || KeyExists(L"Drivers"));
}

void Write(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A cabinet of the product's files and this installation data, without the
// member of one file number.
void WriteCabinet(const std::wstring& path, const std::string& data, int leftOut = 0)
{
    const Cabinet product = ProductDescription();
    Write(path + L".000", data);
    std::vector<CabinetMember> members = {{"TAVRINFO.000", path + L".000"}};
    for (const CabinetFile& file : product.files) {
        if (file.number != leftOut) {
            members.push_back({MemberName(file.name, file.number), file.sourcePath});
        }
    }
    members.push_back({"000SETUP.999", product.hookLibraryPath});
    std::wstring error;
    EXPECT_TRUE(WriteCabinetFile(path, members, &error)) << testing::PrintToString(error);
    RemoveFile(path + L".000");
}

TEST(CabinetInstaller, ADamagedOrForeignCabinetInstallsNothing)
{
    std::string data;
    std::wstring error, cabinet = BinFolder() + L"\\damaged.cab", bin = BinFolder() + L"\\";
    ASSERT_TRUE(EncodeInstallationData(ProductDescription(), &data, &error));
    auto patched = [&](size_t at, DWORD value, size_t size) {
        return data.substr(0, at) + std::string(reinterpret_cast<char*>(&value), size) +
               data.substr(at + size);
    };
    const std::string whole = ReadFileBytes(ProductCabinetPath());
    const size_t values = *reinterpret_cast<const DWORD*>(&data[0x4C]);  // their section
    const struct {
        std::function<void()> make;
        const char* problem;
    } rows[] = {
        {[&] { Write(cabinet, whole.substr(0, whole.size() / 2)); }, "damaged or cut short"},
        {[&] { Write(cabinet, ReadFileBytes(bin + L"SETUP.DLL")); }, "it is no cabinet"},
        {[&] {
             WriteCabinetFile(cabinet, {{"0RSNR410.001", bin + L"RSN.dll"}}, &error);
         },
         "no installation data (.000)"},
        {[&] { WriteCabinet(cabinet, patched(0x3A, 9, 2)); }, "shortcut section runs past the end"},
        {[&] { WriteCabinet(cabinet, data, 3); }, "member .003, which the cabinet does not hold"},
        {[&] { WriteCabinet(cabinet, patched(values + 6, 5, 4)); }, "type 0x00000005"},
    };
    Write(L"C:\\Windows\\R410.inf", "settings");  // which Install_Init would delete
    const auto before = WindowsFolder();
    for (const auto& row : rows) {
        row.make();
        std::string output;
        EXPECT_EQ(2u, RunInstaller(L"install " + cabinet, &output)) << output;
        EXPECT_NE(std::string::npos, output.find(row.problem)) << output;
        EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << output;
    }
    EXPECT_EQ(before, WindowsFolder());
    EXPECT_FALSE(KeyExists(L"Software\\Apps"));
    RemoveFile(cabinet);
    RemoveFile(L"C:\\Windows\\R410.inf");
}

}  // namespace
