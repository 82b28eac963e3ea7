// The game record (the game as move texts) and playing moves given by squares.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

constexpr int RecordCapacity = 700; // plies the record has room for
constexpr int RecordStopPly = 696;  // the last ply recorded; moves of later plies are not

struct GameRecord {
    int32_t plyCount;        // ply number of the last recorded move, 0 when empty
    char longTexts[700][8];  // long form of ply n at index n - 1
    char shortTexts[700][8]; // short form of ply n at index n - 1
};

// The game's own record.
extern GameRecord gameRecord;

constexpr int NullMove = -1; // the move word recordMove takes for a null move

// Plays a legal move of colour given by squares on the position; -1 in the
// origin column or row means the text did not give it (then pieceCode picks
// the piece). When recordFlag is 1 the move is recorded in `record` (null =
// the game's record). Out squares get the move's origin and destination.
// Returns 1 if played, else 0 with nothing changed.
int playMove(Position& position, int fromColumn, int fromRow, int toColumn, int toRow, int colour,
             int pieceCode, int recordFlag, GameRecord* record, int* outOrigin, int* outDestination);

// Plays a move text ("Null" plays a null move) for the side to move.
int playMoveText(const char* text, Position& position, int recordFlag, GameRecord* record);

// Writes the ply's texts (move -1 = null move) from the position before the move.
void recordMove(GameRecord* record, int32_t move, const Position& before);

void clearRecord(GameRecord* record);

// plyCount of the game's record.
int recordLength();

// Long text of the game's last recorded ply ("" when empty).
const char* lastMoveText();

// Long (shortForm 0) or short (1) text of ply (ply of gamePosition) - k;
// null when k >= that ply. k = 1 is the last move played.
const char* moveTextBack(int k, int shortForm);

// The move of the position's ply can still be recorded.
inline bool recordHasRoom(const Position& position) {
    return position.ply <= RecordStopPly;
}

// Sets the position to ply n of the game by replaying the record from startPosition.
void goToPly(Position& position, int n);
