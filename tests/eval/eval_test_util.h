// Positions for the evaluation tests: FEN set-up, the colour mirror and
// random games.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/eval/pawns.h"

namespace evaltest {

inline void initOnce() {
    static bool done = false;
    if (!done) {
        initTables();
        done = true;
    }
}

// A position from FEN text; fails the test through `ok` when the text is refused.
inline Position fromFen(const std::string& fen, bool* ok = nullptr) {
    initOnce();
    Position position;
    clearPosition(position);
    int read = readFen(position, fen.c_str(), fen.size());
    if (ok) *ok = read == 1;
    return position;
}

inline int mirrorSq(int square) {
    return 22 + (square - 22) % 10 + 10 * (7 - (square - 22) / 10);
}

inline int swapColour(int code) {
    if (code > 0 && code < 8) return code + 8;
    if (code > 8 && code < 16) return code - 8;
    return code;
}

// The same position with colours swapped and the board turned upside down.
// Piece-list slots keep their numbers, so slot-order choices (first bishop
// slot and the like) pick the same piece in both.
inline Position mirrored(const Position& p) {
    Position m = p;
    for (int sq = 0; sq < BoardSquares; ++sq) m.board[sq] = Border;
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col) {
            int sq = squareOf(col, row);
            m.board[mirrorSq(sq)] = static_cast<uint8_t>(swapColour(p.board[sq]));
        }
    for (int slot = 0; slot < SlotCount; ++slot) {
        m.whiteSquares[slot] = p.blackSquares[slot] == EmptySlot ? EmptySlot : mirrorSq(p.blackSquares[slot]);
        m.blackSquares[slot] = p.whiteSquares[slot] == EmptySlot ? EmptySlot : mirrorSq(p.whiteSquares[slot]);
    }
    m.sideToMove = static_cast<uint8_t>(p.sideToMove ^ 3);
    m.epSquare = p.epSquare == NoSquare ? NoSquare : static_cast<uint8_t>(mirrorSq(p.epSquare));
    m.pstSum = static_cast<int16_t>(-p.pstSum);
    m.materialBalance = static_cast<int16_t>(-p.materialBalance);
    m.whiteMaterial = p.blackMaterial;
    m.blackMaterial = p.whiteMaterial;
    m.whiteCastling = p.blackCastling;
    m.blackCastling = p.whiteCastling;
    m.whitePieceCount = p.blackPieceCount;
    m.blackPieceCount = p.whitePieceCount;
    m.whitePawnCount = p.blackPawnCount;
    m.blackPawnCount = p.whitePawnCount;
    m.whiteMinorCount = p.blackMinorCount;
    m.blackMinorCount = p.whiteMinorCount;
    m.pawnKey = pawnKeyFromScratch(m);
    return m;
}

// Small deterministic generator for the random games.
struct Lcg {
    uint32_t state;
    explicit Lcg(uint32_t seed) : state(seed) {}
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

// Plays a random legal game from the initial position and calls visit(position)
// before every move. Captures are preferred half of the time so that games
// reach endings; promotions pick a random piece.
template <class Visit> void playRandomGame(uint32_t seed, int maxPlies, Visit visit) {
    initOnce();
    Lcg rng(seed);
    Position position;
    setInitialPosition(position);
    for (int ply = 0; ply < maxPlies; ++ply) {
        visit(static_cast<const Position&>(position));
        MoveList list;
        generateMovesWithCheck(position, list, position.sideToMove);
        int32_t moves[256];
        int tactical = list.tacticalCount(), count = 0;
        for (int k = 0; k < tactical; ++k) moves[count++] = list.tactical(k);
        for (int k = 0; k < list.quietCount(); ++k) moves[count++] = list.quiet(k);
        if (count == 0) return;
        bool preferCapture = tactical > 0 && rng.below(2) == 0;
        bool moved = false;
        for (int attempt = 0; attempt < 4 * count && !moved; ++attempt) {
            int32_t move =
                preferCapture && attempt < tactical ? moves[rng.below(tactical)] : moves[rng.below(count)];
            Position next = position;
            uint32_t a, b;
            makeMove(next, move, a, b, 3 + rng.below(4));
            if (inCheck(next, position.sideToMove)) continue;
            position = next;
            moved = true;
        }
        if (!moved) return;
        if (position.whitePieceCount + position.blackPieceCount + position.whitePawnCount +
                position.blackPawnCount ==
            0)
            return;
    }
}

} // namespace evaltest
