#include "game/settings.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "game/clocks.h"
#include "game/gamefiles.h"

namespace {

// Bytes after the block that a save copies into the new file at most.
constexpr std::size_t MaxKeptTail = 1 << 20;

void putU32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t getU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool levelIsValid(std::uint32_t mode, std::uint32_t value) {
    switch (mode) {
    case LevelRank:
        return value <= 9;
    case LevelTurnIn:
        return timeTableIndex(perMoveTimes, value) >= 0;
    case LevelGameIn:
        return timeTableIndex(gameTimes, value) >= 0;
    case LevelNovice:
        return value <= 2;
    default:
        return false;
    }
}

} // namespace

void setDefaultSettings(Settings& settings) {
    std::memset(&settings, 0, sizeof settings);
    settings.isometric = 0;
    settings.levelMode = LevelTurnIn;
    settings.levelValue = 1000;
    settings.userPlaysWhite = 1;
    settings.showLastMove = 1;
    settings.showLegalMoves = 1;
    settings.tutorMode = 1;
}

void encodeSettings(const Settings& s, std::uint8_t bytes[SettingsSize]) {
    putU32(bytes + 0, s.levelMode);
    putU32(bytes + 4, s.levelValue);
    bytes[8] = s.showLegalMoves;
    bytes[9] = s.showLastMove;
    bytes[10] = s.tutorMode;
    bytes[11] = s.userPlaysWhite;
    putU32(bytes + 12, s.isometric);
    putU32(bytes + 16, static_cast<std::uint32_t>(s.orientation));
    putU32(bytes + 20, s.skin);
    putU32(bytes + 24, static_cast<std::uint32_t>(s.language));
    std::memcpy(bytes + 28, s.reserved, sizeof s.reserved);
}

void decodeSettings(const std::uint8_t* bytes, std::size_t count, Settings& s) {
    // Overlay the given bytes on the current image, then read the fields back.
    std::uint8_t image[SettingsSize];
    encodeSettings(s, image);
    std::memcpy(image, bytes, count < SettingsSize ? count : SettingsSize);
    s.levelMode = getU32(image + 0);
    s.levelValue = getU32(image + 4);
    s.showLegalMoves = image[8];
    s.showLastMove = image[9];
    s.tutorMode = image[10];
    s.userPlaysWhite = image[11];
    s.isometric = getU32(image + 12);
    s.orientation = static_cast<std::int32_t>(getU32(image + 16));
    s.skin = getU32(image + 20);
    s.language = static_cast<std::int32_t>(getU32(image + 24));
    std::memcpy(s.reserved, image + 28, sizeof s.reserved);
}

void repairSettings(Settings& s) {
    Settings defaults;
    setDefaultSettings(defaults);
    // The level is a pair: a mode with a value that belongs to another mode
    // (or to none) would give the engine a meaningless limit.
    if (!levelIsValid(s.levelMode, s.levelValue)) {
        s.levelMode = defaults.levelMode;
        s.levelValue = defaults.levelValue;
    }
    if (s.isometric > 1) s.isometric = defaults.isometric;
    if (s.orientation < 0 || s.orientation > 3) s.orientation = defaults.orientation;
    if (s.skin > 2) s.skin = defaults.skin;
    if (s.language < 0 || s.language > 6) s.language = defaults.language;
}

bool loadSettings(Settings& settings, const char* path) {
    setDefaultSettings(settings);
    if (!fileIsPresent(path)) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::uint8_t bytes[SettingsSize];
    const std::size_t count = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    decodeSettings(bytes, count, settings);
    repairSettings(settings);
    return true;
}

bool saveSettings(const Settings& settings, const char* path) {
    std::uint8_t block[SettingsSize];
    encodeSettings(settings, block);
    // Keep whatever the installed file holds beyond the block.
    std::vector<std::uint8_t> content(block, block + SettingsSize);
    if (std::FILE* old = std::fopen(path, "rb")) {
        std::uint8_t chunk[4096];
        std::vector<std::uint8_t> tail;
        std::size_t count, total = 0;
        while ((count = std::fread(chunk, 1, sizeof chunk, old)) > 0) {
            for (std::size_t i = 0; i < count; ++i, ++total)
                if (total >= SettingsSize) tail.push_back(chunk[i]);
            if (tail.size() > MaxKeptTail) break;
        }
        std::fclose(old);
        if (tail.size() > MaxKeptTail) {
            // Far too long to copy: the block is written over the start in place.
            std::FILE* file = std::fopen(path, "r+b");
            if (!file) return false;
            const bool written = std::fwrite(block, 1, SettingsSize, file) == SettingsSize;
            return std::fclose(file) == 0 && written;
        }
        content.insert(content.end(), tail.begin(), tail.end());
    }
    return replaceFile(path, content.data(), content.size());
}
