// The search finds mates at the depth they need, refutes moves that allow a
// mate at once, and scores repetitions, the fifty-move rule and dead material
// as the draw score.
#include "tests/search/search_fixture.h"

#include <cstdlib>

using namespace searchtest;

namespace {

struct MateCase {
    const char* fen;
    int moves; // mate in this many moves of the side to move
};

const MateCase mateCases[] = {
    {"6k1/5ppp/8/8/8/8/8/R5K1 w - -", 1},                                   // back rank
    {"r5k1/8/8/8/8/8/5PPP/6K1 b - -", 1},                                   // back rank, Black
    {"6rk/6pp/7N/8/8/8/8/6K1 w - -", 1},                                    // smothered
    {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -", 1}, // Qxf7
    {"k7/8/2K5/8/8/8/8/1R6 w - -", 2},
    {"1r6/8/8/8/8/2k5/8/K7 b - -", 2},
    {"2k5/8/8/8/8/8/8/K2R3R w - -", 2},
    {"k7/8/8/2K5/8/8/8/1R6 w - -", 3},
    {"8/8/8/8/8/8/1R6/k1K5 w - -", 3},
    {"1r6/8/8/8/2k5/8/8/K7 b - -", 3},
};

class SearchTactics : public ::testing::Test {
  protected:
    void SetUp() override { freshEngine(); }
};

TEST_F(SearchTactics, MatesAreFoundAtTheirDepthAndEndTheIterations) {
    for (const MateCase& c : mateCases) {
        SCOPED_TRACE(c.fen);
        Position pos = setGame(c.fen);
        // The position really is a mate in exactly that many moves.
        ASSERT_EQ(mateLength(pos, c.moves), c.moves);
        initTranspositionTable();
        const int depth = 2 * c.moves - 1;
        int score = rootSearch(pos, AnalyseMode, depth + 6);
        // Mated at ply-index 2n: 9999 - 2n, from White's view.
        int expected = MateScore - 2 * c.moves;
        EXPECT_EQ(score, pos.sideToMove == White ? expected : -expected);
        // The loop stops once the mate is seen, at the depth the mate needs.
        EXPECT_LE(rootDepth.load(), depth + 1);
        // The chosen move keeps the mate.
        ASSERT_NE(rootMove, NoMove);
        EXPECT_TRUE(allRepliesLose(after(pos, rootMove), c.moves - 1)) << "move " << rootMove;
        // Analysis never plays.
        EXPECT_TRUE(samePosition(engineSession.gamePosition, pos));
        EXPECT_EQ(recordLength(), 0);
    }
}

TEST_F(SearchTactics, MoveThatAllowsMateInOneIsRefutedWithoutSearch) {
    // Black threatens ...Qg2 mate (the pawn h3 protects g2). With the rook on the
    // second rank some moves keep g2 covered; all the others allow the mate and
    // must not be chosen, at the shallowest depth too.
    for (int depth : {1, 4}) {
        Position pos = setGame("n5k1/8/8/6q1/8/7p/R7/7K w - -");
        int32_t moves[256];
        int count = legalMoves(pos, moves);
        int survivors = 0;
        for (int i = 0; i < count; ++i)
            if (!forcesMate(after(pos, moves[i]), 1)) ++survivors;
        ASSERT_GE(survivors, 1);
        ASSERT_LT(survivors, count);
        initTranspositionTable();
        int score = rootSearch(pos, AnalyseMode, depth);
        ASSERT_NE(rootMove, NoMove);
        EXPECT_FALSE(forcesMate(after(pos, rootMove), 1)) << "depth " << depth;
        EXPECT_GT(score, -9000);
    }

    // When the only move allows the mate, it is scored ply - 9996 at the root and
    // its variation ends in the mate-threat marker: it was not searched.
    Position pos = setGame("n5k1/8/8/6q1/8/7p/8/7K w - -");
    int score = rootSearch(pos, AnalyseMode, 6);
    EXPECT_EQ(score, 0 - MateThreatScore);
    EXPECT_EQ(rootDepth.load(), 2); // a mate score ends the iterations
    EXPECT_EQ(pvTable[1][0], 2);
    EXPECT_EQ(pvTable[1][2], PvMarkerThreat);
}

TEST_F(SearchTactics, RepetitionInsideTheSearchScoresTheDrawScore) {
    // White is a queen down but can repeat: Ng1 brings back the position for the
    // third time, which the search scores as the draw score and prefers.
    setGame("3qk3/8/8/8/8/8/8/4K1N1 w - -");
    for (int cycle = 0; cycle < 2; ++cycle)
        for (const char* text : {"g1f3", "d8d7", "f3g1", "d7d8"}) playGameMove(text);
    playGameMove("g1f3");
    playGameMove("d8d7");
    Position pos = engineSession.gamePosition;
    int score = rootSearch(pos, AnalyseMode, 4);
    EXPECT_EQ(score, drawScore);
    EXPECT_TRUE(moveIs(rootMove, "f3g1"));

    // Without the history the same position is simply lost.
    Position fresh = pos;
    std::memset(repetitionHistory, 0, sizeof repetitionHistory);
    score = rootSearch(fresh, AnalyseMode, 4);
    EXPECT_LT(score, -500);
}

TEST_F(SearchTactics, FiftyMoveRuleScoresTheDrawScoreEverywhere) {
    // Queen against bare king with 99 plies since the last capture or pawn move:
    // every move reaches the fifty-move count, so the queen is worth nothing.
    Position pos = setGame("8/8/8/4k3/8/8/8/3QK3 w - -");
    pos.ply = 201;
    pos.lastIrreversiblePly = 102;
    engineSession.gamePosition = pos;
    int score = rootSearch(pos, AnalyseMode, 5);
    EXPECT_EQ(drawScore, 28); // a thin ending late in the game: draws are welcome
    EXPECT_EQ(score, drawScore);

    // With room left the same position is won.
    pos.lastIrreversiblePly = 190;
    score = rootSearch(pos, AnalyseMode, 5);
    EXPECT_GT(score, 500);
}

TEST_F(SearchTactics, DeadMaterialScoresTheDrawScore) {
    struct Case {
        const char* fen;
        bool drawn;
    };
    const Case cases[] = {
        {"8/8/3k4/8/8/2N5/1K1N4/8 w - -", true}, // two knights cannot force mate
        {"8/8/3k4/8/5n2/8/1K1B4/8 w - -", true}, // bishop against knight
        {"8/8/3k4/8/8/8/1K1B4/8 w - -", true},   // lone bishop
        {"8/8/4k3/8/8/8/1K1R4/8 w - -", false},  // a rook wins
        {"8/8/3k4/8/8/8/1K1BN3/8 w - -", false}, // bishop and knight can mate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        Position pos = setGame(c.fen);
        initTranspositionTable();
        int score = rootSearch(pos, AnalyseMode, 4);
        if (c.drawn)
            EXPECT_EQ(score, drawScore);
        else
            EXPECT_GT(score, 200);
    }
}

TEST_F(SearchTactics, DrawScoreIsContemptForTheSideToMove) {
    // Early in a normal game a draw is bad for the side to move; in thin endings it is welcome.
    Position pos = setGame("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    EXPECT_EQ(computeDrawScore(pos), -20);
    playGameMove("e2e4");
    EXPECT_EQ(computeDrawScore(engineSession.gamePosition), 20);
    pos = setGame("8/8/3k4/8/8/2N5/1K6/8 w - -"); // not the initial position, few pieces
    EXPECT_EQ(computeDrawScore(pos), 28);
    pos = setGame("r3k3/8/8/8/8/8/8/R3K2R w - -"); // two rooks against one: no contempt
    EXPECT_EQ(computeDrawScore(pos), 0);
}

} // namespace
