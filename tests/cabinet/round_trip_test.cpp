// The cabinet that the build makes, read back with the cabinet library and
// its installation data decoded: it holds what the description says, field by
// field, each file byte for byte, under the format's member names.
#include "cabinet_file.h"
#include "cabinet_test.h"
#include "installation_cabinet.h"

using namespace test_support;

namespace {

// Every field of the cabinet but the files' sources, a line each.
std::vector<std::pair<std::string, std::wstring>> Fields(const Cabinet& c)
{
    auto number = [](DWORD value) {
        return std::to_wstring(value);
    };
    std::vector<std::pair<std::string, std::wstring>> fields = {
        {"provider", c.provider},
        {"application", c.appName},
        {"installation folder", c.installDir + L" " + c.installFolder},
        {"processor", number(c.processorType)},
        {"versions", number(c.versionMinMajor) + L"." + number(c.versionMinMinor) + L"-" +
                         number(c.versionMaxMajor) + L"." + number(c.versionMaxMinor)},
        {"builds", number(c.buildMin) + L"-" + number(c.buildMax)},
    };
    for (const std::wstring& platform : c.unsupportedPlatforms) {
        fields.push_back({"unsupported platform", platform});
    }
    for (const CabinetFile& f : c.files) {
        fields.push_back({"file " + std::to_string(f.number),
                          f.folder + L" " + f.name + L" " + number(f.flags) + L" " + f.installed});
    }
    for (const CabinetShortcut& s : c.shortcuts) {
        fields.push_back({"shortcut", s.folder + L" " + s.name + L" " + s.path + L" " + s.target});
    }
    for (const CabinetRegistryValue& v : c.registryValues) {
        fields.push_back({"registry value", v.rootName + L"\\" + v.key + L" " + v.name + L" " +
                                                number(v.type) + L" " + v.text + L" " +
                                                number(v.number)});
    }
    return fields;
}

TEST(CabinetRoundTrip, HoldsWhatTheDescriptionSays)
{
    const Cabinet described = ProductDescription();
    std::wstring folder = BinFolder() + L"\\round-trip";
    CreateDirectoryW(folder.c_str(), nullptr);
    Cabinet decoded;
    std::wstring error;
    ASSERT_TRUE(OpenInstallationCabinet(ProductCabinetPath(), folder, &decoded, &error))
        << testing::PrintToString(error);

    auto expected = Fields(described), actual = Fields(decoded);
    ASSERT_EQ(expected.size(), actual.size());
    ASSERT_EQ(5u, described.files.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], actual[i]) << expected[i].first;
    }
    std::vector<std::string> members = {"TAVRINFO.000"};
    for (size_t i = 0; i < described.files.size(); ++i) {
        members.push_back(MemberName(described.files[i].name, described.files[i].number));
        EXPECT_EQ(ReadFileBytes(described.files[i].sourcePath),
                  ReadFileBytes(decoded.files[i].sourcePath))
            << members.back();
    }
    EXPECT_EQ(ReadFileBytes(described.hookLibraryPath), ReadFileBytes(decoded.hookLibraryPath));
    members.push_back("000SETUP.999");
    std::vector<CabinetMember> extracted;
    ASSERT_TRUE(ExtractCabinetFile(ProductCabinetPath(), folder, &extracted, &error));
    std::vector<std::string> names;
    for (const CabinetMember& member : extracted) {
        names.push_back(member.name);
        DeleteFileW(member.path.c_str());
    }
    EXPECT_EQ(members, names);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
