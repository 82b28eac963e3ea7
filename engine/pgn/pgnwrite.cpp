#include "engine/pgn/pgnwrite.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/session/session.h"

namespace {

// The site and round of a game at home: unknown and not part of a tournament.
constexpr const char* SiteValue = "?";
constexpr const char* RoundValue = "-";

// Formatted output into a fixed buffer that never runs past its end; the text
// stays zero-terminated and a piece that does not fit is not written at all.
struct BoundedText {
    char* buffer;
    size_t size;
    size_t length;

    size_t room() const { return size > length ? size - length : 0; }

    bool add(const char* format, ...) {
        if (room() == 0) return false;
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(buffer + length, room(), format, args);
        va_end(args);
        if (n < 0 || static_cast<size_t>(n) >= room()) {
            buffer[length] = '\0';
            return false;
        }
        length += n;
        return true;
    }
};

struct GameTags {
    long month, day, year, hour, minute, second;
    const char* white;
    const char* black;
    bool setUp;
    char fen[128];
};

// The en-passant field of a game's start: its square when a pawn of the side to
// move can take there, so that a first move taking en passant replays from the
// text; otherwise no square (the field writeFen always writes).
void writeStartEnPassant(char* fen, int n, const Position& start) {
    const int ep = start.epSquare;
    if (ep >= BoardSquares || !fileOf[ep] || fen[n - 1] != '-') return;
    const int pawn = start.sideToMove == White ? WhitePawn : BlackPawn;
    const int from = start.sideToMove == White ? ep + StepSouth : ep + StepNorth;
    if (start.board[from + StepWest] != pawn && start.board[from + StepEast] != pawn) return;
    fen[n - 1] = static_cast<char>('a' + fileOf[ep] - 1);
    fen[n] = static_cast<char>('0' + rankOf[ep]);
    fen[n + 1] = '\0';
}

GameTags gameTags() {
    GameTags tags{};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    tags.month = local.tm_mon + 1;
    tags.day = local.tm_mday;
    tags.year = local.tm_year + 1900;
    tags.hour = local.tm_hour;
    tags.minute = local.tm_min;
    tags.second = local.tm_sec;
    // Player names by the side the engine plays.
    tags.white = tags.black = engineSession.opponentName;
    if (engineSession.engineColour == 1) tags.black = engineSession.engineName;
    if (engineSession.engineColour == 2) tags.white = engineSession.engineName;
    // A game that did not start from the initial position carries its start.
    Position initial;
    setInitialPosition(initial);
    tags.setUp = std::memcmp(&initial, &engineSession.startPosition, sizeof(Position)) != 0;
    if (tags.setUp) {
        // PGN wants all six fields; the counters are those of the start as the engine holds it.
        const Position& start = engineSession.startPosition;
        int n = writeFen(tags.fen, start);
        writeStartEnPassant(tags.fen, n, start);
        n = static_cast<int>(std::strlen(tags.fen));
        std::snprintf(tags.fen + n, sizeof tags.fen - n, " %d %d", start.ply - start.lastIrreversiblePly,
                      (start.ply + 1) / 2);
    }
    return tags;
}

// The long text of ply index i, at most 7 characters; empty for a ply never written.
void longTextOf(int i, char* text) {
    std::memcpy(text, gameRecord.longTexts[i], 7);
    text[7] = '\0';
}

int recordedPlies() {
    int plies = gameRecord.plyCount;
    if (plies > RecordCapacity) plies = RecordCapacity;
    return plies < 0 ? 0 : plies;
}

} // namespace

const char* resultText(int result) {
    switch (result) {
    case 1:
        return "1-0";
    case 2:
        return "0-1";
    case 3:
        return "1/2-1/2";
    default:
        return "*";
    }
}

int writeGameText(int result, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    buffer[0] = '\0';
    BoundedText out{buffer, bufferSize, 0};
    GameTags tags = gameTags();
    bool ok = out.add("[Event \"Tavisk Game\"]\r\n") && out.add("[Site \"%s\"]\r\n", SiteValue) &&
              out.add("[Date \"%04ld.%02ld.%02ld\"]\r\n", tags.year, tags.month, tags.day) &&
              out.add("[Round \"%s\"]\r\n", RoundValue) &&
              out.add("[Time \"%.2ld:%.2ld:%.2ld\"]\r\n", tags.hour, tags.minute, tags.second) &&
              out.add("[TimeControl \"%ld+%ld\"]\r\n", static_cast<long>(engineSession.baseMinutes) * 60,
                      static_cast<long>(engineSession.increment)) &&
              out.add("[CurrentPly \"%ld\"]\r\n", static_cast<long>(engineSession.gamePosition.ply)) &&
              out.add("[White \"%s\"]\r\n", tags.white) && out.add("[Black \"%s\"]\r\n", tags.black) &&
              out.add("[Result \"%s\"]\r\n", resultText(result));
    if (ok && tags.setUp) ok = out.add("[FEN \"%s\"]\r\n", tags.fen) && out.add("[SetUp \"1\"]\r\n");
    if (ok) ok = out.add("\r\n");
    if (!ok) return static_cast<int>(out.length);
    // One ply per line; a ply is written only while the closing lines still fit after it.
    const size_t closing = 4;
    int plies = recordedPlies();
    for (int i = 0; i < plies; ++i) {
        char text[8];
        longTextOf(i, text);
        char line[32];
        if (i % 2 == 0) {
            std::snprintf(line, sizeof line, "%d. %s \r\n", i / 2 + 1, text);
        } else {
            std::snprintf(line, sizeof line, "%s \r\n", text);
        }
        if (std::strlen(line) + closing >= out.room()) break;
        out.add("%s", line);
    }
    out.add("\r\n\r\n");
    return static_cast<int>(out.length);
}

int appendEngineGame(int result, const char* fileName, int append) {
    FILE* file = std::fopen(fileName, append == 1 ? "a" : "w");
    if (!file) return 0;
    GameTags tags = gameTags();
    std::fprintf(file, "[Event \"Markvane Game\"]\n");
    std::fprintf(file, "[Site \"%s\"]\n", SiteValue);
    std::fprintf(file, "[Date \"%04ld.%02ld.%02ld\"]\n", tags.year, tags.month, tags.day);
    std::fprintf(file, "[Round \"%s\"]\n", RoundValue);
    std::fprintf(file, "[Time \"%.2d:%.2d:%.2d\"]\n", static_cast<int>(tags.hour),
                 static_cast<int>(tags.minute), static_cast<int>(tags.second));
    std::fprintf(file, "[TimeControl \"%d+%d\"]\n", engineSession.baseMinutes * 60,
                 static_cast<int>(engineSession.increment));
    std::fprintf(file, "[CurrentPly \"%d\"]\n", static_cast<int>(engineSession.gamePosition.ply));
    std::fprintf(file, "[White \"%s\"]\n", tags.white);
    std::fprintf(file, "[Black \"%s\"]\n", tags.black);
    std::fprintf(file, "[Result \"%s\"]\n", resultText(result));
    if (tags.setUp) {
        std::fprintf(file, "[FEN \"%s\"]\n", tags.fen);
        std::fprintf(file, "[SetUp \"1\"]\n");
    }
    std::fprintf(file, "\n");
    // A move number, White's ply and Black's ply on one line.
    int plies = recordedPlies();
    for (int i = 0; i < plies; ++i) {
        char text[8];
        longTextOf(i, text);
        if (i % 2 == 0) std::fprintf(file, "%d. ", i / 2 + 1);
        std::fprintf(file, "%s ", text);
        if (i % 2 == 1) std::fprintf(file, "\n");
    }
    // The result ends the moves, as every reader expects.
    std::fprintf(file, "%s\n\n", resultText(result));
    std::fclose(file);
    return 1;
}
