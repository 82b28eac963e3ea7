#include <cmath>
#include <cstring>

#include "engine/core/gamerecord.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "tests/game/game_harness.h"

namespace {

std::vector<std::pair<int, int>> destinationsOf()
{
    std::vector<std::pair<int, int>> squares;
    int column, row;
    while (engineBridge().nextDestination(column, row))
        squares.emplace_back(column, row);
    return squares;
}

bool contains(const std::vector<std::pair<int, int>>& squares, const char* name)
{
    for (const auto& square : squares)
        if (square.first == col(name) && square.second == row(name))
            return true;
    return false;
}

int expectedFrames(int fromColumn, int fromRow, int toColumn, int toRow)
{
    const double dc = toColumn - fromColumn, dr = toRow - fromRow;
    return static_cast<int>(2.0 * std::sqrt(dc * dc + dr * dr));
}

// The frames of the engine's last move, with a castling as the king's step.
int engineMoveFrames()
{
    const int move = engineSession.engineMove;
    const int to = moveDestination(move);
    int from = moveOrigin(move);
    if (from >= CastleWhiteKingSide)
        from = squareOf(4, rowOf(to));
    return expectedFrames(columnOf(from), rowOf(from), columnOf(to), rowOf(to));
}

TEST_F(GameTest, TapMoveSlidesAndTheEngineAnswersThroughItsNotification)
{
    startGame();
    EXPECT_EQ(platform->runningTimers.size(), 1u);  // started by the first paint
    tap(col("e2"), row("e2"));
    EXPECT_TRUE(game().pieceSelected);
    platform->slidePaints = 0;
    game().stylusPressed(0, 0);  // off the board: ignored, destinations emptied
    EXPECT_TRUE(game().pieceSelected);
    EXPECT_EQ(engineBridge().destinationCount, 0);
    tap(col("e4"), row("e4"));

    EXPECT_EQ(platform->slidePaints, 4);  // two squares straight
    EXPECT_EQ(platform->sleptMs, 4 * 50);
    EXPECT_FALSE(game().animating);
    EXPECT_TRUE(game().engineBusy);
    EXPECT_FALSE(game().pieceSelected);
    EXPECT_EQ(engineBridge().pieceAt(col("e4"), row("e4")), WhitePawn);

    platform->slidePaints = 0;
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, White);
    EXPECT_EQ(platform->slidePaints, engineMoveFrames());
    EXPECT_EQ(game().selectedColumn, -1);
    EXPECT_EQ(platform->runningTimers.size(), 1u);
    // The movable pieces are the user's again.
    int column, r, count = 0;
    while (engineBridge().nextMovablePiece(column, r)) {
        EXPECT_EQ(pieceColour(engineBridge().pieceAt(column, r)), White);
        ++count;
    }
    EXPECT_GT(count, 0);
}

TEST_F(GameTest, SelectionAndItsMarks)
{
    startGame();
    // Press and release on e2: selected, e3 and e4 are its destinations.
    tap(col("e2"), row("e2"));
    EXPECT_TRUE(game().pieceSelected);
    EXPECT_EQ(game().selectedColumn, col("e2"));
    EXPECT_EQ(game().selectedPiece, WhitePawn);
    auto targets = destinationsOf();
    EXPECT_EQ(targets.size(), 2u);
    EXPECT_TRUE(contains(targets, "e3"));
    EXPECT_TRUE(contains(targets, "e4"));

    // Another own piece becomes the selection.
    tap(col("g1"), row("g1"));
    EXPECT_EQ(game().selectedColumn, col("g1"));
    EXPECT_EQ(game().selectedRow, row("g1"));
    targets = destinationsOf();
    EXPECT_EQ(targets.size(), 2u);
    EXPECT_TRUE(contains(targets, "f3"));
    EXPECT_TRUE(contains(targets, "h3"));

    // An illegal tap drops the selection and marks the movable pieces while held.
    int x, y;
    squarePoint(col("g5"), row("g5"), x, y);
    game().stylusPressed(x, y);
    EXPECT_EQ(game().selectedColumn, -1);
    EXPECT_TRUE(game().showMovablePieces);
    EXPECT_EQ(engineBridge().movableCount, 10);  // eight pawns and two knights, each once
    game().stylusReleased(x, y);
    EXPECT_FALSE(game().showMovablePieces);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.gamePosition.ply, 1);

    // A tap on an own piece selects it again.
    tap(col("d2"), row("d2"));
    EXPECT_EQ(game().selectedColumn, col("d2"));
    EXPECT_EQ(game().selectedRow, row("d2"));
}

TEST_F(GameTest, PressOnAnEmptySquareShowsTheMovablePiecesWhileHeld)
{
    startGame();
    int x, y;
    squarePoint(col("d5"), row("d5"), x, y);
    game().stylusPressed(x, y);
    EXPECT_TRUE(game().stylusDown);
    EXPECT_TRUE(game().showMovablePieces);
    EXPECT_FALSE(game().pieceSelected);
    game().stylusReleased(x, y);
    EXPECT_FALSE(game().showMovablePieces);
    EXPECT_FALSE(game().stylusDown);
}

TEST_F(GameTest, DragMovesLandWithoutASlideAndIllegalDragsKeepTheSelection)
{
    startGame();
    // e2 to e5 is not a move: nothing is played, e2 stays selected.
    drag(col("e2"), row("e2"), col("e5"), row("e5"));
    EXPECT_EQ(engineSession.gamePosition.ply, 1);
    EXPECT_TRUE(game().pieceSelected);
    EXPECT_EQ(game().selectedColumn, col("e2"));
    EXPECT_FALSE(game().engineBusy);

    // The piece follows the stylus while held.
    int x0, y0, x1, y1;
    squarePoint(col("e2"), row("e2"), x0, y0);
    squarePoint(col("e4"), row("e4"), x1, y1);
    game().stylusPressed(x0, y0);
    game().stylusMoved(x1, y1 - 3);
    EXPECT_EQ(game().dragDX, x1 - x0);
    EXPECT_EQ(game().dragDY, y1 - 3 - y0);
    platform->slidePaints = 0;
    game().stylusReleased(x1, y1);
    EXPECT_EQ(platform->slidePaints, 0);
    EXPECT_EQ(engineBridge().pieceAt(col("e4"), row("e4")), WhitePawn);
    EXPECT_TRUE(game().engineBusy);

    // Taps are ignored while the engine thinks.
    tap(col("d2"), row("d2"));
    EXPECT_FALSE(game().stylusDown);
    EXPECT_NE(game().selectedColumn, col("d2"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineSession.gamePosition.ply, 3);
}

TEST_F(GameTest, CastlingAndPromotionByTap)
{
    startGame();
    loadText("[FEN \"4k3/8/8/8/8/8/8/4K2R w K - 0 1\"]\r\n\r\n*");
    ASSERT_EQ(engineSession.gamePosition.sideToMove, White);
    EXPECT_EQ(game().userColour, White);

    // The king's destinations include its castling square.
    tap(col("e1"), row("e1"));
    EXPECT_TRUE(contains(destinationsOf(), "g1"));
    platform->slidePaints = 0;
    tap(col("g1"), row("g1"));
    EXPECT_EQ(platform->slidePaints, 4);
    EXPECT_EQ(engineBridge().pieceAt(col("g1"), row("g1")), WhiteKing);
    EXPECT_EQ(engineBridge().pieceAt(col("f1"), row("f1")), WhiteRook);
    EXPECT_EQ(engineBridge().pieceAt(col("h1"), row("h1")), Empty);
    ASSERT_TRUE(waitForEngine());

    // A pawn reaching the last rank becomes a queen.
    loadText("[FEN \"4k3/P7/8/8/8/8/8/4K3 w - - 0 1\"]\r\n\r\n*");
    tap(col("a7"), row("a7"));
    tap(col("a8"), row("a8"));
    EXPECT_EQ(engineBridge().pieceAt(col("a8"), row("a8")), WhiteQueen);
    ASSERT_TRUE(waitForEngine());
}

TEST_F(GameTest, SlideFrameCounts)
{
    startGame();
    const struct {
        const char *from, *to;
        int frames;
    } slides[] = {
        {"g1", "f3", 4},   // a knight
        {"e2", "e4", 4},   // two squares straight
        {"e2", "e3", 2},   // one square
        {"a1", "h8", 19},  // the long diagonal
    };
    for (const auto& slide : slides) {
        platform->slidePaints = 0;
        platform->slideX.clear();
        game().slidePiece(col(slide.from), row(slide.from), col(slide.to), row(slide.to));
        EXPECT_EQ(platform->slidePaints, slide.frames) << slide.from << slide.to;
        EXPECT_EQ(game().animFrameCount, slide.frames);
        EXPECT_FALSE(game().animating);
        // The last frame is drawn one step short of the destination.
        int x0, y0, x1, y1;
        piecePosition(game(), col(slide.from), row(slide.from), x0, y0);
        piecePosition(game(), col(slide.to), row(slide.to), x1, y1);
        ASSERT_FALSE(platform->slideX.empty());
        EXPECT_DOUBLE_EQ(platform->slideX.front(), x0);
        EXPECT_NEAR(platform->slideX.back(), x1 - game().animStepX, 1e-9);
    }
}

TEST_F(GameTest, EngineCaptureKeepsTheCapturedPieceOnItsSquareDuringTheSlide)
{
    startGame();
    // Black's pawn can take White's queen; depth 2 takes it.
    loadText("[FEN \"4k3/8/8/2p5/8/8/8/3QK3 w - - 0 1\"]\r\n\r\n*");
    tap(col("d1"), row("d1"));
    tap(col("d4"), row("d4"));
    ASSERT_TRUE(game().engineBusy);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineBridge().pieceAt(col("d4"), row("d4")), BlackPawn);
    EXPECT_EQ(game().capturedPiece, WhiteQueen);
    EXPECT_EQ(game().animPiece, BlackPawn);
    EXPECT_EQ(game().animHiddenColumn, col("d4"));
    EXPECT_EQ(game().animHiddenRow, row("d4"));
}

TEST_F(GameTest, GameEndAfterTheUsersMateAndAfterTheEngines)
{
    startGame();
    // The user mates: the board stays locked and the clocks freeze.
    loadText("[FEN \"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\"]\r\n\r\n*");
    tap(col("a1"), row("a1"));
    tap(col("a8"), row("a8"));
    EXPECT_TRUE(game().engineBusy);
    EXPECT_TRUE(game().gameDecided());
    EXPECT_EQ(engineSession.gameResult, WhiteWon);
    const int white = game().whiteClockMs, black = game().blackClockMs;
    for (int i = 0; i < 3; ++i)
        game().clockTick();
    EXPECT_EQ(game().whiteClockMs, white);
    EXPECT_EQ(game().blackClockMs, black);
    tap(col("g1"), row("g1"));
    EXPECT_FALSE(game().pieceSelected);
    // A takeback leaves the finished state.
    game().takeBack(true);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_FALSE(game().gameDecided());
    EXPECT_EQ(engineBridge().pieceAt(col("a1"), row("a1")), WhiteRook);

    // The engine mates: no move of the user's is legal afterwards.
    loadText("[FEN \"1r4k1/8/8/8/8/8/P5PP/7K w - - 0 1\"]\r\n\r\n*");
    tap(col("a2"), row("a2"));
    tap(col("a3"), row("a3"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(engineBridge().pieceAt(col("b1"), row("b1")), BlackRook);
    EXPECT_TRUE(game().gameDecided());
    EXPECT_EQ(engineSession.gameResult, BlackWon);
    EXPECT_EQ(engineBridge().movableCount, 0);
    game().clockTick();
    EXPECT_EQ(game().whiteClockMs, white);
}

}  // namespace
