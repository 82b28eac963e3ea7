// Move ordering: hash move, captures by victim and attacker, killer, quiet
// moves by history; the root list; the principal variation.
#include "tests/search/search_fixture.h"

#include <vector>

using namespace searchtest;

namespace {

class SearchOrdering : public ::testing::Test {
  protected:
    void SetUp() override {
        freshEngine();
        clearHistory();
        clearKillers();
    }

    // Orders the moves of the position at ply-index 3 and returns the list.
    std::vector<int32_t> order(const char* fen, int hashMove) {
        searchPosition = setGame(fen);
        plyMoves[3].moves[ListCheckWord] = computeCheckWord(searchPosition, plyMoves[10].moves);
        int result = orderMoves(searchPosition.sideToMove, 3, -9000, 9000, hashMove);
        EXPECT_EQ(result, ListReady);
        std::vector<int32_t> moves;
        for (int i = 0; i < plyMoves[3].moves[OrderedTotal]; ++i)
            moves.push_back(orderedMove(plyMoves[3], i));
        return moves;
    }

    static int find(const std::vector<int32_t>& moves, const char* text) {
        for (size_t i = 0; i < moves.size(); ++i)
            if (moveIs(moves[i], text)) return static_cast<int>(i);
        return -1;
    }
};

// Captures of a queen (by pawn and knight), a rook and a pawn, with quiet moves besides.
const char* const captureFen = "r3k3/8/8/1p1q4/4P3/2N5/8/R3K3 w - -";

TEST_F(SearchOrdering, CapturesComeFirstByVictimThenAttacker) {
    std::vector<int32_t> moves = order(captureFen, NoMove);
    ASSERT_GE(moves.size(), 8u);
    EXPECT_TRUE(moveIs(moves[0], "e4d5")); // 8 x 960 - 100
    EXPECT_TRUE(moveIs(moves[1], "c3d5")); // 8 x 960 - 315
    EXPECT_TRUE(moveIs(moves[2], "a1a8")); // 8 x 510 - 510
    EXPECT_TRUE(moveIs(moves[3], "c3b5")); // 8 x 100 - 315
    EXPECT_EQ(plyMoves[3].moves[HistoryStart], 4);
    // Every legal move is in the list exactly once.
    int32_t legal[256];
    int count = legalMoves(searchPosition, legal);
    for (int i = 0; i < count; ++i) {
        int seen = 0;
        for (int32_t m : moves) seen += (m == legal[i]);
        EXPECT_EQ(seen, 1) << legal[i];
    }
}

TEST_F(SearchOrdering, HashMoveAndKillerArePlacedOnce) {
    std::vector<int32_t> plain = order(captureFen, NoMove);
    int quiet = plain[find(plain, "e1d2")];
    int capture = plain[find(plain, "c3b5")];

    // A quiet hash move goes first and is not repeated among the quiet moves.
    std::vector<int32_t> moves = order(captureFen, quiet & 0xFFFF);
    EXPECT_EQ(moves[0], quiet);
    EXPECT_EQ(moves.size(), plain.size());
    EXPECT_EQ(plyMoves[3].moves[HistoryStart], 5);

    // A tactical hash move leaves the other captures in their order.
    moves = order(captureFen, capture);
    EXPECT_EQ(moves[0], capture);
    EXPECT_TRUE(moveIs(moves[1], "e4d5"));
    EXPECT_EQ(moves.size(), plain.size());

    // A hash move that is not among the moves is ignored.
    moves = order(captureFen, makeMoveWord(H2, H4, 0, 3));
    EXPECT_EQ(moves, plain);

    // The killer follows the captures; equal to the hash move it is placed once.
    killerMoves[3] = quiet;
    moves = order(captureFen, NoMove);
    EXPECT_EQ(moves[4], quiet);
    EXPECT_EQ(plyMoves[3].moves[HistoryStart], 5);
    EXPECT_EQ(moves.size(), plain.size());
    moves = order(captureFen, quiet);
    EXPECT_EQ(moves[0], quiet);
    EXPECT_EQ(moves.size(), plain.size());
    EXPECT_EQ(plyMoves[3].moves[HistoryStart], 5);
}

TEST_F(SearchOrdering, SeventhRankPawnMovesAlsoComeAsKnightPromotions) {
    std::vector<int32_t> moves = order("3r4/4P3/8/8/8/8/k7/7K w - -", NoMove);
    int push = find(moves, "e7e8"), capture = find(moves, "e7d8");
    ASSERT_GE(push, 0);
    ASSERT_GE(capture, 0);
    // Queen promotions among the tactical moves, knight copies among the quiet ones.
    int knights = 0;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (moveOrigin(moves[i]) != E7) continue;
        if (movePromotionBits(moves[i]) == 1) {
            ++knights;
            EXPECT_GE(static_cast<int>(i), plyMoves[3].moves[HistoryStart]);
        } else {
            EXPECT_EQ(movePromotionBits(moves[i]), 3);
            EXPECT_LT(static_cast<int>(i), plyMoves[3].moves[HistoryStart]);
        }
    }
    EXPECT_EQ(knights, 2);
    // The copy is the queen move with the promotion field two lower.
    int copies = 0;
    for (int32_t m : moves) copies += (m == moves[capture] - 0x8000) + (m == moves[push] - 0x8000);
    EXPECT_EQ(copies, 2);
}

TEST_F(SearchOrdering, InCheckOnlyEvasionsWithTheHashMoveFirst) {
    // The rook on e8 checks the king on e1: capture it, block, or step aside.
    const char* fen = "4r1k1/8/8/8/8/8/3B4/R3K3 w - -";
    std::vector<int32_t> moves = order(fen, NoMove);
    int32_t legal[256];
    ASSERT_EQ(static_cast<int>(moves.size()), legalMoves(searchPosition, legal));
    int block = moves[find(moves, "d2e3")];
    moves = order(fen, block);
    EXPECT_EQ(moves[0], block);
    EXPECT_EQ(static_cast<int>(moves.size()), legalMoves(searchPosition, legal));

    // Checkmated: the node's score, with the mate marker.
    searchPosition = setGame("R5k1/5ppp/8/8/8/8/8/6K1 b - -");
    plyMoves[3].moves[ListCheckWord] = computeCheckWord(searchPosition, plyMoves[10].moves);
    EXPECT_EQ(orderMoves(Black, 3, -9000, 9000, NoMove), MateScore - 3);
    EXPECT_EQ(pvTable[3][1], PvMarkerMate);
    // A mate already found nearer the root bounds the node.
    EXPECT_EQ(orderMoves(White, 3, MateScore - 3, 9998, NoMove), MateScore - 3);
    EXPECT_EQ(orderMoves(Black, 3, -9000, 3 - MateScore, NoMove), 3 - MateScore);
}

TEST_F(SearchOrdering, HistorySortsQuietMovesStably) {
    std::vector<int32_t> moves = order(captureFen, NoMove);
    int first = plyMoves[3].moves[HistoryStart];
    int late = moves.back(), middle = moves[first + 2];
    // A cutoff by a quiet move raises its counter (deep enough) and makes it the killer.
    recordCutoff(late, 5, 3, White);
    recordCutoff(middle, 3, 3, White);
    recordCutoff(middle, 2, 3, White); // too shallow for the history
    EXPECT_EQ(killerMoves[3], middle);
    EXPECT_EQ(historyTable[White][historyIndex(late)], 26);
    EXPECT_EQ(historyTable[White][historyIndex(middle)], 10);
    // Captures change nothing.
    recordCutoff(moves[0], 8, 3, White);
    EXPECT_EQ(killerMoves[3], middle);

    sortQuietByHistory(plyMoves[3], White);
    EXPECT_EQ(orderedMove(plyMoves[3], first), late);
    EXPECT_EQ(orderedMove(plyMoves[3], first + 1), middle);
    // The tactical part is untouched, the others keep their order.
    for (int i = 0; i < first; ++i) EXPECT_EQ(orderedMove(plyMoves[3], i), moves[i]);
    int k = first + 2;
    for (size_t i = first; i < moves.size(); ++i) {
        if (moves[i] != late && moves[i] != middle) {
            EXPECT_EQ(orderedMove(plyMoves[3], k), moves[i]);
            ++k;
        }
    }
}

TEST_F(SearchOrdering, BestRootMoveGoesFirstAndCapturesStayAheadOfQuietMoves) {
    std::vector<int32_t> moves = order(captureFen, NoMove);
    PlyMoveList& root = plyMoves[3];
    int quiet = moves.back();
    moveBestToFront(root, quiet);
    EXPECT_EQ(orderedMove(root, 0), quiet);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(orderedMove(root, i), moves[i - 1]);
    EXPECT_EQ(root.moves[HistoryStart], 5);
    // Next iteration a capture is best: the earlier quiet best moves behind the captures.
    moveBestToFront(root, moves[2]);
    EXPECT_EQ(orderedMove(root, 0), moves[2]);
    EXPECT_TRUE(isTacticalMove(searchPosition, orderedMove(root, 1)));
    EXPECT_TRUE(isTacticalMove(searchPosition, orderedMove(root, 3)));
    EXPECT_EQ(orderedMove(root, 4), quiet);
    EXPECT_EQ(root.moves[OrderedTotal], static_cast<int>(moves.size()));
}

} // namespace
