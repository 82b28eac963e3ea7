// The end of the game, the result lines, and the resign and draw decisions.
#include "tests/search/search_fixture.h"

#include <string>

#include "engine/search/results.h"

using namespace searchtest;

namespace {

class SearchResults : public ::testing::Test {
  protected:
    void SetUp() override {
        freshEngine();
        losingStreak[White] = losingStreak[Black] = 0;
        drawishStreak = acceptStreak = 0;
        drawScore = 0;
    }
};

TEST_F(SearchResults, GameOverRecognisesEveryEnding) {
    struct Case {
        const char* fen;
        int over, result;
        const char* lines;
    };
    const Case cases[] = {
        {"R5k1/5ppp/8/8/8/8/8/6K1 b - -", 1, WhiteWon, "1-0 {White Mates}\n"},
        {"6k1/8/8/8/8/8/5PPP/r5K1 w - -", 1, BlackWon, "0-1 {Black Mates}\n"},
        {"7k/5Q2/6K1/8/8/8/8/8 b - -", 1, Drawn, "1/2-1/2 {Draw by Stalemate}\n"},
        {"8/8/3k4/8/8/8/1K1B4/8 w - -", 1, Drawn, "1/2-1/2 {Draw by Insufficent Material to Mate}\n"},
        {"8/8/3k4/8/8/8/1K1N4/8 b - -", 1, Drawn, "1/2-1/2 {Draw by Insufficent Material to Mate}\n"},
        {"8/8/8/3k4/8/8/8/1K6 w - -", 1, Drawn, "1/2-1/2 {Draw by Insufficent Material to Mate}\n"},
        {"8/8/3kn3/8/8/8/1K1N4/8 w - -", 0, GameInProgress, ""}, // a piece each: play on
        {"8/8/3k4/8/8/8/1K1NN3/8 w - -", 0, GameInProgress, ""}, // two knights: not by this rule
        {"8/8/4k3/8/8/8/1K1R4/8 w - -", 0, GameInProgress, ""},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 0, GameInProgress, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        Position pos = setGame(c.fen);
        engineSession.gameResult = GameInProgress;
        EXPECT_EQ(gameOver(pos), c.over);
        EXPECT_EQ(engineSession.gameResult.load(), c.result);
        testing::internal::CaptureStdout();
        printResult(pos);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.lines);
    }
}

TEST_F(SearchResults, FiftyMovesAndRepetitionEndTheGame) {
    Position pos = setGame("8/8/4k3/8/8/8/1K1R4/8 w - -");
    pos.ply = 150;
    pos.lastIrreversiblePly = 51;
    EXPECT_EQ(gameOver(pos), 0);
    pos.lastIrreversiblePly = 50;
    EXPECT_EQ(gameOver(pos), 1);
    EXPECT_EQ(engineSession.gameResult.load(), Drawn);

    // The rook shuttles: the third occurrence ends the game, with both draw lines
    // when the fifty-move count is reached as well.
    setGame("8/8/4k3/8/8/8/1K1R4/8 w - -");
    engineSession.gamePosition.ply = 101; // late in a game that started elsewhere
    engineSession.gamePosition.lastIrreversiblePly = 90;
    const char* shuttle[] = {"d2d1", "e6e7", "d1d2", "e7e6", "d2d1", "e6e7", "d1d2"};
    for (const char* text : shuttle) {
        EXPECT_EQ(gameOver(engineSession.gamePosition), 0) << text;
        playGameMove(text);
    }
    EXPECT_EQ(gameOver(engineSession.gamePosition), 0); // second occurrence
    playGameMove("e7e6");
    EXPECT_EQ(gameOver(engineSession.gamePosition), 1);
    EXPECT_EQ(engineSession.gameResult.load(), Drawn);
    testing::internal::CaptureStdout();
    printResult(engineSession.gamePosition);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1/2-1/2 {Draw by Repetition}\n");
    engineSession.gamePosition.lastIrreversiblePly = 9; // 100 plies ago, same side to move
    testing::internal::CaptureStdout();
    printResult(engineSession.gamePosition);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "1/2-1/2 {Draw by 50 Move Rule}\n1/2-1/2 {Draw by Repetition}\n");
}

TEST_F(SearchResults, LostEngineResignsAfterFourLosingMoves) {
    // The engine plays White with a bare king and a pawn against rook and pawns.
    setGame("6k1/5ppp/8/8/8/8/r6P/4K3 w - -");
    EXPECT_EQ(engineSession.gamePosition.blackMaterial - engineSession.gamePosition.whiteMaterial, 710);
    testing::internal::CaptureStdout();
    EXPECT_EQ(resignOrOfferDraw(-700, White), 0);
    EXPECT_EQ(resignOrOfferDraw(-700, White), 0);
    EXPECT_EQ(resignOrOfferDraw(-690, White), 0);
    EXPECT_EQ(resignOrOfferDraw(-681, White), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "resign\n");
    EXPECT_EQ(losingStreak[White], -2);

    // A better score breaks the streak; not allowed to resign, it never does.
    losingStreak[White] = 0;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 3; ++i) resignOrOfferDraw(-700, White);
    resignOrOfferDraw(-600, White);
    EXPECT_EQ(resignOrOfferDraw(-700, White), 0);
    engineOptions.resignAllowed = 0;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(resignOrOfferDraw(-900, White), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    engineOptions.resignAllowed = 1;

    // As Black the losing scores are positive (White's view); the opponent must
    // still be able to win: a lone bishop cannot.
    setGame("6k1/8/8/8/8/8/8/1B2K3 b - -");
    testing::internal::CaptureStdout();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(resignOrOfferDraw(800, Black), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(SearchResults, DrawIsOfferedAfterFiveDrawishMovesAndAcceptedInThinEndings) {
    setGame("8/5k2/8/8/8/8/3R4/4K2r w - -");
    drawScore = 28;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(resignOrOfferDraw(28, White), 0);
        EXPECT_EQ(engineSession.drawAcceptable.load(), 0);
    }
    EXPECT_EQ(resignOrOfferDraw(-2, White), 1); // within 2 of nothing counts as drawish
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "offer draw\n");
    EXPECT_EQ(engineSession.drawAcceptable.load(), 1);
    EXPECT_EQ(drawishStreak, -3);
    // The next move clears it; with a score no better than the draw for six moves
    // in a thin ending the engine would accept a draw offer.
    resignOrOfferDraw(-50, White);
    EXPECT_EQ(engineSession.drawAcceptable.load(), 0);
    acceptStreak = 0;
    for (int i = 0; i < 5; ++i) resignOrOfferDraw(-50, White);
    EXPECT_EQ(engineSession.drawAcceptable.load(), 0);
    resignOrOfferDraw(-50, White);
    EXPECT_EQ(engineSession.drawAcceptable.load(), 1);
    resignOrOfferDraw(100, White); // better than a draw for White: no longer
    EXPECT_EQ(engineSession.drawAcceptable.load(), 0);

    // Without draw offers allowed nothing is offered.
    engineOptions.drawOffersAllowed = 0;
    drawishStreak = 0;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(resignOrOfferDraw(28, White), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    engineOptions.drawOffersAllowed = 1;

    // Early with much material on the board the streak does not grow.
    setGame("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    drawishStreak = 0;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(resignOrOfferDraw(drawScore, White), 0);
    EXPECT_EQ(drawishStreak, 0);
}

} // namespace
