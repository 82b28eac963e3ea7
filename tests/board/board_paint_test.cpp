// The board as painted: tiles, pieces, markers in their layers, the dragged
// and the sliding piece, and the isometric depth order.

#include <QImage>
#include <QtMath>

#include <cmath>

#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "tests/board/board_fixture.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "ui/board/livepictures.h"

namespace {

struct ScreenCase {
    int width, height;
};
const ScreenCase everyScreen[] = {{240, 320}, {480, 640}, {320, 240}, {240, 240},
                                  {176, 220}, {240, 200}, {640, 480}};

constexpr int MarkerSelected = 0, MarkerLastMove = 1, MarkerTarget = 2;

} // namespace

// a8 and h1 show the tile of the even squares, b8 and a1 the odd one, on every
// flat screen and skin; a piece's corner leaves the tile visible.
TEST_F(BoardTest, FlatTilesOfA8AndH1OnEveryScreenAndSkin) {
    for (const ScreenCase& s : everyScreen)
        for (int skin = 0; skin < 3; ++skin) {
            show(s.width, s.height, false, skin);
            const QImage frame = paint();
            const QImage& tiles = game().boardImage->picture;
            const int size = game().geometry.squareSize;
            ASSERT_EQ(tiles.width(), 2 * size);
            auto tilePixel = [&](const char* square) {
                int x, y;
                cell(square, x, y);
                return frame.pixel(x + 1, y + 1);
            };
            SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " skin " << skin);
            EXPECT_EQ(tilePixel("a8"), tiles.pixel(size + 1, 1));
            EXPECT_EQ(tilePixel("h1"), tiles.pixel(size + 1, 1));
            EXPECT_EQ(tilePixel("b8"), tiles.pixel(1, 1));
            EXPECT_EQ(tilePixel("a1"), tiles.pixel(1, 1));
            // The two tiles are different pictures.
            int differing = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) differing += tiles.pixel(x, y) != tiles.pixel(x + size, y);
            EXPECT_GT(differing, size * size / 4);
        }
}

// Each piece of the initial position is drawn whole on its square, flat in both
// orientations; on the isometric board the king's view row follows the orientation.
TEST_F(BoardTest, PiecesStandOnTheirSquares) {
    struct Case {
        int width, height, orientation;
        const char* square;
        int piece;
    };
    const Case cases[] = {{240, 320, 0, "e1", WhiteKing},   {240, 320, 0, "d8", BlackQueen},
                          {240, 320, 2, "e1", WhiteKing},   {480, 640, 0, "g8", BlackKnight},
                          {240, 240, 0, "c1", WhiteBishop}, {320, 240, 0, "a2", WhitePawn}};
    for (const Case& c : cases) {
        show(c.width, c.height, false, 0, c.orientation);
        const QImage frame = paint();
        int x, y;
        piece(c.square, x, y);
        const SpriteMatch m = matchSprite(frame, x, y, game().piecesImage->picture, pieceCell(c.piece));
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.square);
        EXPECT_GT(m.opaque, 40);
        EXPECT_EQ(m.shown, m.opaque);
    }
    // Two lone kings, so that no other piece overlaps them.
    setPosition("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    for (int orientation = 0; orientation < 4; ++orientation) {
        show(240, 320, true, 0, orientation);
        const QImage frame = paint();
        for (const char* square : {"e1", "e8"}) {
            const int king = square[1] == '1' ? WhiteKing : BlackKing;
            int x, y;
            piece(square, x, y);
            const SpriteMatch m = matchSprite(frame, x, y, game().piecesImage->picture, pieceCell(king));
            SCOPED_TRACE(testing::Message() << "orientation " << orientation << " " << square);
            EXPECT_GT(m.opaque, 40);
            EXPECT_EQ(m.shown, m.opaque);
        }
    }
    // The view rows: a Black king in orientation 0 from column 11 row 0, a White one from column 5 row 2.
    show(240, 320, true, 0, 0);
    const BoardGeometry& g = game().geometry;
    EXPECT_EQ(pieceCell(BlackKing), QRect(11 * g.pieceWidth, 0, g.pieceWidth, g.pieceHeight));
    EXPECT_EQ(pieceCell(WhiteKing), QRect(5 * g.pieceWidth, 2 * g.pieceHeight, g.pieceWidth, g.pieceHeight));
}

// The destination marker on a capture square lies over the pawn there on the
// flat board and under it on the isometric one.
TEST_F(BoardTest, DestinationMarkersOverFlatPiecesUnderIsometricOnes) {
    for (bool isometric : {false, true}) {
        setPosition("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
        show(240, 320, isometric);
        GameController& g = game();
        g.selectedColumn = columnOf("e4");
        g.selectedRow = rowOf("e4");
        g.selectedPiece = WhitePawn;
        g.pieceSelected = true;
        engineBridge().computeDestinations(g.selectedColumn, g.selectedRow, White);
        const QImage frame = paint();

        int mx, my, px, py;
        markerAt("d5", mx, my);
        piece("d5", px, py);
        const QImage& markers = g.selectionImage->picture;
        const QImage& pieces = g.piecesImage->picture;
        const QRect marker = markerCell(MarkerTarget), pawn = pieceCell(BlackPawn);
        int both = 0, markerOnTop = 0, pawnOnTop = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const QPoint m(x - mx, y - my), p(x - px, y - py);
                if (m.x() < 0 || m.y() < 0 || m.x() >= marker.width() || m.y() >= marker.height()) continue;
                if (p.x() < 0 || p.y() < 0 || p.x() >= pawn.width() || p.y() >= pawn.height()) continue;
                const QRgb mp = markers.pixel(marker.x() + m.x(), m.y());
                const QRgb pp = pieces.pixel(pawn.x() + p.x(), pawn.y() + p.y());
                if (isKey(mp) || isKey(pp) || mp == pp) continue;
                ++both;
                markerOnTop += frame.pixel(x, y) == mp;
                pawnOnTop += frame.pixel(x, y) == pp;
            }
        SCOPED_TRACE(isometric ? "isometric" : "flat");
        ASSERT_GT(both, 0);
        EXPECT_EQ(isometric ? pawnOnTop : markerOnTop, both);
        // The empty destination e5 shows its marker whole.
        markerAt("e5", mx, my);
        const SpriteMatch e5 = matchSprite(frame, mx, my, markers, marker);
        EXPECT_GT(e5.opaque, 4);
        EXPECT_EQ(e5.shown, e5.opaque);
        // The selected square carries marker 0 (under the isometric pawn, so only on the flat board whole).
        if (!isometric) {
            markerAt("e4", mx, my);
            const SpriteMatch e4 = matchSprite(frame, mx, my, markers, markerCell(MarkerSelected));
            EXPECT_EQ(e4.shown, e4.opaque);
        }
    }
}

// After castling the last-move markers lie on the king's square and its start
// square; with the option off there are none.
TEST_F(BoardTest, LastMoveMarkersAfterCastling) {
    struct Case {
        std::initializer_list<const char*> moves;
        const char* to;
        const char* from;
        const char* unmarked;
    };
    const Case cases[] = {
        {{"e4", "e5", "Nf3", "Nc6", "Bc4", "Bc5", "O-O"}, "g1", "e1", "f1"},
        {{"d4", "d5", "Nc3", "Nc6", "Bf4", "Bf5", "Qd2", "Qd7", "e3", "O-O-O"}, "c8", "e8", "d8"},
        {{"e4", "e5", "Nf3"}, "f3", "g1", "e5"},
    };
    for (const Case& c : cases) {
        SetUp();
        play(c.moves);
        show(240, 320, false);
        QImage frame = paint();
        const QImage& markers = game().selectionImage->picture;
        const QRect last = markerCell(MarkerLastMove);
        int x, y;
        SCOPED_TRACE(c.to);
        for (const char* square : {c.to, c.from}) {
            markerAt(square, x, y);
            const SpriteMatch m = matchSprite(frame, x, y, markers, last);
            EXPECT_GT(m.opaque, 10) << square;
            EXPECT_EQ(m.shown, m.opaque) << square;
        }
        markerAt(c.unmarked, x, y);
        EXPECT_LT(matchSprite(frame, x, y, markers, last).shown,
                  matchSprite(frame, x, y, markers, last).opaque / 2);

        game().settings.showLastMove = 0;
        frame = paint();
        markerAt(c.from, x, y);
        const SpriteMatch off = matchSprite(frame, x, y, markers, last);
        EXPECT_LT(off.shown, off.opaque / 2);
    }
}

// While the stylus drags a flat piece, it follows the stylus over the board and
// its square shows the bare tile.
TEST_F(BoardTest, DraggedFlatPieceFollowsTheStylus) {
    show(240, 320, false);
    GameController& g = game();
    g.selectedColumn = columnOf("g1");
    g.selectedRow = rowOf("g1");
    g.selectedPiece = WhiteKnight;
    g.pieceSelected = true;
    g.stylusDown = true;
    g.dragDX = 9;
    g.dragDY = -45;
    g.settings.showLegalMoves = 0;
    const QImage frame = paint();
    int x, y;
    piece("g1", x, y);
    const QImage& pieces = g.piecesImage->picture;
    const SpriteMatch dragged = matchSprite(frame, x + 9, y - 45, pieces, pieceCell(WhiteKnight));
    EXPECT_EQ(dragged.shown, dragged.opaque);
    const SpriteMatch home = matchSprite(frame, x, y, pieces, pieceCell(WhiteKnight));
    EXPECT_LT(home.shown, home.opaque / 3);
}

// A pawn lifted a little from e2 on the isometric board goes behind the king in
// front of it (e1) and stays in front of the pawn behind it (f2).
TEST_F(BoardTest, IsometricPieceDraggedUpwardGoesBehindThePiecesInFront) {
    show(240, 320, true);
    GameController& g = game();
    g.selectedColumn = columnOf("e2");
    g.selectedRow = rowOf("e2");
    g.selectedPiece = WhitePawn;
    g.pieceSelected = true;
    g.stylusDown = true;
    g.dragDX = 8;
    g.dragDY = -3;
    g.settings.showLegalMoves = 0;
    const QImage frame = paint();
    const QImage& pieces = g.piecesImage->picture;

    int fx, fy;
    piece("e2", fx, fy);
    fx += 8;
    fy -= 3;
    auto overlap = [&](const char* square, int code, int& floatingWins, int& otherWins) {
        int ox, oy;
        piece(square, ox, oy);
        const QRect a = pieceCell(WhitePawn), b = pieceCell(code);
        floatingWins = otherWins = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                if (x < fx || y < fy || x >= fx + a.width() || y >= fy + a.height()) continue;
                if (x < ox || y < oy || x >= ox + b.width() || y >= oy + b.height()) continue;
                const QRgb pa = pieces.pixel(a.x() + x - fx, a.y() + y - fy);
                const QRgb pb = pieces.pixel(b.x() + x - ox, b.y() + y - oy);
                if (isKey(pa) || isKey(pb) || pa == pb) continue;
                floatingWins += frame.pixel(x, y) == pa;
                otherWins += frame.pixel(x, y) == pb;
            }
    };
    int floating, king;
    overlap("e1", WhiteKing, floating, king);
    EXPECT_GT(king, 0);
    EXPECT_EQ(floating, 0);
    int floatingOverPawn, pawn;
    overlap("f2", WhitePawn, floatingOverPawn, pawn);
    EXPECT_GT(floatingOverPawn, 0);
    EXPECT_EQ(pawn, 0);
}

// A slide draws the moving piece at the truncated slide position, shows the
// captured piece on the hidden square and advances one step per paint.
TEST_F(BoardTest, SlidingPieceAndCapturedPiece) {
    for (bool isometric : {false, true}) {
        setPosition("4k3/8/8/3p4/8/8/8/3QK3 b - - 0 1");
        show(240, 320, isometric);
        GameController& g = game();
        // The white queen has just taken on d5; the slide runs from d1.
        engineSession.gamePosition.board[squareOf(3, 3)] = WhiteQueen;
        engineSession.gamePosition.board[squareOf(3, 7)] = Empty;
        int x0, y0, x1, y1;
        piecePosition(g, 3, 7, x0, y0);
        piecePosition(g, 3, 3, x1, y1);
        g.animating = true;
        g.animPiece = WhiteQueen;
        g.capturedPiece = BlackPawn;
        g.animHiddenColumn = 3;
        g.animHiddenRow = 3;
        g.animX = x0 + 0.75;
        g.animY = y0 + 0.75;
        g.animStepX = (x1 - x0) / 8.0;
        g.animStepY = (y1 - y0) / 8.0;
        const QImage frame = paint();
        const QImage& pieces = g.piecesImage->picture;
        SCOPED_TRACE(isometric ? "isometric" : "flat");
        const SpriteMatch moving = matchSprite(frame, x0, y0, pieces, pieceCell(WhiteQueen));
        EXPECT_EQ(moving.shown, moving.opaque);
        int px, py;
        piece("d5", px, py);
        const SpriteMatch captured = matchSprite(frame, px, py, pieces, pieceCell(BlackPawn));
        EXPECT_EQ(captured.shown, captured.opaque);
        const SpriteMatch queen = matchSprite(frame, px, py, pieces, pieceCell(WhiteQueen));
        EXPECT_LT(queen.shown, queen.opaque / 2);
        EXPECT_DOUBLE_EQ(g.animX, x0 + 0.75 + (x1 - x0) / 8.0);
        EXPECT_DOUBLE_EQ(g.animY, y0 + 0.75 + (y1 - y0) / 8.0);
        g.animating = false;
    }
}

// The keyboard cursor is marked on the narrow and the low screens only.
TEST_F(BoardTest, CursorMarkedOnSmallScreensOnly) {
    setPosition("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    for (const ScreenCase& s : everyScreen) {
        show(s.width, s.height, false);
        game().cursorColumn = game().cursorRow = 0;
        const QImage frame = paint();
        int x, y;
        markerAt("a8", x, y);
        const SpriteMatch m =
            matchSprite(frame, x, y, game().selectionImage->picture, markerCell(MarkerSelected));
        const int type = game().geometry.screenType;
        SCOPED_TRACE(type);
        if (type == ScreenNarrow || type == ScreenLow)
            EXPECT_EQ(m.shown, m.opaque);
        else
            EXPECT_LT(m.shown, m.opaque / 2);
    }
}

// The first paint of a new game starts the clock timer once.
TEST_F(BoardTest, FirstPaintStartsTheClockTimer) {
    show(240, 320, false);
    game().clockTimerStarted = false;
    paint();
    EXPECT_TRUE(game().clockTimerStarted);
    EXPECT_EQ(platform.timersStarted, 1);
    paint();
    EXPECT_EQ(platform.timersStarted, 1);
}

// The desktop board at several sizes and device pixel ratios, both styles: the
// geometry and the pictures agree on the cell and piece sizes, the squares show the
// board picture at their places (a8 and h1 light, b8 and a1 dark on the flat board),
// a piece stands whole on its square, and a tap at a square's centre selects it.
TEST_F(BoardTest, DesktopBoardAtAnySizeAndPixelRatio) {
    setPosition("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    struct Size {
        int width, height;
    };
    const Size sizes[] = {{320, 200}, {800, 560}, {1280, 760}, {600, 900}, {1920, 1040}};
    for (const Size& size : sizes)
        for (const double ratio : {1.0, 2.0})
            for (int iso = 0; iso < 2; ++iso)
                for (int orientation : {0, 1}) {
                    const int skin = iso ? 0 : 1;
                    showDesktop(size.width, size.height, iso, skin, orientation);
                    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height << " ratio " << ratio
                                                    << " iso " << iso << " orientation " << orientation);
                    const QImage frame = paintDesktop(ratio);
                    ASSERT_EQ(frame.size(), QSize(qCeil(size.width * ratio), qCeil(size.height * ratio)));
                    const BoardGeometry& g = game().geometry;
                    ASSERT_EQ(g.screenType, ScreenDesktop);
                    const LivePictures& art = livePictures(skin, iso, g.cellWidth, ratio);
                    ASSERT_EQ(art.cellHeight, g.cellHeight);
                    ASSERT_EQ(art.pieceWidth, g.pieceWidth);
                    ASSERT_EQ(art.pieceHeight, g.pieceHeight);
                    auto device = [&](int logical) { return static_cast<int>(std::lround(logical * ratio)); };
                    // 1. The squares.
                    const QImage& board = liveBoard(art, orientation);
                    const int boardX = g.boardLeft + g.originX - art.boardCornerX;
                    const int boardY = g.boardTop + g.originY +
                                       (iso ? g.boardHeight / 2 - g.cellHeight / 2 : 0) - art.boardCornerY;
                    auto squarePixel = [&](const char* square, QRgb& painted, QRgb& expected) {
                        int x, y;
                        cell(square, x, y);
                        // A flat square's corner (the piece and the file letter stay clear of
                        // it); the isometric cell's centre.
                        const int dx = iso ? g.cellWidth / 2 : 1, dy = iso ? g.cellHeight / 2 : 1;
                        painted = frame.pixel(device(x) + dx, device(y) + dy);
                        expected = board.pixel(device(x - boardX) + dx, device(y - boardY) + dy);
                    };
                    QRgb painted[4], expected[4];
                    const char* squares[4] = {"a8", "h1", "b8", "a1"};
                    for (int i = 0; i < 4; ++i) {
                        squarePixel(squares[i], painted[i], expected[i]);
                        EXPECT_EQ(painted[i], expected[i]) << squares[i];
                    }
                    if (!iso) {
                        const QRgb light = art.lightTile.pixel(1, 1), dark = art.darkTile.pixel(1, 1);
                        EXPECT_NE(light, dark);
                        EXPECT_EQ(painted[0], light);
                        EXPECT_EQ(painted[1], light);
                        EXPECT_EQ(painted[2], dark);
                        EXPECT_EQ(painted[3], dark);
                    }
                    // 2. The kings, whole on their squares.
                    for (const char* square : {"e1", "e8"}) {
                        const int king = square[1] == '1' ? WhiteKing : BlackKing;
                        const QImage& image = livePiece(art, king, orientation);
                        int x, y, opaque = 0, shown = 0;
                        piece(square, x, y);
                        for (int j = 0; j < image.height(); ++j)
                            for (int i = 0; i < image.width(); ++i) {
                                const QRgb p = image.pixel(i, j);
                                if (qAlpha(p) != 255) continue;
                                ++opaque;
                                shown += frame.pixel(device(x) + i, device(y) + j) == p;
                            }
                        EXPECT_GT(opaque, image.width() * image.height() / 5) << square;
                        EXPECT_EQ(shown, opaque) << square;
                    }
                    // 3. A tap at the centre of e1 selects the king.
                    int x, y;
                    cell("e1", x, y);
                    game().stylusPressed(x + g.cellWidth / 2, y + g.cellHeight / 2);
                    game().stylusReleased(x + g.cellWidth / 2, y + g.cellHeight / 2);
                    EXPECT_TRUE(game().pieceSelected);
                    EXPECT_EQ(game().selectedColumn, columnOf("e1"));
                    EXPECT_EQ(game().selectedRow, rowOf("e1"));
                    game().pieceSelected = false;
                    game().selectedColumn = game().selectedRow = -1;
                }
}
