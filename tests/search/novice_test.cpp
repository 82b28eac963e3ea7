// The beginner levels: legal moves only, a hanging queen taken most of the
// time (and a distant one missed now and then at the lowest level), a mate in
// one never missed, and the search hands its move over to them.
#include "tests/search/search_fixture.h"

#include "engine/search/novice.h"

using namespace searchtest;

namespace {

class Novice : public ::testing::Test {
  protected:
    void SetUp() override { freshEngine(); }
    void TearDown() override { noviceLevel = 0; }
};

bool isLegal(const Position& pos, int32_t move) {
    int32_t legal[256];
    const int count = legalMoves(pos, legal);
    for (int i = 0; i < count; ++i)
        if (legal[i] == move) return true;
    return false;
}

TEST_F(Novice, EveryLevelPlaysWholeGamesOfLegalMoves) {
    for (int level = 1; level <= NoviceLevelCount; ++level) {
        seedNovice(17u * level);
        Position pos = setGame("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
        int plies = 0;
        for (; plies < 100; ++plies) {
            int32_t legal[256];
            if (legalMoves(pos, legal) == 0) break;
            int score = 0;
            const int32_t move = chooseNoviceMove(pos, level, score);
            ASSERT_TRUE(isLegal(pos, move)) << "level " << level << " ply " << plies;
            ASSERT_LT(std::abs(score), BestPossible);
            pos = after(pos, move);
        }
        EXPECT_GT(plies, 20) << level;
    }
    // No legal move: none is chosen.
    int score = 1;
    EXPECT_EQ(chooseNoviceMove(setGame("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"), 1, score), NoMove);
}

TEST_F(Novice, HangingQueensAreTakenMostOfTheTime) {
    struct Case {
        const char* fen;
        const char* capture;
        int atLeast[NoviceLevelCount]; // of 100 choices, per level
    };
    const Case cases[] = {
        // Next to the pawn that takes it: every level sees it every time.
        {"rnb1kbnr/pppp1ppp/8/3qp3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 3", "e4d5", {100, 100, 100}},
        {"rnbqkbnr/pppp1ppp/8/4p3/3QP3/8/PPP2PPP/RNB1KBNR b KQkq - 0 3", "e5d4", {100, 100, 100}},
        // Across the board: taken most of the time, more often higher up.
        {"4k3/pp6/8/8/q6R/8/PP6/4K3 w - - 0 1", "h4a4", {55, 65, 85}},
    };
    int missedFarAtLevelOne = 0;
    for (const Case& c : cases) {
        for (int level = 1; level <= NoviceLevelCount; ++level) {
            seedNovice(1000u + level);
            const Position pos = setGame(c.fen);
            int taken = 0;
            for (int i = 0; i < 100; ++i) {
                int score = 0;
                const int32_t move = chooseNoviceMove(pos, level, score);
                ASSERT_TRUE(isLegal(pos, move));
                if (moveIs(move, c.capture)) ++taken;
            }
            EXPECT_GE(taken, c.atLeast[level - 1]) << c.fen << " level " << level;
            if (level == 1 && c.atLeast[0] < 100) missedFarAtLevelOne = 100 - taken;
        }
    }
    // The lowest level does overlook a capture across the board now and then.
    EXPECT_GT(missedFarAtLevelOne, 0);
}

TEST_F(Novice, MateInOneIsNeverMissedAndTheSearchPlaysTheBeginnersMove) {
    const char* const mates[] = {
        "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1",
        "r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1",
        "6rk/6pp/7N/8/8/8/1q6/3N2K1 w - - 0 1", // the knight could take the queen instead
        "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 0 4",
    };
    for (const char* fen : mates) {
        const Position pos = setGame(fen);
        ASSERT_EQ(mateLength(pos, 1), 1) << fen;
        for (int level = 1; level <= NoviceLevelCount; ++level) {
            seedNovice(77u * level);
            for (int i = 0; i < 50; ++i) {
                int score = 0;
                const int32_t move = chooseNoviceMove(pos, level, score);
                const Position next = after(pos, move);
                ASSERT_EQ(countLegalMoves(next, 3 - pos.sideToMove), Checkmated) << fen << " level " << level;
                EXPECT_GT(pos.sideToMove == White ? score : -score, 9000);
            }
        }
    }
    // Through the engine's own search: the game's move is the beginner's mate.
    noviceLevel = 2;
    setGame(mates[2]);
    engineSession.engineColour = EnginePlaysWhite;
    rootSearch(engineSession.gamePosition, ThinkMode, 20);
    EXPECT_EQ(countLegalMoves(engineSession.gamePosition, Black), Checkmated);
    EXPECT_TRUE(moveIs(engineSession.engineMove, "h6f7"));
    EXPECT_EQ(rootDepth, 1); // no iterative deepening ran
}

} // namespace
