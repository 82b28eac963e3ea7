// Making and unmaking moves, the legal-move count, the position keys from
// scratch and the diagnostic log of impossible positions.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

// ---------------------------------------------------------------------------
// Changed-square record of makeMove: word A holds up to four square numbers,
// one per byte (byte 0 first); word B what those squares held before. Unused
// bytes are 0 (square 0 is a border square, so writing them back is harmless).
//   ordinary move / capture   destination, origin
//   en-passant capture        destination, origin, captured pawn's square
//   castling                  king's origin, king's destination, rook's origin, rook's destination
// ---------------------------------------------------------------------------

// Move classes returned by makeMove (a capture of nearly equal value returns
// the destination square, 22..99, instead of a named class).
constexpr int ClassCastling = 0;
constexpr int ClassUnequalCapture = 30990;
constexpr int ClassPawnCapture = 30991;
constexpr int ClassKingTakesOnH2 = 30994; // king captures a piece on h2/h7, enemy queen on board
constexpr int ClassEnPassant = 30995;
constexpr int ClassQuiet = 30996;
constexpr int ClassLastPiece = 30999;    // captures the last piece other than pawns and kings
constexpr int ClassSeventhRank = 31002;  // pawn reaches its seventh rank
constexpr int ClassSixthRank = 31003;    // free pawn reaches its sixth rank in a thin ending
constexpr int ClassQueenTakesH6 = 31004; // queen takes the h-pawn in front of a castled king

// Makes a pseudo-legal move of the side to move. promotionType is the piece
// type a promoting pawn becomes (3 bishop .. 6 queen, for either colour).
// Does not touch hashKey and hashLock (see updateKeysForMove).
int makeMove(Position& position, int32_t move, uint32_t& changedSquares, uint32_t& formerContents,
             int promotionType);

// Undo: copy back the tail saved before makeMove, then write back the changed squares.
void unmakeMove(Position& position, const PositionTail& saved, uint32_t changedSquares,
                uint32_t formerContents);
void unmakeMove(Position& position, const Position& saved, uint32_t changedSquares, uint32_t formerContents);

// Writes back the recorded squares (entries with square 0 are unused and skipped).
void restoreSquares(Position& position, uint32_t changedSquares, uint32_t formerContents);

// Legal-move count answers.
constexpr int HasLegalMove = 0;
constexpr int Checkmated = 1;
constexpr int Stalemated = 2;
int countLegalMoves(const Position& position, int colour);

// Keys from scratch over squares 20..100 (empty and border squares included),
// with the side-to-move key when Black is to move.
uint32_t computeHashKey(const Position& position);
uint32_t computeHashLock(const Position& position);

// Appends the game position and the given position with the move word to
// "errorlog.txt" in the program folder; called when a move would capture a king.
void logInvalidPosition(const Position& position, int32_t move);
