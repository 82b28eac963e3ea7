#include <algorithm>
#include <cmath>

#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "engine/search/results.h"
#include "tests/game/game_harness.h"

namespace {

bool isDestination(const char* name) {
    bool found = false;
    int column, row;
    while (engineBridge().nextDestination(column, row)) found |= column == col(name) && row == ::row(name);
    return found;
}

int framesFor(int fromColumn, int fromRow, int toColumn, int toRow) {
    const double dc = toColumn - fromColumn, dr = toRow - fromRow;
    return static_cast<int>(2.0 * std::sqrt(dc * dc + dr * dr));
}

TEST_F(GameTest, TapMoveSlidesAndTheEngineThreadAnswersThroughItsNotification) {
    startGame();
    EXPECT_EQ(platform->runningTimers.size(), 1u); // started by the first paint
    tap(col("e2"), row("e2"));
    game().stylusPressed(0, 0); // off the board: ignored, but the destinations are emptied
    EXPECT_TRUE(game().pieceSelected);
    EXPECT_EQ(engineBridge().destinationCount, 0);
    tap(col("e4"), row("e4"));
    EXPECT_EQ(platform->slidePaints, 4); // two squares straight
    EXPECT_EQ(platform->sleptMs, 4 * 50);
    EXPECT_TRUE(game().engineBusy);
    EXPECT_FALSE(game().pieceSelected);
    EXPECT_EQ(engineBridge().pieceAt(col("e4"), row("e4")), WhitePawn);

    platform->slidePaints = 0;
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    const int move = engineSession.engineMove, to = moveDestination(move);
    const int from = isCastling(move) ? squareOf(4, rowOf(to)) : moveOrigin(move);
    EXPECT_EQ(platform->slidePaints, framesFor(columnOf(from), rowOf(from), columnOf(to), rowOf(to)));
    EXPECT_EQ(game().selectedColumn, -1);
    EXPECT_EQ(platform->runningTimers.size(), 1u);
    // The user's pieces that can move: king, queen and bishop are free after 1. e4.
    int column, r, movable = 0;
    while (engineBridge().nextMovablePiece(column, r)) {
        EXPECT_EQ(pieceColour(engineBridge().pieceAt(column, r)), White);
        ++movable;
    }
    EXPECT_GE(movable, 12);
}

TEST_F(GameTest, SelectionAndItsMarks) {
    startGame();
    tap(col("e2"), row("e2")); // press and release: selected with e3 and e4 marked
    EXPECT_EQ(game().selectedColumn, col("e2"));
    EXPECT_EQ(game().selectedPiece, WhitePawn);
    EXPECT_EQ(engineBridge().destinationCount, 2);
    EXPECT_TRUE(isDestination("e3"));
    EXPECT_TRUE(isDestination("e4"));
    tap(col("g1"), row("g1")); // another own piece becomes the selection
    EXPECT_EQ(game().selectedColumn, col("g1"));
    EXPECT_TRUE(isDestination("h3"));

    // An illegal tap drops the selection and marks the movable pieces while held.
    int x, y;
    squarePoint(col("g5"), row("g5"), x, y);
    game().stylusPressed(x, y);
    EXPECT_EQ(game().selectedColumn, -1);
    EXPECT_TRUE(game().showMovablePieces);
    EXPECT_EQ(engineBridge().movableCount, 10); // eight pawns and two knights, each once
    game().stylusReleased(x, y);
    EXPECT_FALSE(game().showMovablePieces);
    EXPECT_EQ(engineSession.gamePosition.ply, 1);
    tap(col("d2"), row("d2")); // an own piece is selected again
    EXPECT_EQ(game().selectedColumn, col("d2"));

    // With nothing selected, a press on an empty square marks the movable pieces.
    game() = GameController{};
    startGame();
    squarePoint(col("d5"), row("d5"), x, y);
    game().stylusPressed(x, y);
    EXPECT_TRUE(game().showMovablePieces && game().stylusDown && !game().pieceSelected);
    game().stylusReleased(x, y);
    EXPECT_FALSE(game().showMovablePieces || game().stylusDown);
}

TEST_F(GameTest, DragMovesLandWithoutASlideAndIllegalDragsKeepTheSelection) {
    startGame();
    drag(col("e2"), row("e2"), col("e5"), row("e5")); // not a move
    EXPECT_EQ(engineSession.gamePosition.ply, 1);
    EXPECT_TRUE(game().pieceSelected);
    EXPECT_EQ(game().selectedColumn, col("e2"));

    int x0, y0, x1, y1;
    squarePoint(col("e2"), row("e2"), x0, y0);
    squarePoint(col("e4"), row("e4"), x1, y1);
    game().stylusPressed(x0, y0);
    game().stylusMoved(x1, y1 - 3); // the piece follows the stylus
    EXPECT_EQ(game().dragDX, x1 - x0);
    EXPECT_EQ(game().dragDY, y1 - 3 - y0);
    game().stylusReleased(x1, y1);
    EXPECT_EQ(platform->slidePaints, 0);
    EXPECT_EQ(engineBridge().pieceAt(col("e4"), row("e4")), WhitePawn);
    EXPECT_TRUE(game().engineBusy);
    tap(col("d2"), row("d2")); // ignored while the engine thinks
    EXPECT_NE(game().selectedColumn, col("d2"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
}

TEST_F(GameTest, CastlingAndPromotionByTap) {
    startGame();
    loadText("[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\r\n\r\n*");
    tap(col("e1"), row("e1"));
    EXPECT_TRUE(isDestination("g1"));
    tap(col("g1"), row("g1"));
    EXPECT_EQ(platform->slidePaints, 4);
    EXPECT_EQ(engineBridge().pieceAt(col("g1"), row("g1")), WhiteKing);
    EXPECT_EQ(engineBridge().pieceAt(col("f1"), row("f1")), WhiteRook);
    ASSERT_TRUE(waitForEngine());

    loadText("[FEN \"4k3/P7/8/8/8/8/8/4K3 w - - 0 1\"]\r\n\r\n*");
    tap(col("a7"), row("a7"));
    tap(col("a8"), row("a8"));
    EXPECT_EQ(engineBridge().pieceAt(col("a8"), row("a8")), WhiteQueen); // no choice offered
    ASSERT_TRUE(waitForEngine());
}

TEST_F(GameTest, SlidesTakeTwoFramesPerSquareAndStopOneStepShort) {
    startGame();
    const struct {
        const char *from, *to;
        int frames;
    } slides[] = {{"g1", "f3", 4}, {"e2", "e4", 4}, {"e2", "e3", 2}, {"a1", "h8", 19}};
    for (const auto& slide : slides) {
        platform->slidePaints = 0;
        platform->slideX.clear();
        game().slidePiece(col(slide.from), row(slide.from), col(slide.to), row(slide.to));
        EXPECT_EQ(platform->slidePaints, slide.frames) << slide.from << slide.to;
        EXPECT_FALSE(game().animating);
        int x0, y0, x1, y1;
        piecePosition(game(), col(slide.from), row(slide.from), x0, y0);
        piecePosition(game(), col(slide.to), row(slide.to), x1, y1);
        EXPECT_DOUBLE_EQ(platform->slideX.front(), x0);
        EXPECT_NEAR(platform->slideX.back(), x1 - game().animStepX, 1e-9);
    }

    // The engine's capture: the taken piece stays on its square while the taker slides.
    loadText("[FEN \"4k3/8/8/2p5/8/8/8/3QK3 w - - 0 1\"]\r\n\r\n*");
    tap(col("d1"), row("d1"));
    tap(col("d4"), row("d4"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineBridge().pieceAt(col("d4"), row("d4")), BlackPawn);
    EXPECT_EQ(game().capturedPiece, WhiteQueen);
    EXPECT_EQ(game().animPiece, BlackPawn);
    EXPECT_EQ(game().animHiddenColumn * 10 + game().animHiddenRow, col("d4") * 10 + row("d4"));
}

// The result token after the last move of a saved game, and its Result tag.
std::string savedResult(const std::string& path, std::string& tag) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string text;
    for (int c; file && (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    if (file) std::fclose(file);
    const std::size_t at = text.find("[Result \"");
    tag = at == std::string::npos ? "" : text.substr(at + 9, text.find('"', at + 9) - at - 9);
    return text.substr(text.rfind('\n') + 1);
}

bool allTrue(const std::vector<bool>& paints) {
    return !paints.empty() && std::find(paints.begin(), paints.end(), false) == paints.end();
}

TEST_F(GameTest, GameEndIsShownAnnouncedAndKeptFromTheBoard) {
    startGame();
    const std::string saved = (folder / "ended.pgn").string();
    std::string tag;

    // The user mates: every paint of the mating move shows the end, a box says
    // who won, the board takes no selection, the clocks stand.
    loadText("[FEN \"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\"]\r\n\r\n*");
    tap(col("a1"), row("a1"));
    platform->decidedAtPaint.clear();
    tap(col("a8"), row("a8"));
    EXPECT_TRUE(allTrue(platform->decidedAtPaint));
    EXPECT_EQ(platform->messages, std::vector<int>{MessageYouMate});
    EXPECT_TRUE(game().gameDecided());
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.gameResult, WhiteWon);
    for (int i = 0; i < 3; ++i) {
        platform->now += 1000;
        game().clockTick();
    }
    EXPECT_EQ(game().whiteClockMs + game().blackClockMs, 0); // frozen
    tap(col("g1"), row("g1"));
    EXPECT_FALSE(game().pieceSelected);
    drag(col("g1"), row("g1"), col("f1"), row("f1"));
    EXPECT_EQ(engineBridge().pieceAt(col("g1"), row("g1")), WhiteKing);
    EXPECT_FALSE(game().hintAvailable());
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "1-0");
    EXPECT_EQ(tag, "1-0");
    // A takeback gives the user the move back and keeps the mate for Forward.
    game().takeBack(true);
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(engineBridge().pieceAt(col("a1"), row("a1")), WhiteRook);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, White);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "*");
    EXPECT_EQ(tag, "*");
    game().forwardAll();
    EXPECT_TRUE(game().gameDecided());
    EXPECT_EQ(platform->messages.size(), 1u); // going forward announces nothing

    // The engine mates: the paints of its move show the end at once.
    loadText("[FEN \"1r4k1/8/8/8/8/8/P5PP/7K w - - 0 1\"]\r\n\r\n*");
    EXPECT_FALSE(game().gameDecided()); // the load leaves the finished game
    platform->messages.clear();
    tap(col("a2"), row("a2"));
    tap(col("a3"), row("a3"));
    platform->decidedAtPaint.clear();
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineBridge().pieceAt(col("b1"), row("b1")), BlackRook);
    EXPECT_TRUE(allTrue(platform->decidedAtPaint));
    EXPECT_EQ(platform->messages, std::vector<int>{MessageComputerMates});
    EXPECT_EQ(engineSession.gameResult, BlackWon);
    EXPECT_EQ(engineBridge().movableCount, 0);
    platform->now += 1000;
    game().clockTick();
    EXPECT_EQ(game().whiteClockMs + game().blackClockMs, 0);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "0-1");
    EXPECT_EQ(tag, "0-1");

    // Stalemate by the user: a draw, said so.
    loadText("[FEN \"7k/8/5K2/8/8/8/8/6Q1 w - - 0 1\"]\r\n\r\n*");
    platform->messages.clear();
    tap(col("g1"), row("g1"));
    tap(col("g6"), row("g6"));
    EXPECT_EQ(platform->messages, std::vector<int>{MessageStalemate});
    EXPECT_EQ(game().gameResultCode(), Drawn);

    // The engine resigns after its fourth hopeless move: the user hears at once,
    // and the engine has resigned indeed.
    loadText("[FEN \"7k/8/8/8/8/8/8/KQR5 w - - 0 1\"]\r\n\r\n*");
    platform->messages.clear();
    losingStreak[Black] = 3;
    tap(col("c1"), row("c1"));
    tap(col("c2"), row("c2"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(platform->messages, std::vector<int>{MessageComputerResigns});
    EXPECT_EQ(game().gameEnd, EndResigned);
    EXPECT_EQ(losingStreak[Black], -2);
    tap(col("c2"), row("c2"));
    EXPECT_FALSE(game().pieceSelected);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "1-0");
    EXPECT_EQ(tag, "1-0");
    losingStreak[Black] = 0;

    // The user resigns (a bishop against a knight): the same end, its box, the
    // result saved; the saved game loads as ended, and a takeback goes on with it.
    const char* const minorPieces = "[FEN \"4k3/8/8/2n5/8/8/5B2/4K3 w - - 0 1\"]\r\n\r\n*";
    loadText(minorPieces);
    platform->messages.clear();
    platform->questions.clear();
    drawishStreak = 0;
    tap(col("e1"), row("e1"));
    tap(col("d2"), row("d2"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_TRUE(game().resign());
    EXPECT_EQ(platform->messages, std::vector<int>{MessageYouResign});
    EXPECT_EQ(game().gameEnd, EndUserResigned);
    EXPECT_EQ(engineSession.gameResult, BlackWon);
    EXPECT_FALSE(game().resign());
    EXPECT_FALSE(game().offerDraw());
    const std::int32_t clocks = game().whiteClockMs + game().blackClockMs;
    platform->now += 3000;
    game().clockTick();
    EXPECT_EQ(game().whiteClockMs + game().blackClockMs, clocks); // they stand
    tap(col("d2"), row("d2"));
    EXPECT_FALSE(game().pieceSelected);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "0-1");
    EXPECT_EQ(tag, "0-1");
    // Taken back the game goes on; forward to where the user resigned it is over again.
    const int resignedAt = engineSession.gamePosition.ply;
    game().takeBack(true);
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(engineSession.gameResult, GameInProgress);
    while (engineSession.gamePosition.ply < resignedAt && game().canForward()) game().forward();
    EXPECT_EQ(game().gameEnd, EndUserResigned);
    EXPECT_EQ(engineSession.gameResult, BlackWon);
    EXPECT_EQ(platform->messages.size(), 1u); // going forward announces nothing
    tap(col("d2"), row("d2"));
    EXPECT_FALSE(game().pieceSelected);
    drag(col("d2"), row("d2"), col("d3"), row("d3"));
    EXPECT_EQ(engineBridge().pieceAt(col("d2"), row("d2")), WhiteKing);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "0-1");
    EXPECT_EQ(tag, "0-1");
    ASSERT_TRUE(game().readGameFromFile(saved.c_str()));
    EXPECT_EQ(game().gameEnd, EndRecordedResult);
    EXPECT_EQ(game().gameResultCode(), BlackWon);
    EXPECT_EQ(platform->messages.size(), 1u); // a load announces nothing
    tap(col("d2"), row("d2"));
    EXPECT_FALSE(game().pieceSelected);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "0-1");
    game().takeBack(true);
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(engineSession.gameResult, GameInProgress);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "*");
    game().forwardAll(); // the loaded result stands at the record's end
    EXPECT_EQ(game().gameEnd, EndRecordedResult);
    EXPECT_EQ(game().gameResultCode(), BlackWon);
    game().takeBack(true);
    EXPECT_FALSE(game().gameDecided());

    // The engine offers a draw after its fifth drawish move. Declined, the game goes
    // on and the engine has offered indeed (it accepts the user's offer now); accepted,
    // the game is drawn and the engine rests.
    platform->messages.clear();
    drawishStreak = 4;
    tap(col("e1"), row("e1"));
    tap(col("d2"), row("d2"));
    ASSERT_TRUE(waitForEngine());
    pumpUntilIdle();
    EXPECT_EQ(platform->questions, std::vector<int>{MessageComputerOffersDraw});
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(drawishStreak, -3);
    EXPECT_TRUE(game().offerDraw());
    EXPECT_EQ(platform->messages, std::vector<int>{MessageDrawAgreed});
    EXPECT_EQ(game().gameResultCode(), Drawn);
    game().takeBack(true);
    platform->questions.clear();
    platform->messages.clear();
    platform->answer = [] { return true; };
    drawishStreak = 4;
    tap(col("e1"), row("e1"));
    tap(col("d2"), row("d2"));
    ASSERT_TRUE(waitForEngine());
    pumpUntilIdle();
    EXPECT_EQ(platform->questions, std::vector<int>{MessageComputerOffersDraw});
    EXPECT_EQ(platform->messages, std::vector<int>{MessageDrawAgreed});
    EXPECT_EQ(game().gameEnd, EndDrawAgreed);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.searchState, 0);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "1/2-1/2");
    EXPECT_EQ(tag, "1/2-1/2");
    platform->answer = [] { return false; };
    // The agreement, too, comes back with the position; a move played anew drops
    // it, even when the game comes back to the same ply.
    const int agreedAt = engineSession.gamePosition.ply;
    game().takeBack(true);
    EXPECT_FALSE(game().gameDecided());
    game().forwardAll();
    EXPECT_EQ(game().gameEnd, EndDrawAgreed);
    EXPECT_EQ(engineSession.gameResult, Drawn);
    EXPECT_EQ(engineSession.gamePosition.ply, agreedAt);
    ASSERT_TRUE(game().writeGameToFile(saved.c_str()));
    EXPECT_EQ(savedResult(saved, tag), "1/2-1/2");
    EXPECT_EQ(tag, "1/2-1/2");
    game().takeBack(true);
    drawishStreak = 0;
    tap(col("e1"), row("e1"));
    tap(col("d2"), row("d2"));
    ASSERT_TRUE(waitForEngine());
    pumpUntilIdle();
    EXPECT_EQ(engineSession.gamePosition.ply, agreedAt);
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(engineSession.gameResult, GameInProgress);

    // A new game starts afresh.
    game().startNewGame(true);
    EXPECT_FALSE(game().gameDecided());
    tap(col("e2"), row("e2"));
    EXPECT_TRUE(game().pieceSelected);
}

} // namespace
