#include "engine/pgn/pgnread.h"

#include <cstdio>
#include <cstring>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/session/session.h"

namespace {

// Blanks and control characters separate tokens; bytes 128 and above count as
// control characters, as they read negative.
bool isSeparator(char c) {
    return c == ' ' || static_cast<signed char>(c) <= 13;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Copies the value after key (up to the next quote, the end of the line, or the
// field's capacity) into field.
void copyTagValue(const char* line, const char* key, char* field, size_t size) {
    const char* found = std::strstr(line, key);
    if (!found) return;
    const char* value = found + std::strlen(key);
    size_t n = 0;
    while (value[n] != '\0' && value[n] != '"' && n + 1 < size) {
        field[n] = value[n];
        ++n;
    }
    field[n] = '\0';
}

// The cursor of the move reader over a zero-terminated text of known length.
struct MoveCursor {
    const char* text;
    int length;
    int at; // -1 before the first character

    char current() const { return at >= 0 && at < length ? text[at] : '\0'; }
    bool atEnd() const { return at >= length; }

    // Skips a nested section from open to its matching close; the cursor ends on
    // the character after it (or at the end of the text).
    void skipNested(char open, char close) {
        int depth = 0;
        while (at < length) {
            char c = text[at++];
            if (c == open) {
                ++depth;
            } else if (c == close && --depth == 0) {
                return;
            }
        }
    }

    // One step: advance one character, then skip a glyph, a variation, a bracketed
    // section and a comment, each only when it starts right there, in that order.
    void step() {
        if (at < length) ++at;
        if (current() == '$') {
            ++at;
            while (at < length && isDigit(text[at])) ++at;
        }
        if (current() == '(') skipNested('(', ')');
        if (current() == '[') skipNested('[', ']');
        if (current() == '{') skipNested('{', '}');
    }

    void stepOverSeparators() {
        while (!atEnd() && isSeparator(current())) step();
    }

    // Reads a token at the cursor: up to a separator, MoveTokenSize characters or
    // the end. With skipDots, a '.' restarts the token after the dots and blanks
    // that follow it ("1... e5", "12...Nf6").
    void readToken(char* token, bool skipDots) {
        int n = 0;
        while (!atEnd() && n < MoveTokenSize) {
            char c = text[at];
            if (isSeparator(c)) break;
            if (skipDots && c == '.') {
                while (!atEnd() && (current() == '.' || isSeparator(current()))) step();
                n = 0;
                continue;
            }
            token[n++] = c;
            ++at;
        }
        token[n] = '\0';
    }
};

struct PlayState {
    Position* position;
    GameRecord* record;
    int maxPlies;
    int played;
    PlayedMoveHook hook;
    void* context;
};

void playToken(const char* token, PlayState& state) {
    if (token[0] == '\0' || state.played >= state.maxPlies) return;
    int recordFlag = state.record ? 1 : 0;
    if (playMoveText(token, *state.position, recordFlag, state.record)) {
        ++state.played;
        if (state.hook) state.hook(*state.position, state.context);
    }
}

} // namespace

void clearHeader(GameHeader& header) {
    std::memset(&header, 0, sizeof header);
    std::strcpy(header.white, "X");
    std::strcpy(header.black, "X");
    std::strcpy(header.result, "X");
    std::strcpy(header.timeControl, "X");
    header.currentPly = -1;
}

void readTagLine(const char* text, int length, GameHeader& header) {
    char line[TagLineSize];
    int n = length < TagLineSize - 1 ? length : TagLineSize - 1;
    if (n < 0) n = 0;
    std::memcpy(line, text, n);
    line[n] = '\0';
    if (std::strstr(line, "Current Ply")) {
        int ply;
        if (std::sscanf(line, "[Current Ply \"%d\"]", &ply) == 1) header.currentPly = ply;
    }
    copyTagValue(line, "White \"", header.white, sizeof header.white);
    copyTagValue(line, "Black \"", header.black, sizeof header.black);
    copyTagValue(line, "Result \"", header.result, sizeof header.result);
    copyTagValue(line, "Event \"", header.event, sizeof header.event);
    copyTagValue(line, "[Date \"", header.date, sizeof header.date); // not "EventDate"
    copyTagValue(line, "TimeControl \"", header.timeControl, sizeof header.timeControl);
    copyTagValue(line, "FEN \"", header.fen, sizeof header.fen);
}

void readTags(const char* text, GameHeader& header) {
    const char* line = text;
    for (;;) {
        if (line[0] != '[') return;
        // A line ends at a CR, or before an LF; the next one starts two characters on.
        int end = 0;
        while (end < LineScanLimit && line[end] != '\0' && line[end] != '\r' && line[end + 1] != '\n') {
            ++end;
        }
        readTagLine(line, end, header);
        if (line[end] == '\0' || end >= LineScanLimit) return;
        if (line[end + 1] == '\0') return;
        line += end + 2;
    }
}

namespace {

// Reads one line of the file into line (at most limit characters; the rest of an
// overlong line is read and dropped). Returns its length, -1 at the end of the file.
int readFileLine(FILE* file, char* line, int limit) {
    int n = 0;
    int c = std::fgetc(file);
    if (c == EOF) return -1;
    while (c != EOF && c != '\n') {
        if (n < limit) line[n++] = static_cast<char>(c == 0 ? ' ' : c);
        c = std::fgetc(file);
    }
    line[n] = '\0';
    return n;
}

} // namespace

int readNextGame(FILE* file, char* buffer, GameHeader& header) {
    clearHeader(header);
    buffer[0] = '\0';
    // Tag lines, read into the game buffer, which the move text overwrites afterwards.
    int length;
    for (;;) {
        length = readFileLine(file, buffer, GameTextSize);
        if (length < 0) {
            buffer[0] = '\0';
            return 0;
        }
        if (buffer[0] != '[') break;
        readTagLine(buffer, length, header);
    }
    // The first line that is not a tag is normally the empty line; a game written
    // without one keeps its first line of moves.
    int n = length;
    if (n < GameTextSize) buffer[n++] = '\n';
    bool full = n >= GameTextSize;
    // The last six characters read, and which of them went into the buffer, to find
    // the next game's "[Even(t)". A game longer than the buffer is cut there, and the
    // reader goes on to the next game instead of giving up on the file.
    char recent[6] = {0, 0, 0, 0, 0, 0};
    unsigned stored = 0; // bit k: recent[5 - k] was stored
    for (;;) {
        int c = std::fgetc(file);
        if (c == EOF) break;
        if (c == 0) c = ' ';
        std::memmove(recent, recent + 1, 5);
        recent[5] = static_cast<char>(c);
        stored <<= 1;
        if (!full) {
            buffer[n++] = static_cast<char>(c);
            full = n >= GameTextSize;
            stored |= 1;
        }
        if (std::memcmp(recent, "[Even", 5) == 0) {
            // End the text before the next game's tag and leave the file at its '['.
            for (int k = 0; k < 6; ++k) {
                if (stored & (1u << k)) --n;
            }
            buffer[n] = '\0';
            std::fseek(file, -6, SEEK_CUR);
            return 1;
        }
    }
    buffer[n] = '\0';
    return 0;
}

int playMoves(const char* text, Position& position, GameRecord* record, int maxPlies, PlayedMoveHook hook,
              void* context) {
    MoveCursor cursor{text, static_cast<int>(std::strlen(text)), -1};
    PlayState state{&position, record, maxPlies, 0, hook, context};
    char token[MoveTokenSize + 1];
    while (!cursor.atEnd()) {
        // 1. Find the next move number.
        cursor.step();
        if (cursor.atEnd()) break;
        if (!isDigit(cursor.current())) continue;
        // 2. Step over it, its dot and the blanks after it.
        while (!cursor.atEnd() && isDigit(cursor.current())) cursor.step();
        if (cursor.current() == '.') cursor.step();
        cursor.stepOverSeparators();
        // 3. White's move (or "..", nothing, when Black moves first).
        cursor.readToken(token, false);
        playToken(token, state);
        // 4. Black's move.
        if (position.sideToMove == Black) {
            cursor.stepOverSeparators();
            cursor.readToken(token, true);
            playToken(token, state);
        }
    }
    return state.played;
}

void playGameText(const char* text, GameRecord& record) {
    playMoves(text, engineSession.gamePosition, &record, 1 << 30, nullptr, nullptr);
}

int loadGameText(const char* text) {
    // 1. Tags.
    GameHeader header;
    clearHeader(header);
    readTags(text, header);
    // 2. A new game from the initial position.
    resetEngineGame();
    // 3. A FEN start replaces it; a rejected FEN leaves the initial position.
    if (header.fen[0] != '\0') {
        Position start;
        if (readFen(start, header.fen, static_cast<int>(std::strlen(header.fen)))) {
            resetEngineGame();
            engineSession.startPosition = start;
            engineSession.gamePosition = start;
        }
    }
    // 4. Every playable move, recorded.
    playGameText(text, gameRecord);
    // 5. The position of the current ply; the record keeps the rest.
    if (header.currentPly != -1) goToPly(engineSession.gamePosition, header.currentPly);
    // 6. The next search starts the clocks afresh.
    engineSession.clockStarted = 0;
    return 1;
}
