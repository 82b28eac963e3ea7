#include <vector>

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
    // While the engine thinks the prediction is for a position yet to come.
    EXPECT_FALSE(game().hintAvailable());
    ASSERT_TRUE(waitForEngine());
    ASSERT_TRUE(game().hintAvailable());
    // A predicted move that is no move of this position is no hint.
    const std::int32_t predicted = engineSession.expectedReply;
    engineSession.expectedReply = engineSession.engineMove.load();
    EXPECT_FALSE(game().hintAvailable());
    EXPECT_EQ(game().hintMove[0], -1);
    engineSession.expectedReply = predicted;
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
        {White, 700, 350, 1, false},   // still winning clearly
        {White, 9990, 800, 1, false},  // a mate given up for a winning position
        {White, 9990, 9980, 1, false}, // both mates for the user
        {Black, -9992, -9985, 1, false},
        {White, 9990, 250, 1, true},   // a mate thrown away
        {White, 100, -9990, 1, true},  // into a mate
        {White, -9995, -9998, 1, false}, // lost before and after
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

TEST_F(GameTest, TutorSparesTheHintedMoveAndShowsTheBetterOneAfterYes) {
    startGame();
    game().settings.tutorMode = 1;
    loadText(QuietGame);
    tap(col("h2"), row("h2"));
    tap(col("h3"), row("h3"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_TRUE(game().hintAvailable());
    const std::vector<int> hint(game().hintMove, game().hintMove + 4);
    const std::int32_t predicted = engineSession.expectedReply;
    const Position before = engineSession.gamePosition;
    // Pretend the user stood much better: an ordinary move then looks like a drop.
    const int pretended = 450;
    engineSession.rootScore = pretended;
    tap(hint[0], hint[1]);
    tap(hint[2], hint[3]);
    ASSERT_TRUE(waitForEngine());
    EXPECT_TRUE(platform->questions.empty()); // the hinted move is never called weak

    // The same position as the engine's move left it, and another move: the
    // tutor asks; after Yes the Hint shows the move the engine had expected.
    game().takeBack(true);
    ASSERT_TRUE(samePosition(before, engineSession.gamePosition));
    engineSession.rootScore = pretended;
    game().scoreValid = true;
    engineSession.expectedReply = predicted;
    platform->answer = [] { return true; };
    const char* other[2] = {"a2", "a3"};
    if (hint[0] == col("a2")) other[0] = "b2", other[1] = "b3";
    tap(col(other[0]), row(other[0]));
    tap(col(other[1]), row(other[1]));
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(platform->questions.size(), 1u);
    EXPECT_TRUE(samePosition(before, engineSession.gamePosition));
    EXPECT_EQ(engineSession.rootScore, pretended);
    ASSERT_TRUE(game().hintAvailable());
    EXPECT_EQ(std::vector<int>(game().hintMove, game().hintMove + 4), hint);
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

    // Takeback all with the user Black stops after White's first move: the
    // engine waits and the record stays whole for going forward again.
    game().settings.levelMode = LevelRank;
    game().settings.levelValue = 0;
    game().applySettings();
    tap(col("g8"), row("g8"));
    tap(col("f6"), row("f6"));
    ASSERT_TRUE(waitForEngine());
    tap(col("e7"), row("e7"));
    tap(col("e6"), row("e6"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(engineSession.gamePosition.ply, 6);
    const Position whole = engineSession.gamePosition;
    game().takeBackAll();
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    EXPECT_FALSE(game().engineBusy);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(recordLength(), 5);
    EXPECT_TRUE(game().canForwardAll());
    game().forwardAll();
    EXPECT_TRUE(samePosition(whole, engineSession.gamePosition));

    // Takeback goes no further back than the user's first turn either.
    game().takeBack(true);
    game().takeBack(true);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_FALSE(game().canTakeBack());
    game().takeBack(true);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_FALSE(game().engineBusy);

    // Forward while the engine thinks: it stops and one ply is replayed.
    slowEngine(game());
    game().swapSides(); // the engine takes Black, which is to move
    ASSERT_TRUE(game().engineBusy);
    game().forward();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    // Forward all while thinking stops the engine before replaying the record.
    game().swapSides(); // the engine takes White, which is to move
    ASSERT_TRUE(game().engineBusy);
    game().forwardAll();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_TRUE(samePosition(whole, engineSession.gamePosition));
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 6);
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

TEST_F(GameTest, GameSettingsDuringASearchStopItAndGoOnWithTheRightSide) {
    startGame();
    slowEngine(game());
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(game().engineBusy);
    // The user takes Black, the side the engine is thinking for: the engine
    // stops and the move is the user's.
    game().settings.userPlaysWhite = 0;
    game().applySettings();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(game().userColour, Black);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(engineSession.searchState, 0);
    // The user plays Black; the engine answers for White at the new level.
    game().settings.levelMode = LevelRank;
    game().settings.levelValue = 0;
    game().applySettings();
    tap(col("e7"), row("e7"));
    tap(col("e5"), row("e5"));
    ASSERT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 4);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);

    // A new level while the engine thinks for its own side: it starts again
    // and still plays that side.
    slowEngine(game());
    tap(col("d7"), row("d7"));
    tap(col("d6"), row("d6"));
    ASSERT_TRUE(game().engineBusy);
    game().settings.levelMode = LevelRank;
    game().settings.levelValue = 0;
    game().applySettings();
    EXPECT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 6);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
}

} // namespace
