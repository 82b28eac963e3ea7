#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

#include "game/settings.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tavisk_settings_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        path = (folder / "options.cfg").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    void writeBytes(const std::vector<std::uint8_t>& bytes)
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::vector<std::uint8_t> readBytes()
    {
        std::vector<std::uint8_t> bytes;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            return bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(f);
        return bytes;
    }
    static void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    fs::path folder;
    std::string path;
};

TEST_F(SettingsFile, MissingOrEmptyFileGivesDefaultsAndFails)
{
    Settings s;
    EXPECT_FALSE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelTurnIn);
    EXPECT_EQ(s.levelValue, 1000u);
    writeBytes({});
    EXPECT_FALSE(loadSettings(s, path.c_str()));
}

TEST_F(SettingsFile, FullBlockIsLittleEndian)
{
    std::vector<std::uint8_t> bytes(36, 0);
    putU32(bytes, 0, 2);
    putU32(bytes, 4, 600000);
    bytes[8] = 0;
    bytes[9] = 1;
    bytes[10] = 0;
    bytes[11] = 0;
    putU32(bytes, 12, 1);
    putU32(bytes, 16, 3);
    putU32(bytes, 24, 4);
    for (int i = 28; i < 36; ++i)
        bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    writeBytes(bytes);

    Settings s;
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelGameIn);  // "Game In", "10 min"
    EXPECT_EQ(s.levelValue, 600000u);
    EXPECT_EQ(s.showLegalMoves, 0);
    EXPECT_EQ(s.showLastMove, 1);
    EXPECT_EQ(s.userPlaysWhite, 0);
    EXPECT_EQ(s.isometric, 1u);
    EXPECT_EQ(s.orientation, 3);
    EXPECT_EQ(s.language, 4);

    std::uint8_t image[SettingsSize];
    encodeSettings(s, image);
    EXPECT_EQ(0, std::memcmp(image, bytes.data(), SettingsSize));
}

TEST_F(SettingsFile, ShortFileKeepsDefaultsOfTheTail)
{
    std::vector<std::uint8_t> bytes(12, 0);
    putU32(bytes, 0, 0);
    putU32(bytes, 4, 7);
    bytes[11] = 0;
    writeBytes(bytes);
    Settings s;
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelRank);
    EXPECT_EQ(s.levelValue, 7u);
    EXPECT_EQ(s.showLegalMoves, 0);
    EXPECT_EQ(s.userPlaysWhite, 0);
    EXPECT_EQ(s.isometric, 0u);
    EXPECT_EQ(s.orientation, 0);
    EXPECT_EQ(s.skin, 0u);
    EXPECT_EQ(s.language, 0);
}

TEST_F(SettingsFile, DamagedFieldsFallBackToDefaults)
{
    struct Case {
        std::size_t offset;
        std::uint32_t value;
        std::uint32_t modeBefore;  // level mode written with the value (for level cases)
    };
    // Each row spoils one field of an otherwise good block.
    const Case cases[] = {
        {24, 7, 0},          // language above 6
        {24, 0xFFFFFFFF, 0}, // negative language
        {20, 3, 0},          // skin above 2
        {0, 3, 0},           // level mode above 2
        {4, 10, 0},          // level index above 9 in mode 0
        {4, 1234, 1},        // a per-move time that is not in the table
        {12, 2, 0},          // isometric neither 0 nor 1
        {16, 9, 0},          // orientation beyond the quarter turns
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(36, 0);
        putU32(bytes, 0, c.modeBefore);
        putU32(bytes, 4, c.modeBefore == 0 ? 5 : 2000);
        bytes[8] = bytes[9] = bytes[10] = bytes[11] = 1;
        putU32(bytes, 20, 1);   // skin Blue
        putU32(bytes, 24, 2);   // Italian
        putU32(bytes, c.offset, c.value);
        writeBytes(bytes);
        Settings s;
        ASSERT_TRUE(loadSettings(s, path.c_str()));
        EXPECT_LE(s.language, 6) << c.offset;
        EXPECT_GE(s.language, 0) << c.offset;
        EXPECT_LE(s.skin, 2u) << c.offset;
        EXPECT_LE(s.isometric, 1u) << c.offset;
        EXPECT_GE(s.orientation, 0) << c.offset;
        EXPECT_LE(s.orientation, 3) << c.offset;
        if (c.offset <= 4) {
            EXPECT_EQ(s.levelMode, LevelTurnIn) << c.offset;
            EXPECT_EQ(s.levelValue, 1000u) << c.offset;
            EXPECT_EQ(s.skin, 1u);       // the good fields stay
            EXPECT_EQ(s.language, 2);
        } else if (c.offset == 24) {
            EXPECT_EQ(s.language, 0);
            EXPECT_EQ(s.skin, 1u);
        } else if (c.offset == 20) {
            EXPECT_EQ(s.skin, 0u);
            EXPECT_EQ(s.language, 2);
        }
    }
}

TEST_F(SettingsFile, SaveKeepsBytesBeyondTheBlock)
{
    std::vector<std::uint8_t> bytes(40, 0);
    putU32(bytes, 0, 1);
    putU32(bytes, 4, 3000);
    bytes[36] = 0xDE;
    bytes[37] = 0xAD;
    bytes[38] = 0xBE;
    bytes[39] = 0xEF;
    writeBytes(bytes);
    Settings s;
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelValue, 3000u);
    s.showLegalMoves ^= 1;  // toggled twice: back to the old value
    s.showLegalMoves ^= 1;
    s.language = 3;
    ASSERT_TRUE(saveSettings(s, path.c_str()));

    const std::vector<std::uint8_t> after = readBytes();
    ASSERT_EQ(after.size(), 40u);
    EXPECT_EQ(after[8], bytes[8]);
    EXPECT_EQ(after[24], 3);
    EXPECT_EQ(after[36], 0xDE);
    EXPECT_EQ(after[39], 0xEF);
    EXPECT_FALSE(fs::exists(path + ".new"));

    Settings again;
    ASSERT_TRUE(loadSettings(again, path.c_str()));
    EXPECT_EQ(0, std::memcmp(&again, &s, sizeof s));
}

TEST_F(SettingsFile, SaveCreatesAMissingFileAndFailsCleanly)
{
    Settings s;
    setDefaultSettings(s);
    ASSERT_TRUE(saveSettings(s, path.c_str()));
    EXPECT_EQ(readBytes().size(), 36u);

    // A folder that does not exist: nothing written, failure reported.
    const std::string nowhere = (folder / "missing" / "options.cfg").string();
    EXPECT_FALSE(saveSettings(s, nowhere.c_str()));
}

}  // namespace
