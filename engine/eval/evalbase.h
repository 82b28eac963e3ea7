// Square geometry and small helpers shared by the evaluation files.
#pragma once

#include <cstdlib>

#include "engine/core/position.h"

namespace evalbase {

inline int fileAt(int square) {
    return fileOf[square];
}
inline int rankAt(int square) {
    return rankOf[square];
}

// King distance: the larger of the file and rank differences.
inline int dist(int a, int b) {
    int df = std::abs(fileOf[a] - fileOf[b]);
    int dr = std::abs(rankOf[a] - rankOf[b]);
    return df > dr ? df : dr;
}

inline int manhattan(int a, int b) {
    return std::abs(fileOf[a] - fileOf[b]) + std::abs(rankOf[a] - rankOf[b]);
}

// Square colour: 2 for a8 and every square like it, 1 for the others (a1, h8),
// 0 off the board (an empty slot, so a missing bishop has no colour).
inline int squareColour(int square) {
    int f = fileOf[square];
    if (f == 0) return 0;
    return ((f + rankOf[square]) & 1) ? 2 : 1;
}

// The square of file 1..8 and rank 1..8.
constexpr int squareAt(int file, int rank) {
    return 22 + (file - 1) + 10 * (8 - rank);
}

// The vertically mirrored square (same file, rank 9 - rank).
constexpr int mirrorSquare(int square) {
    return 22 + (square - 22) % 10 + 10 * (7 - (square - 22) / 10);
}

// Board contents for squares that may lie past the end of the board array
// (a king on h1 looks 21 squares further); such squares count as border.
inline int pieceAt(const Position& position, int square) {
    return static_cast<unsigned>(square) < BoardSquares ? position.board[square] : Border;
}

inline bool slotFilled(int square) {
    return square != EmptySlot;
}

inline bool isPawnCode(int code) {
    return code == WhitePawn || code == BlackPawn;
}

// The square of a side's bishop: the first (or last) filled bishop slot, else
// a bishop that promotion left in a pawn slot; EmptySlot when there is none.
inline int bishopSquare(const Position& position, bool white, bool last) {
    const uint8_t* list = white ? position.whiteSquares : position.blackSquares;
    const int first = last ? list[BishopSlot2] : list[BishopSlot1];
    const int second = last ? list[BishopSlot1] : list[BishopSlot2];
    if (slotFilled(first)) return first;
    if (slotFilled(second)) return second;
    const int code = white ? WhiteBishop : BlackBishop;
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot)
        if (slotFilled(list[slot]) && position.board[list[slot]] == code) return list[slot];
    return EmptySlot;
}

// Endgame king table ("king centre table"), used for both kings unmirrored,
// indexed [rank - 1][file - 1] with rank 1 first.
// clang-format off
constexpr int kingCentreTable[8][8] = {
    {  0,  2,  5,  5,  5,  5,  2,  0 },  // rank 1
    {  2, 13, 16, 16, 16, 16, 13,  2 },  // rank 2
    {  2, 16, 33, 33, 33, 33, 16,  2 },  // rank 3
    {  2, 16, 33, 43, 43, 33, 16,  2 },  // rank 4
    {  2, 16, 33, 43, 43, 33, 16,  2 },  // rank 5
    {  2, 16, 33, 33, 33, 33, 16,  2 },  // rank 6
    {  2, 13, 16, 16, 16, 16, 13,  0 },  // rank 7 (h7 is 0 while h2 is 2)
    {  0,  2,  5,  5,  5,  5,  2,  0 },  // rank 8
};
// clang-format on

inline int kingCentre(int square) {
    return kingCentreTable[rankOf[square] - 1][fileOf[square] - 1];
}

} // namespace evalbase
