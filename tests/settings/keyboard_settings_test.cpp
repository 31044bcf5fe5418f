// The settings record and its file, in-process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>

#include "keyboard_settings.h"
#include "settings_file.h"

using namespace test_support;

namespace {

class KeyboardSettingsFile : public ::testing::Test {
protected:
    void SetUp() override { RemoveFile(SettingsFilePath()); }
    void TearDown() override { RemoveFile(SettingsFilePath()); }

    // A record loaded from the file as it is now; its memory starts dirty, as
    // the heap may hand it out.
    static std::unique_ptr<KeyboardSettings> Loaded()
    {
        void* memory = ::operator new(sizeof(KeyboardSettings));
        // Raw memory, before the record is constructed in it.
        // cppcheck-suppress memsetClass
        std::memset(memory, 0xA5, sizeof(KeyboardSettings));
        std::unique_ptr<KeyboardSettings> settings(new (memory) KeyboardSettings(nullptr));
        settings->Load();
        return settings;
    }

    static std::string Bytes(const SettingsFileImage& image)
    {
        return std::string(reinterpret_cast<const char*>(&image), sizeof(image));
    }

    static std::string Zeros(size_t count) { return std::string(count, '\0'); }
};

TEST_F(KeyboardSettingsFile, MissingFileGivesDefaultsAndWritesNothing)
{
    auto settings = Loaded();
    std::string expected = Zeros(sizeof(SettingsFileImage));
    expected[0] = 'D';
    EXPECT_EQ(expected, Bytes(*settings));
    EXPECT_FALSE(FileExists(SettingsFilePath()));
}

TEST_F(KeyboardSettingsFile, SaveWritesTheWholeImageAsLoaded)
{
    SettingsFileImage image = FullImage(12, 3);
    WriteSettingsFile(image);
    auto settings = Loaded();
    EXPECT_EQ(Bytes(image), Bytes(*settings));

    settings->repeatDelayCode = 20;
    settings->repeatRate = 0;
    settings->Save();
    image.repeatDelayCode = 20;
    image.repeatRate = 0;
    EXPECT_EQ(Bytes(image), ReadSettingsFile());
}

TEST_F(KeyboardSettingsFile, ShortFileLeavesZerosInTheUnreadPart)
{
    SettingsFileImage image = FullImage(16, 2);
    const size_t shortSize = 1000;
    WriteSettingsFile(&image, shortSize);
    auto settings = Loaded();
    EXPECT_EQ(Bytes(image).substr(0, shortSize) + Zeros(sizeof(image) - shortSize),
              Bytes(*settings));

    settings->Save();
    EXPECT_EQ(sizeof(SettingsFileImage), ReadSettingsFile().size());
}

TEST_F(KeyboardSettingsFile, EmptyFileGivesAnAllZeroRecord)
{
    WriteSettingsFile("", 0);
    EXPECT_EQ(Zeros(sizeof(SettingsFileImage)), Bytes(*Loaded()));
}

TEST_F(KeyboardSettingsFile, LongerFileIsReadUpToTheImageSize)
{
    SettingsFileImage image = FullImage(8, 1);
    std::string longer = Bytes(image) + std::string(500, 'x');
    WriteSettingsFile(longer.data(), longer.size());
    EXPECT_EQ(Bytes(image), Bytes(*Loaded()));
}

TEST_F(KeyboardSettingsFile, FileHeldOpenWithoutSharingGivesDefaultsAndSaveFailsSilently)
{
    SettingsFileImage image = FullImage(8, 1);
    WriteSettingsFile(image);
    HANDLE held = CreateFileW(SettingsFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    auto settings = Loaded();
    EXPECT_STREQ(L"D", settings->tag);
    EXPECT_EQ(0, settings->repeatDelayCode);
    settings->Save();
    CloseHandle(held);
    EXPECT_EQ(Bytes(image), ReadSettingsFile());
}

TEST_F(KeyboardSettingsFile, ReadOnlyFileLoadsButIsNotOverwritten)
{
    SettingsFileImage image = FullImage(4, 4);
    WriteSettingsFile(image);
    if (!MakeSettingsFileReadOnly()) {
        GTEST_SKIP() << "read-only files stay writable here (run by the superuser)";
    }

    auto settings = Loaded();
    EXPECT_EQ(Bytes(image), Bytes(*settings));
    settings->repeatRate = 0;
    settings->Save();
    EXPECT_EQ(Bytes(image), ReadSettingsFile());
}

}  // namespace
