#pragma once
// Reading game texts: the tag section into a GameHeader, the move text played
// move by move on the game position. Lenient: a byte-order mark, blank and
// escape lines before the tags, comments ("{}" and ";"), nested variations,
// glyphs, move numbers in every form and unplayable tokens are skipped; every
// field and buffer is bounded. A null move ("--") ends the moves: such a game
// cannot be replayed here and loadGameText refuses it.

#include <cstdint>
#include <cstdio>

struct GameRecord;
struct Position;

constexpr int TagLineSize = 1000;    // a tag line of a text in memory
constexpr int LineScanLimit = 50000; // characters scanned for a line end
constexpr int MoveTokenSize = 39;    // characters of one move token at most
constexpr int GameTextSize = 50000;  // move text of one game read from a file
constexpr int GameBufferSize = GameTextSize + 1;

struct GameHeader {
    char white[128];      // White tag; "X" by default
    char black[128];      // Black tag; "X" by default
    char event[128];      // Event tag; empty by default
    char result[32];      // Result tag; "X" by default
    char timeControl[64]; // TimeControl tag; "X" by default
    char fen[256];        // FEN tag; empty by default
    int32_t currentPly;   // "CurrentPly" tag (older files: "Current Ply"); -1 by default
    char date[16];        // Date tag as "YYYY.MM.DD" (also read from "M/D/YYYY"); empty by default
};

// Sets the defaults above.
void clearHeader(GameHeader& header);

// Applies the tag tests to one tag line (of at most length characters).
void readTagLine(const char* line, int length, GameHeader& header);

// Reads the tag section of a zero-terminated text in memory.
void readTags(const char* text, GameHeader& header);

// Reads the next game of a multi-game file: its tags into header, its move text
// into buffer (GameBufferSize bytes). A game ends where a tag line begins outside
// a comment. Returns 1 when another game follows (the file is left at its '['),
// 0 at the end of the file.
int readNextGame(FILE* file, char* buffer, GameHeader& header);

// Called after every move that playMoves could play.
using PlayedMoveHook = void (*)(const Position& position, void* context);

// Plays the moves of a zero-terminated move text on position, up to maxPlies
// played moves; records them in record when it is not null. Calls hook (when
// not null) after every move played. Returns the number of moves played. The
// moves end at a null move; nullMove (when not null) tells whether one was met.
int playMoves(const char* text, Position& position, GameRecord* record, int maxPlies, PlayedMoveHook hook,
              void* context, bool* nullMove = nullptr);

// Plays the moves of a move text on gamePosition, recording them in record.
void playGameText(const char* text, GameRecord& record);

// Replaces the engine's game by the game in the zero-terminated text: its FEN
// start, all its playable moves, and the position at its current ply. Returns 1;
// 0 for a game with a null move, which leaves the engine's game untouched.
int loadGameText(const char* text);
