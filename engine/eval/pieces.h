// Positional terms of the pieces beyond the piece-square tables, with their
// share of the king attack. Each function looks at the colour of the piece on
// the square; its result is added for White and subtracted for Black by the driver.
#pragma once

#include <cstdint>

struct Position;

// A rook: freedom along its rank, open and half-open files, advanced defended
// rooks and rooks trapped by their own king. The masks come from the pawn entry
// (bit f-1 for file f).
int evaluateRook(const Position& position, int square, int enemyKingSquare, uint8_t ownPawnFiles,
                 uint8_t enemyPawnFiles, uint8_t enemyWeakFiles, int& attack);

// A knight: pawn attacks on it, outposts, blocked advance.
int evaluateKnight(const Position& position, int square, int enemyKingSquare, int& attack);

// A bishop: forward mobility, blocked diagonals and bishops shut in by enemy pawns.
int evaluateBishop(const Position& position, int square, int enemyKingSquare, int& attack);

// Bishops caught on a7/b8/h7/g8 (White) or a2/b1/h2/g1 (Black) behind enemy pawns.
void trappedBishops(const Position& position, int& score);
