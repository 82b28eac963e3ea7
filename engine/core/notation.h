// Move texts: the game record's long and short forms, the coordinate form of
// the engine's output, the disambiguation test and the move-text parser.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

// Letters by piece type for the game-record forms: "..pBNRQK".
extern const char recordPieceLetters[9];

constexpr int MoveTextSize = 8; // 7 characters and a zero

// 1 if another piece of the same kind (pawn slots, knights, bishops, rooks)
// could also reach the move's destination; stored in disambiguationFlag too.
int disambiguationNeeded(int32_t move, const Position& position);

// Coordinate form followed by one blank ("e2e4 ", "e7e8Q "); returns the length.
// The principal-variation marker words give an empty text.
int coordinateText(char* buffer, int32_t move);

// Lower-case coordinate form without the blank ("e7e8q"), as analysis tools
// print it; returns the length. Castling gives the king's squares.
int coordinateTextLower(char* buffer, int32_t move);

// Coordinate texts of the first min(length, 50) moves of the last principal
// variation; returns the length. Needs a buffer of 50 * 6 + 1 bytes.
int principalVariationText(char* buffer);

// Long form (always 7 characters, padded) and short form of a move, written
// from the position before the move. `promotionType` is the letter a promotion
// gets; `disambiguate` names the origin file in the short form. Both buffers
// hold MoveTextSize bytes. Null move: pass move -1.
void longMoveText(char* buffer, int32_t move, const Position& before, int promotionType);
void shortMoveText(char* buffer, int32_t move, const Position& before, int promotionType, int disambiguate);

// Result of parseMoveText: columns and rows 0..7, -1 when the text does not
// give them, and the piece code the text names (pawn by default).
struct ParsedMove {
    int fromColumn;
    int fromRow;
    int toColumn;
    int toRow;
    int pieceCode;
};

// Parses coordinate, long or standard algebraic text (zero-terminated) for
// the side to move; sets promotionChoice (queen unless another piece is named;
// a 'K' or 'p' promotion letter is read as a queen).
ParsedMove parseMoveText(const char* text, const Position& position);
