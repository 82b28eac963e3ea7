#pragma once
// The user's choices that survive from one run to the next, stored byte for
// byte as "options.cfg" beside the program: a 36-byte little-endian block.

#include <cstddef>
#include <cstdint>

constexpr int SettingsSize = 36;
constexpr const char* SettingsFileName = "options.cfg";

// Level modes.
constexpr std::uint32_t LevelRank = 0;   // fixed search depth, value = level index 0..9
constexpr std::uint32_t LevelTurnIn = 1; // time per engine move, value in ms
constexpr std::uint32_t LevelGameIn = 2; // time for the whole game, value in ms
constexpr std::uint32_t LevelNovice = 3; // beginner level below Rank 1, value 0..2

// Offsets of the fields in the file image.
//   0 u32 levelMode      4 u32 levelValue
//   8 u8 showLegalMoves  9 u8 showLastMove  10 u8 tutorMode  11 u8 userPlaysWhite
//  12 u32 isometric     16 i32 orientation  20 u32 skin      24 i32 language
//  28 8 bytes reserved (written back as read)
struct Settings {
    std::uint32_t levelMode;     // 0 Rank, 1 Turn In, 2 Game In, 3 Novice
    std::uint32_t levelValue;    // mode 0: level index 0..9; modes 1, 2: milliseconds; mode 3: 0..2
    std::uint8_t showLegalMoves; // mark destinations and movable pieces
    std::uint8_t showLastMove;   // mark the last move played
    std::uint8_t tutorMode;      // warn after a weak move
    std::uint8_t userPlaysWhite; // non-zero: the user plays White
    std::uint32_t isometric;     // 1 isometric board, 0 flat board
    std::int32_t orientation;    // flat: 0 White at the bottom, else turned; isometric: 0..3
    std::uint32_t skin;          // flat skin 0 Wood, 1 Blue, 2 B/W
    std::int32_t language;       // user-interface language 0..6
    std::uint8_t reserved[8];    // not interpreted; kept as read
};
static_assert(sizeof(Settings) == SettingsSize, "the settings block is 36 bytes");
static_assert(offsetof(Settings, isometric) == 12 && offsetof(Settings, language) == 24 &&
              offsetof(Settings, reserved) == 28);

// Zero block with the defaults: one second per move, user White, all aids on.
void setDefaultSettings(Settings& settings);

// The file image of the block, little-endian whatever the host.
void encodeSettings(const Settings& settings, std::uint8_t bytes[SettingsSize]);
// Overlays the first `count` bytes (at most 36) on the block; the rest keep
// their values.
void decodeSettings(const std::uint8_t* bytes, std::size_t count, Settings& settings);
// Puts back the defaults of fields a damaged file left out of range: the
// level pair, board style, orientation, skin and language.
void repairSettings(Settings& settings);

// Fills the block from the file at `path`: defaults, then up to 36 bytes of
// the file over them, then damaged fields repaired. Returns false (the block
// holds the defaults) when the file is missing or empty.
bool loadSettings(Settings& settings, const char* path);
// Writes the block at the start of the file, keeping whatever the file holds
// after byte 35: the new content goes to a file beside it that is then
// renamed over the old one, so a failed write leaves the old file whole.
// Returns false when nothing could be written.
bool saveSettings(const Settings& settings, const char* path);
