#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/boardstyle.h"
#include "game/clocks.h"
#include "game/settings.h"
#include "game/strength.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tavisk_settings_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        path = (folder / "options.cfg").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const Bytes& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    Bytes read() {
        Bytes bytes;
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
            std::fclose(f);
        }
        return bytes;
    }
    static void put(Bytes& bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    fs::path folder;
    std::string path;
};

TEST_F(SettingsFile, MissingEmptyShortAndFullFiles) {
    Settings s;
    EXPECT_FALSE(loadSettings(s, path.c_str())); // missing: defaults
    EXPECT_EQ(s.levelMode, LevelTurnIn);
    EXPECT_EQ(s.levelValue, 1000u);
    write({});
    EXPECT_FALSE(loadSettings(s, path.c_str())); // empty counts as missing

    // 12 bytes: level, aids and colour; the board style keeps its defaults.
    Bytes bytes(12, 0);
    put(bytes, 4, 7);
    write(bytes);
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelRank);
    EXPECT_EQ(s.levelValue, 7u);
    EXPECT_EQ(s.userPlaysWhite, 0);
    EXPECT_EQ(s.isometric, 0u);
    EXPECT_EQ(s.language, 0);

    // 36 bytes, little-endian: "Game In", "10 min".
    bytes.assign(36, 0);
    put(bytes, 0, 2);
    put(bytes, 4, 600000);
    bytes[9] = 1;
    put(bytes, 12, 1);
    put(bytes, 16, 3);
    put(bytes, 24, 4);
    bytes[30] = 0xA5;
    write(bytes);
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelGameIn);
    EXPECT_EQ(s.levelValue, 600000u);
    EXPECT_EQ(s.showLegalMoves, 0);
    EXPECT_EQ(s.showLastMove, 1);
    EXPECT_EQ(s.isometric, 1u);
    EXPECT_EQ(s.orientation, 3);
    EXPECT_EQ(s.language, 4);
    std::uint8_t image[SettingsSize];
    encodeSettings(s, image);
    EXPECT_EQ(0, std::memcmp(image, bytes.data(), SettingsSize));

    // A beginner level is mode 3 with its index, in the same 36 bytes.
    put(bytes, 0, LevelNovice);
    put(bytes, 4, 2);
    write(bytes);
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    EXPECT_EQ(s.levelMode, LevelNovice);
    EXPECT_EQ(s.levelValue, 2u);
    ASSERT_TRUE(saveSettings(s, path.c_str()));
    EXPECT_EQ(read(), bytes);
}

TEST(LevelStrength, TheLadderRisesAndEveryLevelHasAFigure) {
    std::vector<int> ladder;
    for (std::uint32_t i = 0; i < 3; ++i) ladder.push_back(levelStrength(LevelNovice, i));
    for (std::uint32_t i = 0; i < 10; ++i) ladder.push_back(levelStrength(LevelRank, i));
    for (std::size_t i = 0; i < ladder.size(); ++i) {
        EXPECT_GT(ladder[i], 0) << i;
        EXPECT_EQ(ladder[i] % 50, 0) << i;
        if (i > 0) {
            EXPECT_GT(ladder[i], ladder[i - 1]) << i;
        }
    }
    int previous = 0;
    for (int i = 0; i < TimeTableSize; ++i) {
        const int rating = levelStrength(LevelTurnIn, static_cast<std::uint32_t>(perMoveTimes[i]));
        EXPECT_GE(rating, previous) << perMoveTimes[i];
        EXPECT_GT(levelStrength(LevelGameIn, static_cast<std::uint32_t>(gameTimes[i])), 0);
        previous = rating;
    }
    EXPECT_EQ(levelStrength(LevelNovice, 3), 0);
    EXPECT_EQ(levelStrength(LevelRank, 10), 0);
    EXPECT_EQ(levelStrength(7, 0), 0);
}

TEST_F(SettingsFile, DamagedFieldsFallBackToDefaults) {
    // Each row spoils one field of a good block (mode 0 level 5, Blue skin, Italian).
    const struct {
        std::size_t offset;
        std::uint32_t value, mode;
    } cases[] = {
        {24, 7, 0},   {24, 0xFFFFFFFF, 0}, // language above 6, negative
        {20, 3, 0},                        // skin above 2
        {0, 3, 0},                         // beginner mode with a level above 2
        {0, 4, 0},                         // level mode above 3
        {4, 10, 0},                        // level index above 9
        {4, 1234, 1},                      // a time per move not in the table
        {12, 2, 0},                        // isometric neither 0 nor 1
        {16, 9, 0},                        // orientation beyond the quarter turns
    };
    for (const auto& c : cases) {
        Bytes bytes(36, 0);
        put(bytes, 0, c.mode);
        put(bytes, 4, 5);
        put(bytes, 20, 1);
        put(bytes, 24, 2);
        put(bytes, c.offset, c.value);
        write(bytes);
        Settings s;
        ASSERT_TRUE(loadSettings(s, path.c_str()));
        const bool level = c.offset <= 4;
        EXPECT_EQ(s.levelMode, level ? LevelTurnIn : LevelRank) << c.offset;
        EXPECT_EQ(s.levelValue, level ? 1000u : 5u) << c.offset;
        EXPECT_EQ(s.skin, c.offset == 20 ? 0u : 1u) << c.offset;
        EXPECT_EQ(s.language, c.offset == 24 ? 0 : 2) << c.offset;
        EXPECT_EQ(s.isometric, 0u) << c.offset;
        EXPECT_EQ(s.orientation, 0) << c.offset;
    }
}

TEST_F(SettingsFile, SaveReplacesTheBlockAndKeepsTheRest) {
    Bytes bytes(40, 0);
    put(bytes, 0, 1);
    put(bytes, 4, 3000);
    bytes[36] = 0xDE;
    bytes[39] = 0xEF;
    write(bytes);
    Settings s;
    ASSERT_TRUE(loadSettings(s, path.c_str()));
    s.showLegalMoves ^= 1; // toggled twice: its old value
    s.showLegalMoves ^= 1;
    s.language = 3;
    ASSERT_TRUE(saveSettings(s, path.c_str()));
    const Bytes after = read();
    ASSERT_EQ(after.size(), 40u);
    EXPECT_EQ(after[8], bytes[8]);
    EXPECT_EQ(after[24], 3);
    EXPECT_EQ(after[36], 0xDE);
    EXPECT_EQ(after[39], 0xEF);
    EXPECT_FALSE(fs::exists(path + ".new"));
    Settings again;
    ASSERT_TRUE(loadSettings(again, path.c_str()));
    EXPECT_EQ(0, std::memcmp(&again, &s, sizeof s));

    // A file far too long to copy gets the block written over its start.
    Bytes huge(36 + (2 << 20), 0x5A);
    write(huge);
    ASSERT_TRUE(saveSettings(s, path.c_str()));
    const Bytes rewritten = read();
    ASSERT_EQ(rewritten.size(), huge.size());
    EXPECT_EQ(rewritten[24], 3);
    EXPECT_EQ(rewritten.back(), 0x5A);

    fs::remove(path); // a missing file is created with the block alone
    ASSERT_TRUE(saveSettings(s, path.c_str()));
    EXPECT_EQ(read().size(), 36u);
    const std::string nowhere = (folder / "missing" / "options.cfg").string();
    EXPECT_FALSE(saveSettings(s, nowhere.c_str()));
}

// Each board family keeps its own view: a style step per row, with the rotations the
// user made before it, and the view that results.
TEST(BoardStyles, EachFamilyKeepsItsOrientation) {
    enum Style { Wood, Blue, BW, Iso };
    const struct {
        int rotationsBefore; // "Rotate board" before the style command
        Style style;
        bool changes;
        std::uint32_t isometric, skin;
        std::int32_t orientation;
    } steps[] = {
        {1, Blue, true, 0, 1, 1},  // the turned flat board stays turned
        {0, Wood, true, 0, 0, 1},  // Wood too
        {0, Iso, true, 1, 0, 0},   // the isometric board has not been turned yet
        {3, Blue, true, 0, 1, 1},  // three quarter turns, then the flat board as it was left
        {0, Blue, false, 0, 1, 1}, // the style shown: nothing changes
        {0, Iso, true, 1, 0, 3},   // the isometric board as it was left
        {1, BW, true, 0, 2, 1},    // a fourth quarter turn, back to 0 for the isometric board
        {1, Iso, true, 1, 0, 0},   // the flat board turned back first
        {0, Wood, true, 0, 0, 0},
    };
    Settings settings;
    setDefaultSettings(settings);
    BoardTurns turns{0, 0};
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        for (int i = 0; i < step.rotationsBefore; ++i)
            settings.orientation = settings.isometric ? (settings.orientation + 1) % 4 : !settings.orientation;
        const std::uint32_t skin = step.style == Blue ? 1 : step.style == BW ? 2 : 0;
        EXPECT_EQ(chooseBoardStyle(settings, turns, step.style == Iso, skin), step.changes);
        EXPECT_EQ(settings.isometric, step.isometric);
        EXPECT_EQ(settings.skin, step.skin);
        EXPECT_EQ(settings.orientation, step.orientation);
    }
    // Turns read from a damaged file are held to their family's range.
    settings.isometric = 1;
    settings.orientation = 7;
    const BoardTurns saved = currentTurns(settings, {5, 0});
    EXPECT_EQ(saved.isometric, 3);
    EXPECT_EQ(flatTurn(saved.flat), 1);
    EXPECT_EQ(isometricTurn(-1), 3);
}

} // namespace
