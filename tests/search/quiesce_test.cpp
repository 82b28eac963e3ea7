// The capture search: stand pat, captures with their gains, evasions.
#include "tests/search/search_fixture.h"

#include "engine/eval/evaluate.h"
#include "engine/search/quiesce.h"

using namespace searchtest;

namespace {

class SearchQuiesce : public ::testing::Test {
  protected:
    void SetUp() override { freshEngine(); }

    int run(const char* fen, int alpha, int beta, int p = 5) {
        searchPosition = setGame(fen);
        plyMoves[p].moves[ListCheckWord] = computeCheckWord(searchPosition, plyMoves[52].moves);
        return quiesce(searchPosition.sideToMove, alpha, beta, p);
    }
};

TEST_F(SearchQuiesce, QuietPositionStandsPat) {
    const char* fen = "4k3/pppp4/8/8/8/8/4PPPP/4K3 w - -";
    searchPosition = setGame(fen);
    int stand = evaluate(searchPosition, -9999, 9999);
    EXPECT_EQ(run(fen, -9999, 9999), stand);
    // Black's view is the negated score.
    const char* black = "4k3/pppp4/8/8/8/8/4PPPP/4K3 b - -";
    searchPosition = setGame(black);
    stand = evaluate(searchPosition, -9999, 9999);
    EXPECT_EQ(run(black, -9999, 9999), -stand);
    // A stand pat at or above beta ends the node.
    EXPECT_EQ(run(fen, -9999, -500), run(fen, -9999, 9999));
}

TEST_F(SearchQuiesce, WinningCaptureIsFoundAndPoorOnesAreNot) {
    // The knight takes a loose queen (the rook keeps mating material on the board).
    const char* fen = "4k3/8/8/3q4/8/4N3/8/3RK3 w - -";
    searchPosition = setGame(fen);
    int stand = evaluate(searchPosition, -9999, 9999);
    EXPECT_GT(run(fen, -9999, 9999), stand + 700);
    // A queen that would take a defended pawn only loses: stand pat stays.
    const char* poor = "4k3/8/2p5/3p4/8/8/8/3QK3 w - -";
    searchPosition = setGame(poor);
    stand = evaluate(searchPosition, -9999, 9999);
    EXPECT_EQ(run(poor, -9999, 9999), stand);
}

TEST_F(SearchQuiesce, PawnCaptureFromTheSeventhRankCountsThePromotion) {
    // Far below alpha, only a capture that also promotes can reach it; without the
    // promotion's gain it would be pruned by the margin.
    const char* fen = "n5kr/1P6/8/8/8/8/8/b5K1 w - -";
    searchPosition = setGame(fen);
    int stand = evaluate(searchPosition, -9999, 9999);
    int alpha = stand + 800;
    EXPECT_GT(run(fen, alpha, alpha + 2000), alpha);
}

TEST_F(SearchQuiesce, InCheckWithFewRepliesEveryReplyIsSearched) {
    // Mated: no reply at all gives p - 9999 for the side to move.
    EXPECT_EQ(run("R5k1/5ppp/8/8/8/8/8/6K1 b - -", -9999, 9999, 7), 7 - MateScore);
    EXPECT_EQ(pvTable[7][1], PvMarkerMate);
    // Two quiet replies: the stand pat is not taken, although it is above beta;
    // after either king move the rook takes the knight.
    const char* fen = "r6N/8/8/4k3/8/8/8/K7 w - -";
    searchPosition = setGame(fen);
    int32_t legal[256];
    ASSERT_EQ(legalMoves(searchPosition, legal), 2);
    int stand = evaluate(searchPosition, -9999, 9999);
    int beta = stand - 100;
    int score = run(fen, -9999, beta);
    EXPECT_LT(score, beta);
}

TEST_F(SearchQuiesce, MateInOneByRookOrQueenAndQueenContact) {
    struct Case {
        const char* fen;
        int colour;
        const char* mate; // the mating move, or null
    };
    const Case cases[] = {
        {"6k1/5ppp/8/8/8/8/8/R5K1 w - -", White, "a1a8"},
        {"r5k1/8/8/8/8/8/5PPP/6K1 w - -", Black, "a8a1"}, // asked for the side not to move
        {"6k1/5ppp/8/8/8/8/8/4Q1K1 w - -", White, "e1e8"},
        {"6k1/5pp1/7p/8/8/8/8/R5K1 w - -", White, nullptr}, // the king has h7
        {"6k1/5ppp/8/8/8/8/8/5NK1 w - -", White, nullptr},  // no rook or queen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        Position pos = setGame(c.fen);
        Position copy = pos;
        int move = mateInOneByRookOrQueen(pos, c.colour, ScratchPly);
        EXPECT_TRUE(samePosition(pos, copy));
        if (c.mate)
            EXPECT_TRUE(moveIs(move, c.mate)) << move;
        else
            EXPECT_EQ(move, 0);
        EXPECT_EQ(queenMateThreat(pos, c.colour, 5), c.mate != nullptr);
    }
    // Shallow: a protected queen contact in front of a king on its edge.
    struct Contact {
        const char* fen;
        int colour, threat;
    };
    const Contact contacts[] = {
        {"6k1/8/6K1/8/3Q4/8/8/8 w - -", White, 1},   // Qg7, guarded by the king
        {"6k1/8/8/8/3Q4/8/8/4K3 w - -", White, 0},   // g7 unguarded
        {"6k1/Q7/8/4B3/8/8/8/7K w - -", White, 1},   // Qg7 along the rank, guarded by the bishop
        {"6k1/Q2N4/8/4B3/8/8/8/7K w - -", White, 0}, // the knight blocks the rank
        {"6k1/Q7/8/4B3/8/8/6r1/7K w - -", White, 0}, // g7 is defended by the rook
        {"6k1/Q5r1/8/4B3/8/8/8/7K w - -", White, 1}, // Qxg7: the defender itself is taken
        {"k7/8/8/8/4qn2/8/8/6K1 b - -", Black, 1},   // ...Qg2, guarded by the knight
        {"k7/8/8/8/4q3/8/8/6K1 b - -", Black, 0},
    };
    for (const Contact& c : contacts) {
        SCOPED_TRACE(c.fen);
        Position pos = setGame(c.fen);
        Position copy = pos;
        EXPECT_EQ(queenMateThreat(pos, c.colour, 3), c.threat);
        EXPECT_TRUE(samePosition(pos, copy));
    }
}

} // namespace
