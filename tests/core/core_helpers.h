// Helpers shared by the core tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/session/session.h"

inline Position positionFrom(const char* fen) {
    Position p;
    clearPosition(p);
    EXPECT_EQ(readFen(p, fen, std::strlen(fen)), 1) << fen;
    return p;
}

inline std::vector<int32_t> listedMoves(const MoveList& list) {
    std::vector<int32_t> moves;
    for (int k = 0; k < list.tacticalCount(); ++k) moves.push_back(list.tactical(k));
    for (int k = 0; k < list.quietCount(); ++k) moves.push_back(list.quiet(k));
    return moves;
}

// The legal moves as the game plays them: every generated move that does not
// leave the mover's king in check once made.
inline std::vector<int32_t> legalMoves(const Position& p) {
    MoveList list;
    generateMovesWithCheck(p, list, p.sideToMove);
    std::vector<int32_t> legal;
    for (int32_t move : listedMoves(list)) {
        Position copy = p;
        uint32_t a, b;
        makeMove(copy, move, a, b, Queen);
        if (!inCheck(copy, p.sideToMove)) legal.push_back(move);
    }
    return legal;
}

inline uint64_t referencePerft(const Position& p, int depth) {
    if (depth == 0) return 1;
    uint64_t nodes = 0;
    for (int32_t move : legalMoves(p)) {
        if (depth == 1) {
            ++nodes;
            continue;
        }
        Position child = p;
        uint32_t a, b;
        makeMove(child, move, a, b, Queen);
        nodes += referencePerft(child, depth - 1);
    }
    return nodes;
}

// A move of the list going from `from` to `to` (castling by its code), or -1.
inline int32_t findMove(const std::vector<int32_t>& moves, int from, int to) {
    for (int32_t m : moves)
        if (moveOrigin(m) == from && moveDestination(m) == to) return m;
    return -1;
}

// Sets up the engine records once per test program.
class CoreTest : public ::testing::Test {
  protected:
    void SetUp() override { initSession(); }
};
