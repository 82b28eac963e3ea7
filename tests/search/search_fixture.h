#pragma once
// Shared set-up of the search tests: a fresh engine session, empty tables and
// book, a game from a FEN text, and a brute-force mate finder that checks the
// test positions independently of the search.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/search/book.h"
#include "engine/search/ordering.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/search/ttable.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"

namespace searchtest {

inline void freshEngine() {
    initSession();
    initSearchTables();
    initTranspositionTable();
    clearBook(openingBook);
    clearRecord(&gameRecord);
    std::memset(repetitionHistory, 0, sizeof repetitionHistory);
    mainWindow = nullptr;
    EngineSession& s = engineSession;
    s.targetTime = 1.0e6f;
    s.extensionTime = 0.0f;
    s.engineColour = EnginePlaysNone;
    s.promotionChoice = Queen;
    historyIndexKind = HistoryIndex::SlotTo;
}

// A new game from the text: the position becomes gamePosition and startPosition.
inline Position setGame(const char* fen) {
    Position pos;
    EXPECT_EQ(readFen(pos, fen, std::strlen(fen)), 1) << fen;
    clearRecord(&gameRecord);
    std::memset(repetitionHistory, 0, sizeof repetitionHistory);
    engineSession.gamePosition = pos;
    engineSession.startPosition = pos;
    engineSession.gameResult = GameInProgress;
    return pos;
}

// Plays and records a move text on the game position.
inline void playGameMove(const char* text) {
    ASSERT_EQ(playMoveText(text, engineSession.gamePosition, 1, nullptr), 1) << text;
}

// The legal moves of the side to move.
inline int legalMoves(const Position& pos, int32_t* out) {
    Position work = pos;
    MoveList list;
    generateMovesWithCheck(work, list, work.sideToMove);
    int n = 0;
    int total = list.count();
    for (int i = 0; i < total; ++i) {
        int32_t move = list.move(i);
        Position child = work;
        uint32_t a, b;
        makeMove(child, move, a, b, Queen);
        if (!inCheck(child, work.sideToMove)) out[n++] = move;
    }
    return n;
}

inline Position after(const Position& pos, int32_t move) {
    Position child = pos;
    uint32_t a, b;
    makeMove(child, move, a, b, Queen);
    return child;
}

// Can the side to move force mate within n moves? (Brute force over legal moves.)
inline bool forcesMate(const Position& pos, int n);

inline bool allRepliesLose(const Position& pos, int n) {
    int32_t replies[256];
    int count = legalMoves(pos, replies);
    if (count == 0) return inCheck(pos, pos.sideToMove) != 0;
    if (n == 0) return false;
    for (int i = 0; i < count; ++i)
        if (!forcesMate(after(pos, replies[i]), n)) return false;
    return true;
}

inline bool forcesMate(const Position& pos, int n) {
    int32_t moves[256];
    int count = legalMoves(pos, moves);
    for (int i = 0; i < count; ++i)
        if (allRepliesLose(after(pos, moves[i]), n - 1)) return true;
    return false;
}

// Number of the shortest forced mate up to `limit` moves, 0 when there is none.
inline int mateLength(const Position& pos, int limit) {
    for (int n = 1; n <= limit; ++n)
        if (forcesMate(pos, n)) return n;
    return 0;
}

inline int squareOfText(const char* text) {
    return squareOf(text[0] - 'a', '8' - text[1]);
}

// "e2e4" → does the move go from e2 to e4?
inline bool moveIs(int32_t move, const char* text) {
    return moveOrigin(move) == squareOfText(text) && moveDestination(move) == squareOfText(text + 2);
}

} // namespace searchtest
