#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/search/novice.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "tests/game/game_harness.h"

namespace {

TEST_F(GameTest, LevelsBecomeDepthAndLevelLines) {
    startGame();
    const struct {
        int mode;
        long value;
        int depth, minutes, seconds;
    } levels[] = {
        {0, 3, 5, 99, 0},      // "Rank" "4": depth 5, no move-time limit
        {0, 0, 2, 99, 0},      // "Rank" "1": depth 2
        {0, 9, 11, 99, 0},     // "Rank" "10": depth 11
        {1, 5000, 99, 0, 5},   // "Turn In" "5 sec"
        {1, 30000, 99, 0, 30}, // "Turn In" "30 sec"
        {1, 180000, 99, 3, 0}, // "Turn In" "3 min"
        {3, 1, 2, 99, 0},      // "Novice" "2": its own move choice, no clock
        {2, 300000, 99, 5, 0}, // "Game In" "5 min"
    };
    for (const auto& level : levels) {
        engineBridge().setLevel(level.mode, level.value);
        EXPECT_EQ(engineSession.depthLimit, level.depth) << level.mode << " " << level.value;
        EXPECT_EQ(engineSession.baseMinutes, level.minutes) << level.mode << " " << level.value;
        EXPECT_EQ(engineSession.increment, level.seconds) << level.mode << " " << level.value;
        EXPECT_EQ(engineBridge().levelMode, level.mode);
        EXPECT_EQ(engineBridge().levelValue, level.value);
        EXPECT_EQ(noviceLevel, level.mode == 3 ? level.value + 1 : 0);
    }
    EXPECT_EQ(engineSession.whiteClock, 30000); // the whole game time, in centiseconds
    EXPECT_EQ(engineSession.blackClock, 30000);
}

TEST_F(GameTest, BridgeListsAndPiecesBeforeTheLastMove) {
    startGame();
    EngineBridge& bridge = engineBridge();
    loadText("[FEN \"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1\"]\r\n\r\n*");
    bridge.computeDestinations(col("e1"), row("e1"), White);
    int castlings = 0, column, r;
    while (bridge.nextDestination(column, r))
        if (r == row("e1") && (column == col("g1") || column == col("c1"))) ++castlings;
    EXPECT_EQ(castlings, 2); // g1 and c1 through the castling moves
    EXPECT_EQ(bridge.destinationCursor, -1);

    // Black's pieces while White is to move (the user as Black before the engine's move).
    bridge.computeMovablePieces(Black);
    EXPECT_EQ(bridge.movableCount, 3);
    EXPECT_EQ(bridge.destinationCount, 0);

    ASSERT_TRUE(bridge.tryUserMove(col("a1"), row("a1"), col("a8"), row("a8")));
    EXPECT_EQ(bridge.pieceAt(col("a8"), row("a8")), WhiteRook);
    EXPECT_EQ(bridge.pieceBeforeLastMove(col("a8"), row("a8")), BlackRook);
    EXPECT_EQ(bridge.pieceAt(9, 0), Empty);                                       // off the board
    EXPECT_FALSE(bridge.tryUserMove(col("h8"), row("h8"), col("h1"), row("h1"))); // does not answer the check
    int fc, fr, tc, tr;
    engineSession.expectedReply = 0;
    EXPECT_EQ(bridge.predictedReply(fc, fr, tc, tr), 0);
    // A predicted castling is the king's step from its start square.
    engineSession.expectedReply = BlackKingSideMove;
    ASSERT_EQ(bridge.predictedReply(fc, fr, tc, tr), 1);
    EXPECT_EQ(fc, col("e8"));
    EXPECT_EQ(fr, row("e8"));
    EXPECT_EQ(tc, col("g8"));
    EXPECT_EQ(tr, row("g8"));
    engineSession.expectedReply = 0;

    // A game set up with Black to move never reaches ply 1: going back stops at its start.
    loadText("[FEN \"4k3/8/8/8/8/8/8/4K2R b K - 0 12\"]\r\n\r\n*");
    const Position start = engineSession.gamePosition;
    game().takeBackAll();
    EXPECT_TRUE(samePosition(start, engineSession.gamePosition));
}

} // namespace
