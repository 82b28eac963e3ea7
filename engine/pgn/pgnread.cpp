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
    bool atLineStart() const { return at <= 0 || text[at - 1] == '\n' || text[at - 1] == '\r'; }

    void skipToLineEnd() {
        while (at < length && text[at] != '\n' && text[at] != '\r') ++at;
    }

    // Skips a comment in braces (which do not nest in PGN; a '{' inside is text).
    void skipBraceComment() {
        while (at < length && text[at] != '}') ++at;
        if (at < length) ++at;
    }

    // Skips a section from open to its matching close; variations may hold
    // comments whose brackets do not count.
    void skipNested(char open, char close) {
        int depth = 0;
        while (at < length) {
            char c = text[at];
            if (open == '(' && c == '{') {
                skipBraceComment();
                continue;
            }
            if (open == '(' && c == ';') {
                skipToLineEnd();
                continue;
            }
            ++at;
            if (c == open) {
                ++depth;
            } else if (c == close && --depth == 0) {
                return;
            }
        }
    }

    // Skips whatever is not a move at the cursor: glyphs, variations, bracketed
    // sections, comments and escape lines, in any order and number.
    void skipAnnotations() {
        for (;;) {
            char c = current();
            if (c == '$') {
                ++at;
                while (at < length && isDigit(text[at])) ++at;
            } else if (c == '(') {
                skipNested('(', ')');
            } else if (c == '[') {
                skipNested('[', ']');
            } else if (c == '{') {
                skipBraceComment();
            } else if (c == ';' || (c == '%' && atLineStart())) {
                skipToLineEnd();
            } else {
                return;
            }
        }
    }

    // One step: advance one character, then skip the annotations there.
    void step() {
        if (at < length) ++at;
        skipAnnotations();
    }

    void stepOverSeparators() {
        while (!atEnd() && isSeparator(current())) step();
    }

    // Reads a token at the cursor: up to a separator, the start of an annotation,
    // MoveTokenSize characters or the end.
    void readToken(char* token) {
        int n = 0;
        while (!atEnd() && n < MoveTokenSize) {
            char c = text[at];
            if (isSeparator(c) || c == '{' || c == '(' || c == ';' || c == '$' || c == ')') break;
            token[n++] = c;
            ++at;
        }
        // The rest of an overlong token is not a token of its own.
        while (!atEnd() && !isSeparator(text[at]) && text[at] != '{' && text[at] != '(' && text[at] != ';')
            ++at;
        token[n] = '\0';
    }
};

const char* afterDots(const char* c) {
    while (*c == '.') ++c;
    return c;
}

// A move number before the move ("12.", "12...", "1.e4" gives "e4"); null when
// the token is only a number.
const char* afterMoveNumber(const char* token) {
    const char* c = token;
    while (isDigit(*c)) ++c;
    if (c == token || *c != '.') return token[0] == '.' ? afterDots(token) : token;
    return afterDots(c);
}

// The marks that end a game's moves.
bool isResultMark(const char* token) {
    return std::strcmp(token, "1-0") == 0 || std::strcmp(token, "0-1") == 0 ||
           std::strcmp(token, "1/2-1/2") == 0 || std::strcmp(token, "*") == 0;
}

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

// The Date tag, "YYYY.MM.DD" (unknown parts as "??") or the older "M/D/YYYY".
void readDate(const char* line, GameHeader& header) {
    const char* found = std::strstr(line, "Date \"");
    if (!found || (found != line + 1 && found[-1] != '[')) return;
    const char* value = found + 6;
    int year, month, day;
    char dotted[11];
    if (std::sscanf(value, "%d/%d/%d", &month, &day, &year) == 3 && month >= 1 && month <= 12 && day >= 1 &&
        day <= 31 && year >= 0 && year <= 9999) {
        std::snprintf(header.date, sizeof header.date, "%04d.%02d.%02d", year, month, day);
    } else if (std::sscanf(value, "%10[0-9?.]", dotted) == 1 && std::strlen(dotted) == 10 &&
               dotted[4] == '.' && dotted[7] == '.') {
        std::memcpy(header.date, dotted, 11);
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
    // The current ply: "CurrentPly", or "Current Ply" in files written before.
    for (const char* key : {"[CurrentPly \"", "[Current Ply \""}) {
        int ply;
        const char* found = std::strstr(line, key);
        if (found && std::sscanf(found + std::strlen(key), "%d", &ply) == 1) header.currentPly = ply;
    }
    readDate(line, header);
    copyTagValue(line, "White \"", header.white, sizeof header.white);
    copyTagValue(line, "Black \"", header.black, sizeof header.black);
    copyTagValue(line, "Result \"", header.result, sizeof header.result);
    copyTagValue(line, "Event \"", header.event, sizeof header.event);
    copyTagValue(line, "TimeControl \"", header.timeControl, sizeof header.timeControl);
    copyTagValue(line, "FEN \"", header.fen, sizeof header.fen);
}

// Skips a byte-order mark, blank lines and escape lines before the tags.
static const char* skipToTags(const char* text) {
    const char* at = text;
    if (static_cast<unsigned char>(at[0]) == 0xEF && static_cast<unsigned char>(at[1]) == 0xBB &&
        static_cast<unsigned char>(at[2]) == 0xBF)
        at += 3;
    for (int scanned = 0; scanned < LineScanLimit; ++scanned) {
        if (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') {
            ++at;
        } else if (*at == '%' || *at == ';') {
            while (*at != '\0' && *at != '\n') ++at;
        } else {
            break;
        }
    }
    return at;
}

void readTags(const char* text, GameHeader& header) {
    const char* line = skipToTags(text);
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
    // A byte-order mark at the start of the file.
    if (std::ftell(file) == 0) {
        int a = std::fgetc(file), b = std::fgetc(file), c = std::fgetc(file);
        if (a != 0xEF || b != 0xBB || c != 0xBF) std::rewind(file);
    }
    // Blank and escape lines before the tags, then the tag lines, read into the
    // game buffer, which the move text overwrites afterwards.
    int length;
    bool tagsBegun = false;
    for (;;) {
        length = readFileLine(file, buffer, GameTextSize);
        if (length < 0) {
            buffer[0] = '\0';
            return 0;
        }
        int first = 0;
        while (first < length && (buffer[first] == ' ' || buffer[first] == '\t' || buffer[first] == '\r'))
            ++first;
        bool blank = first == length;
        if (!tagsBegun && (blank || buffer[first] == '%' || buffer[first] == ';')) continue;
        if (buffer[first] != '[') break;
        tagsBegun = true;
        readTagLine(buffer + first, length - first, header);
    }
    // The first line that is not a tag is normally the empty line; a game written
    // without one keeps its first line of moves.
    int n = length;
    if (n < GameTextSize) buffer[n++] = '\n';
    bool full = n >= GameTextSize;
    // The game ends where a line begins with '[' outside a comment, or, as
    // before, at "[Even" anywhere. A game longer than the buffer is cut there,
    // and the reader goes on to the next game instead of giving up on the file.
    char recent[6] = {0, 0, 0, 0, 0, 0};
    unsigned stored = 0; // bit k: recent[5 - k] was stored
    bool lineStart = true, inBraces = false, inLineComment = false;
    for (;;) {
        int c = std::fgetc(file);
        if (c == EOF) break;
        if (c == 0) c = ' ';
        if (c == '[' && lineStart && !inBraces) {
            buffer[n] = '\0';
            std::ungetc(c, file);
            return 1;
        }
        if (inLineComment) {
            if (c == '\n') inLineComment = false;
        } else if (inBraces) {
            if (c == '}') inBraces = false;
        } else if (c == '{') {
            inBraces = true;
        } else if (c == ';') {
            inLineComment = true;
        }
        lineStart = c == '\n' || (lineStart && (c == ' ' || c == '\t' || c == '\r'));
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
              void* context, bool* nullMove) {
    MoveCursor cursor{text, static_cast<int>(std::strlen(text)), -1};
    PlayState state{&position, record, maxPlies, 0, hook, context};
    if (nullMove) *nullMove = false;
    char token[MoveTokenSize + 1];
    // Every token outside the annotations: a move number (with the move glued
    // to it or not), a move, a null move, a result mark or something unplayable.
    cursor.step();
    while (!cursor.atEnd()) {
        if (isSeparator(cursor.current()) || cursor.current() == ')' || cursor.current() == '}') {
            cursor.step();
            continue;
        }
        cursor.readToken(token);
        cursor.skipAnnotations();
        const char* move = afterMoveNumber(token);
        // The engine plays any token that begins with "Null" as a null move.
        if (std::strcmp(move, "--") == 0 || std::strcmp(move, "Z0") == 0 ||
            std::strncmp(move, "Null", 4) == 0) {
            if (nullMove) *nullMove = true;
            break;
        }
        if (isResultMark(move)) break;
        playToken(move, state);
    }
    return state.played;
}

namespace {

bool hasNullMove(const char* text, const GameHeader& header) {
    Position scratch;
    setInitialPosition(scratch);
    if (header.fen[0] != '\0') readFen(scratch, header.fen, static_cast<int>(std::strlen(header.fen)));
    bool nullMove = false;
    // The moves are played on a scratch game without recording, only to meet the null move.
    playMoves(text, scratch, nullptr, 1 << 30, nullptr, nullptr, &nullMove);
    return nullMove;
}

} // namespace

void playGameText(const char* text, GameRecord& record) {
    // Moves the record has no room for are not played: the position stays the
    // record's last one, and the two remain one game.
    const int room = RecordStopPly + 1 - engineSession.gamePosition.ply;
    playMoves(text, engineSession.gamePosition, &record, room > 0 ? room : 0, nullptr, nullptr);
}

int loadGameText(const char* text) {
    // 1. Tags.
    GameHeader header;
    clearHeader(header);
    readTags(text, header);
    // A game with a null move cannot be replayed: refused before anything changes.
    if (hasNullMove(text, header)) return 0;
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
