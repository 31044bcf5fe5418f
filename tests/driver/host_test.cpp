// The driver under the device-manager host, a process of its own, as on the
// handheld: the host's window, or a client window in another process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

using namespace test_support;

namespace {

const UINT kResumedMessage = 1125;

// One line the host said: its time stamp and its text.
struct Said {
    double ms;
    std::string text;
};

class DriverHost : public ::testing::Test {
protected:
    void SetUp() override { RemoveFile(RecordPath()); }

    static std::wstring RecordPath() { return BinFolder() + L"\\device-manager.log"; }

    // Runs the host on the driver with the commands; its exit code.
    static DWORD RunHost(const std::wstring& library, const std::wstring& commands)
    {
        Process host(BinFolder() + L"\\device-manager.exe",
                     L"\"" + library + L"\" RSN " + commands);
        DWORD exitCode = 99;
        EXPECT_TRUE(host.WaitForExit(20000, &exitCode));
        return exitCode;
    }

    static std::vector<Said> Record()
    {
        std::vector<Said> lines;
        std::string text = ReadFileBytes(RecordPath());
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find("\r\n", start);
            std::string line = text.substr(start, end - start);
            const char* said = line.c_str();
            char* after = nullptr;
            double ms = std::strtod(said, &after);
            if (after != said && std::strncmp(after, " ms", 3) == 0) {
                const char* rest = after + 3;
                while (*rest == ' ') {
                    ++rest;
                }
                lines.push_back({ms, rest});
            }
            start = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }

    static std::vector<Said> Lines(const std::string& prefix)
    {
        std::vector<Said> found;
        for (const Said& line : Record()) {
            if (line.text.compare(0, prefix.size(), prefix) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }
};

TEST_F(DriverHost, APowerCycleReachesTheHostsWindowOnce)
{
    EXPECT_EQ(0u, RunHost(BinFolder() + L"\\RSN.dll", L"get cycle \"wait 2500\" get quit"));
    std::vector<Said> cycle = Lines("> cycle");
    std::vector<Said> messages = Lines("message ");
    ASSERT_EQ(1u, cycle.size());
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("message 1125 wParam 0 lParam 0", messages[0].text);
    EXPECT_LE(messages[0].ms - cycle[0].ms, 2500);

    std::vector<Said> resumed = Lines("resumed ");
    ASSERT_EQ(2u, resumed.size());
    EXPECT_EQ("resumed 0", resumed[0].text);
    EXPECT_EQ("resumed 1", resumed[1].text);
    EXPECT_EQ(1u, Lines("Deinit -> 1").size());
    EXPECT_EQ(1u, Lines("unloaded").size());
}

TEST_F(DriverHost, TheDriverPostsToAClientWindowInAnotherProcess)
{
    MessageRecorder client;
    wchar_t commands[80];
    swprintf(commands, 80, L"window %lu cycle wait 2500 clear-window cycle wait 1500",
             static_cast<unsigned long>(HandleToLong(client.Window())));
    Process host(BinFolder() + L"\\device-manager.exe",
                 L"\"" + BinFolder() + L"\\RSN.dll\" RSN " + commands);
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, 10000));
    ASSERT_TRUE(host.WaitForExit(10000));
    PumpMessages(100);
    ASSERT_EQ(1u, client.Received().size());
    EXPECT_EQ(0, client.Received()[0].lParam);
    EXPECT_TRUE(Lines("message ").empty());
}

// The driver installed and registered as the product's cabinet does it.
class RegisteredDriverHost : public DriverHost {
protected:
    void SetUp() override
    {
        DriverHost::SetUp();
        InstallProgram(L"RSN.dll", L"RSNR410.dll");
        SetText(L"Dll", L"RSNR410.dll");
        SetText(L"Prefix", L"RSN");
        DWORD index = 1;
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRegistration, L"Index", REG_DWORD, &index,
                        sizeof(index));
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kRegistration);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn");
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Drivers");
        RemoveFile(InWindowsFolder(L"RSNR410.dll"));
    }

    static constexpr const wchar_t* kRegistration = L"Drivers\\BuiltIn\\RSN";

    static void SetText(const wchar_t* name, const std::wstring& text)
    {
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRegistration, name, REG_SZ, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static DWORD RunRegistered(const std::wstring& name)
    {
        Process host(BinFolder() + L"\\device-manager.exe", L"--builtin " + name + L" quit");
        DWORD exitCode = 99;
        EXPECT_TRUE(host.WaitForExit(20000, &exitCode));
        return exitCode;
    }

    static std::wstring ActiveText(const wchar_t* name)
    {
        wchar_t text[64] = {};
        DWORD size = sizeof(text);
        RegGetValueW(HKEY_LOCAL_MACHINE, L"Drivers\\Active\\01", name, RRF_RT_REG_SZ, nullptr, text,
                     &size);
        return text;
    }
};

TEST_F(RegisteredDriverHost, LoadsTheRegisteredLibraryAndRecordsTheDevice)
{
    MessageRecorder client;
    wchar_t commands[80];
    swprintf(commands, 80, L"window %lu cycle wait 1500",
             static_cast<unsigned long>(HandleToLong(client.Window())));
    Process host(BinFolder() + L"\\device-manager.exe", std::wstring(L"--builtin RSN ") + commands);
    EXPECT_EQ(0, client.WaitFor(kResumedMessage, 10000));
    EXPECT_EQ(L"RSN1:", ActiveText(L"Name"));
    EXPECT_EQ(kRegistration, ActiveText(L"Key"));
    DWORD exitCode = 99;
    ASSERT_TRUE(host.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);

    std::vector<Said> said = Record();
    ASSERT_LE(3u, said.size());
    EXPECT_EQ("HKLM\\Drivers\\BuiltIn\\RSN: Dll RSNR410.dll, Prefix RSN, Index 1, Order 255",
              said[0].text);
    EXPECT_EQ("device RSN1:, recorded under HKLM\\Drivers\\Active\\01", said[1].text);
    const std::wstring drive = WindowsFolder().substr(0, 2);
    EXPECT_EQ(
        "loaded " + std::string(drive.begin(), drive.end()) + "\\Windows\\RSNR410.dll, prefix RSN",
        said[2].text);
    HKEY active;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Drivers\\Active", 0, KEY_READ, &active))
        << "the record goes with the driver";
}

TEST_F(RegisteredDriverHost, AMissingOrIncompleteRegistrationIsRefused)
{
    EXPECT_EQ(1u, RunRegistered(L"Other"));
    SetText(L"Prefix", L"");
    EXPECT_EQ(1u, RunRegistered(L"RSN"));
    std::vector<Said> said = Record();
    ASSERT_EQ(2u, said.size());
    EXPECT_EQ("no driver is registered under HKLM\\Drivers\\BuiltIn\\Other", said[0].text);
    EXPECT_EQ("HKLM\\Drivers\\BuiltIn\\RSN lacks the text values Dll and Prefix", said[1].text);
}

TEST_F(DriverHost, ALibraryWithoutTheEntryPointsIsRefused)
{
    EXPECT_EQ(1u, RunHost(L"C:\\windows\\system32\\kernel32.dll", L"quit"));
    std::vector<Said> said = Record();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ("no entry point RSN_Init", said[0].text);
}

}  // namespace
