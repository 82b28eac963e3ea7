#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/clocks.h"
#include "tests/game/game_harness.h"

namespace {

// A quiet middle-game position that no opening book knows, White to move.
const char* const QuietGame =
    "[FEN \"r1bq1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R1BQ1RK1 w - - 0 9\"]\r\n\r\n*";

// Gives the engine about two seconds per move, so that it is still thinking
// when the test acts.
void slowEngine(GameController& game) {
    game.settings.levelMode = LevelTurnIn;
    game.settings.levelValue = 2000;
    game.applySettings();
}

TEST_F(GameTest, HintSlidesTheExpectedPieceThereAndBack) {
    startGame();
    EXPECT_FALSE(game().hintAvailable()); // nothing predicted at the start
    loadText(QuietGame);
    tap(col("h2"), row("h2"));
    tap(col("h3"), row("h3"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_TRUE(game().hintAvailable());
    const Position before = engineSession.gamePosition;
    const int fromColumn = game().hintMove[0], fromRow = game().hintMove[1];
    EXPECT_EQ(pieceColour(engineBridge().pieceAt(fromColumn, fromRow)), White);

    platform->slidePaints = 0;
    platform->slideX.clear();
    game().showHint();
    ASSERT_GT(game().animFrameCount, 0);
    EXPECT_EQ(platform->slidePaints, 2 * game().animFrameCount);
    int x0, y0;
    piecePosition(game(), fromColumn, fromRow, x0, y0);
    EXPECT_NEAR(platform->slideX.back(), x0 - game().animStepX, 1e-9); // on its way home
    EXPECT_EQ(game().selectedColumn, -1);
    EXPECT_EQ(game().selectedRow, -1);
    EXPECT_TRUE(samePosition(before, engineSession.gamePosition)); // nothing played
    EXPECT_TRUE(game().hintAvailable());                           // and it can be shown again
}

// White offers its queen; the engine's first iteration sees it lost.
const char* const QueenBlunder = "[FEN \"3qk3/8/8/8/8/8/8/3QK3 w - - 0 1\"]\r\n\r\n*";

TEST_F(GameTest, TutorAnsweredYesStopsTheEngineThreadAndTakesTheMoveBack) {
    startGame();
    loadText(QueenBlunder);
    const Position before = engineSession.gamePosition;
    int whiteDuring = -1, blackDuring = -1;
    platform->answer = [&] {
        // The clocks stand still while the question is open.
        const int white = game().whiteClockMs, black = game().blackClockMs;
        for (int i = 0; i < 3; ++i) {
            platform->now += 1000;
            game().clockTick();
        }
        whiteDuring = game().whiteClockMs - white;
        blackDuring = game().blackClockMs - black;
        EXPECT_TRUE(game().questionOpen);
        return true;
    };
    tap(col("d1"), row("d1"));
    tap(col("d7"), row("d7"));
    ASSERT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine()); // the Yes ends the engine's turn
    ASSERT_EQ(platform->questions.size(), 1u);
    EXPECT_EQ(platform->questions[0], MessageWeakMove);
    EXPECT_EQ(whiteDuring, 0);
    EXPECT_EQ(blackDuring, 0);
    EXPECT_FALSE(game().questionOpen);
    EXPECT_EQ(engineSession.rootScore, game().tutorReferenceScore);
    pumpFor(300); // the abandoned search plays nothing
    EXPECT_TRUE(samePosition(before, engineSession.gamePosition));
    EXPECT_FALSE(game().engineBusy);
}

// The tutor's test on the scores alone, with the engine idle.
TEST_F(GameTest, TutorAsksOnlyAboutDropsOfMoreThanTwoPawns) {
    startGame();
    const struct {
        int colour, reference, score, depth;
        bool asks;
    } cases[] = {
        {White, 50, -150, 1, false}, // exactly 200: no question
        {White, 50, -151, 1, true},  // 201
        {White, 50, -400, 2, false}, // already asked during this search
        {White, 50, -400, 1, true},  // a new search
        {Black, 50, 251, 1, true},   // seen from Black's side
        {Black, 50, -400, 1, false}, // good for Black
        {White, NoTutorReference, -9000, 1, false},
    };
    for (const auto& c : cases) {
        game().userColour = c.colour;
        game().tutorReferenceScore = c.reference;
        engineSession.rootScore = c.score;
        platform->questions.clear();
        game().onEngineProgress(c.depth);
        EXPECT_EQ(platform->questions.size(), c.asks ? 1u : 0u) << c.reference << " " << c.score;
        EXPECT_FALSE(game().questionOpen);
    }
    engineSession.rootScore = 0;
}

TEST_F(GameTest, TutorAnsweredNoLetsTheEngineGoOnAndAsksOncePerSearch) {
    for (int tutor = 1; tutor >= 0; --tutor) {
        startGame();
        game().settings.tutorMode = static_cast<std::uint8_t>(tutor);
        loadText(QueenBlunder);
        tap(col("d1"), row("d1"));
        tap(col("d7"), row("d7"));
        ASSERT_TRUE(waitForEngine());
        EXPECT_EQ(platform->questions.size(), tutor ? 1u : 0u);
        EXPECT_EQ(engineSession.gamePosition.ply, 3);
        const int taker = engineBridge().pieceAt(col("d7"), row("d7"));
        EXPECT_TRUE(taker == BlackQueen || taker == BlackKing); // the queen was taken
    }
}

TEST_F(GameTest, TakebackAndForwardWithTheEngineIdle) {
    startGame();
    EXPECT_FALSE(game().canTakeBack());
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(waitForEngine());
    tap(col("d2"), row("d2"));
    tap(col("d4"), row("d4"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(engineSession.gamePosition.ply, 5);
    EXPECT_FALSE(game().canForward());

    // Back two plies: the engine's reply and the user's move.
    game().takeBack(true);
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, White);
    EXPECT_EQ(game().tutorReferenceScore, NoTutorReference);
    EXPECT_EQ(engineSession.rootScore, 0);
    EXPECT_EQ(engineSession.expectedReply, 0);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_TRUE(game().canForward());
    EXPECT_EQ(recordLength(), 4);

    game().takeBackAll();
    EXPECT_EQ(engineSession.gamePosition.ply, 1);
    EXPECT_EQ(game().tutorReferenceScore, 0);
    EXPECT_FALSE(game().engineBusy); // the user plays White: the engine waits

    game().forward();
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    game().forwardAll();
    EXPECT_EQ(engineSession.gamePosition.ply, 5);
    EXPECT_FALSE(game().canForwardAll());
    game().forward(); // at the end: nothing more, the selection is cleared
    EXPECT_EQ(engineSession.gamePosition.ply, 5);
    EXPECT_EQ(game().selectedColumn, -1);
}

TEST_F(GameTest, TakebackAndForwardWhileTheEngineThreadThinks) {
    // The user plays Black: the engine opens.
    startGame(false);
    EXPECT_EQ(game().userColour, Black);
    EXPECT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(engineSession.gamePosition.ply, 2);
    slowEngine(game());
    EXPECT_FALSE(game().engineBusy); // the user's turn: the level only

    // A Black move, then a takeback while the engine thinks about it.
    tap(col("g8"), row("g8"));
    tap(col("f6"), row("f6"));
    ASSERT_TRUE(game().engineBusy);
    const int colour = engineSession.engineColour;
    game().takeBack(true);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    EXPECT_EQ(engineSession.engineColour, colour);
    EXPECT_FALSE(game().engineBusy);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 2); // the engine does not move

    // Takeback all with the user Black: the engine plays White's first move again.
    game().settings.levelMode = LevelRank;
    game().settings.levelValue = 0;
    game().applySettings();
    game().takeBackAll();
    EXPECT_EQ(engineSession.gamePosition.ply, 1);
    EXPECT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 2);

    // Forward while the engine thinks: it stops and one ply is replayed.
    tap(col("g8"), row("g8"));
    tap(col("f6"), row("f6"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(engineSession.gamePosition.ply, 4);
    slowEngine(game());
    game().takeBackAll(); // the engine starts White's first move again
    ASSERT_TRUE(game().engineBusy);
    game().forward();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    // Forward all while thinking stops the engine before replaying the record.
    game().takeBackAll();
    ASSERT_TRUE(game().engineBusy);
    game().forwardAll();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.gamePosition.ply, 4);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 4);
}

TEST_F(GameTest, SwapSidesHandsTheMoveOverAndBack) {
    startGame();
    // The user gives White to the engine, which moves at once.
    game().swapSides();
    EXPECT_EQ(game().userColour, Black);
    EXPECT_EQ(game().settings.userPlaysWhite, 0);
    EXPECT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);

    // Again, and at once again while the engine thinks: the move comes back.
    slowEngine(game());
    game().swapSides();
    EXPECT_EQ(game().userColour, White);
    EXPECT_TRUE(game().engineBusy);
    game().swapSides();
    EXPECT_EQ(game().userColour, Black);
    EXPECT_FALSE(game().engineBusy);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    // The user plays on with Black.
    tap(col("g8"), row("g8"));
    tap(col("f6"), row("f6"));
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
}

} // namespace
