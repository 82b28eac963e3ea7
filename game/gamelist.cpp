#include "game/gamelist.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/pgn/pgnread.h"

namespace {

// The reader fills a missing name or result with "X".
std::string shown(const char* value) {
    return std::strcmp(value, "X") == 0 ? "?" : value;
}

bool holdsText(const char* text) {
    for (const char* c = text; *c; ++c)
        if (static_cast<unsigned char>(*c) > ' ') return true;
    return false;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::vector<GameListEntry> listGames(const char* path) {
    std::vector<GameListEntry> games;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) return games;
    std::vector<char> buffer(GameBufferSize);
    GameHeader header;
    int more = 1;
    while (more) {
        const long start = std::ftell(file.get());
        more = readNextGame(file.get(), buffer.data(), header);
        const long end = std::ftell(file.get());
        // A game is there when it has a tag or some move text.
        const bool tagged = header.white[0] != 'X' || header.black[0] != 'X' || header.event[0] ||
                            header.date[0] || header.fen[0] || header.result[0] != 'X';
        if (!tagged && !holdsText(buffer.data())) continue;
        games.push_back({start, end, shown(header.white), shown(header.black), shown(header.result),
                         header.date, header.event});
        // A reader that did not get on in the file would find this game for ever.
        if (end <= start) break;
    }
    return games;
}

std::string gameTextAt(const char* path, const GameListEntry& game, std::size_t limit) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file || game.end <= game.start || std::fseek(file.get(), game.start, SEEK_SET) != 0) return {};
    std::size_t length = static_cast<std::size_t>(game.end - game.start);
    if (length > limit) length = limit;
    std::string text(length, '\0');
    text.resize(std::fread(text.data(), 1, length, file.get()));
    return text;
}
