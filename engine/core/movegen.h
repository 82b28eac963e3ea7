// Move words, the move list and the move generators.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

// ---------------------------------------------------------------------------
// Move word (32 bits):
//   bits  0-6   origin square; 124..127 are the four castlings
//   bits  7-13  destination square (castling: the king's destination)
//   bits 14-15  promotion piece - 3 (0 bishop, 1 knight, 2 rook, 3 queen);
//               every generated pawn move carries 3, other pieces 0
//   bits 16-22  slot of the moving piece in its colour's list (15 for castling)
//   bit  28     set by the search on principal-variation moves: a capture
//   bit  30     set by the search on principal-variation moves: gave check
// A move stored in 16 bits uses 0xFFFF for "no move".
// ---------------------------------------------------------------------------

constexpr int NoMove = 0xFFFF;
constexpr int32_t MoveCaptureFlag = 1 << 28;
constexpr int32_t MoveCheckFlag = 1 << 30;
constexpr int PromotionShift = 14;
constexpr int SlotShift = 16;
constexpr int32_t QueenPromotionBits = 3 << PromotionShift;

// Castling codes in the origin field.
constexpr int CastleWhiteKingSide = 124;
constexpr int CastleWhiteQueenSide = 125;
constexpr int CastleBlackKingSide = 126;
constexpr int CastleBlackQueenSide = 127;

constexpr int moveOrigin(int32_t move) {
    return move & 127;
}
constexpr int moveDestination(int32_t move) {
    return (move >> 7) & 127;
}
constexpr int movePromotionBits(int32_t move) {
    return (move >> PromotionShift) & 3;
}
constexpr int movePromotionType(int32_t move) {
    return movePromotionBits(move) + 3;
}
constexpr int moveSlot(int32_t move) {
    return (move >> SlotShift) & 127;
}
constexpr bool isCastling(int32_t move) {
    return moveOrigin(move) >= CastleWhiteKingSide;
}
constexpr int32_t makeMoveWord(int origin, int destination, int slot, int promotionBits) {
    return origin + (destination << 7) + (promotionBits << PromotionShift) + (slot << SlotShift);
}

// Castling words as the generator makes them.
constexpr int32_t WhiteKingSideMove = makeMoveWord(CastleWhiteKingSide, G1, KingSlot, 3);
constexpr int32_t WhiteQueenSideMove = makeMoveWord(CastleWhiteQueenSide, C1, KingSlot, 3);
constexpr int32_t BlackKingSideMove = makeMoveWord(CastleBlackKingSide, G8, KingSlot, 3);
constexpr int32_t BlackQueenSideMove = makeMoveWord(CastleBlackQueenSide, C8, KingSlot, 3);
static_assert(WhiteKingSideMove == 1044860);
static_assert(WhiteQueenSideMove == 1044349);
static_assert(BlackKingSideMove == 1035902);
static_assert(BlackQueenSideMove == 1035391);

// ---------------------------------------------------------------------------
// Move list: 256 signed words.
//   word 0        number of quiet moves
//   word 1        number of tactical moves (captures and promotions)
//   word 2        not used
//   words 3-52    tactical slots 1..50 (slot k is word k + 2)
//   words 53-253  quiet slots 51..251 (slot k is word k + 2)
//   word 254      check word, an input: 0 = not in check, 2 = double check,
//                 else the square of the single checking piece
//   word 255      set to 0 by every generator
// Visit tactical slots 1..word 1, then quiet slots 51..50 + word 0.
// A section that is full takes no more moves: they go to the other section,
// or are dropped when both are full (only set-up positions crowded with
// queens come near that).
// ---------------------------------------------------------------------------

constexpr int ListQuietCount = 0;
constexpr int ListTacticalCount = 1;
constexpr int ListSlotOffset = 2; // word index = slot + 2
constexpr int FirstTacticalSlot = 1;
constexpr int FirstQuietSlot = 51;
constexpr int MaxTacticalMoves = 50;
constexpr int MaxQuietMoves = 201;
constexpr int ListCheckWord = 254;
constexpr int ListEndWord = 255;
constexpr int ListWords = 256;
constexpr int DoubleCheck = 2; // check word of a double check

struct MoveList {
    int32_t words[ListWords];
    int32_t& operator[](int index) { return words[index]; }
    int32_t operator[](int index) const { return words[index]; }
    int tacticalCount() const { return words[ListTacticalCount]; }
    int quietCount() const { return words[ListQuietCount]; }
    // k-th tactical move (0-based) and k-th quiet move (0-based).
    int32_t tactical(int k) const { return words[ListSlotOffset + FirstTacticalSlot + k]; }
    int32_t quiet(int k) const { return words[ListSlotOffset + FirstQuietSlot + k]; }
    // Both sections as one list: the tactical moves first, then the quiet ones.
    int count() const { return tacticalCount() + quietCount(); }
    int32_t move(int k) const { return k < tacticalCount() ? tactical(k) : quiet(k - tacticalCount()); }
};

// All pseudo-legal moves of colour; castling only when the check word is 0
// (the caller sets word 254 first).
void generateMoves(const Position& position, MoveList& list, int colour);

// Sets the check word to the in-check test of colour (1 or 0), then generateMoves.
void generateMovesWithCheck(const Position& position, MoveList& list, int colour);

// Captures (en passant included) and pawn pushes to the last rank.
void generateTactical(const Position& position, MoveList& list, int colour);

// With the check word holding the checker's square or 2: the legal answers.
void generateEvasions(Position& position, MoveList& list, int colour);

// Moves of the pieces in slots 12, 13 and 14 only.
void generateRookQueenMoves(const Position& position, MoveList& list, int colour);

// Moves of colour's pieces other than the king that reach `target`.
constexpr int MovesOntoEmpty = 0;    // quiet section, pinned pieces dropped
constexpr int CapturesOnTarget = 1;  // tactical section, pinned pieces dropped
constexpr int AttackersOfTarget = 2; // like 1 but without the pin test
void generateMovesTo(Position& position, MoveList& list, int target, int mode, int colour);

// The check word of the side to move (0, the checker's square, or 2); the
// scratch list is overwritten.
int computeCheckWord(Position& position, MoveList& scratch);

// Number of legal move sequences of the given depth (promotions to queen only).
uint64_t perft(Position& position, int depth);

// The same, with every promotion made as each of queen, rook, knight and
// bishop (the count other programs give).
uint64_t perftAllPromotions(Position& position, int depth);
