#include <gtest/gtest.h>

#include <vector>

#include "ui/board/geometry.h"

namespace {

struct Screen {
    int width, height, screenType;
};

// Every screen class the layout knows.
const Screen screens[] = {
    {240, 320, ScreenQvgaPortrait}, {480, 640, ScreenVga},    {320, 240, ScreenQvgaLandscape},
    {240, 240, ScreenSquare},       {200, 320, ScreenNarrow}, {320, 200, ScreenLow},
    {640, 480, ScreenVgaLandscape},
};

TEST(BoardGeometry, ScreenClassesAndTheirLayouts) {
    for (const Screen& screen : screens)
        for (int iso = 0; iso < 2; ++iso) {
            BoardGeometry g;
            layoutBoard(g, screen.width, screen.height, iso);
            EXPECT_EQ(g.screenType, screen.screenType)
                << screen.width << "x" << screen.height << " iso " << iso;
        }
    BoardGeometry g;
    layoutBoard(g, 640, 480, 0); // the VGA step first, then VGA landscape
    EXPECT_EQ(g.squareSize, 52);
    EXPECT_EQ(g.boardHeight, 416);
    EXPECT_EQ(g.originX, 16);
    layoutBoard(g, 480, 640, 0); // the portrait values doubled
    EXPECT_EQ(g.boardTop, 10);
    EXPECT_EQ(g.originY, 16);
    EXPECT_EQ(g.boardHeight, 480);
    layoutBoard(g, 640, 480, 1);
    EXPECT_EQ(g.squareSize, 112);
    EXPECT_EQ(g.boardLeft, 88);
    layoutBoard(g, 320, 240, 1);
    EXPECT_EQ(g.boardLeft, 40);
    EXPECT_EQ(g.originX, -1);
}

TEST(BoardGeometry, FlatPortraitCornersAndEdges) {
    BoardGeometry g;
    layoutBoard(g, 240, 320, 0);
    int x, y, column, row;
    cellPosition(g, 0, 0, 0, 0, x, y);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 13);
    cellPosition(g, 0, 0, 7, 7, x, y);
    EXPECT_EQ(x, 204);
    EXPECT_EQ(y, 209);
    cellPosition(g, 0, 2, 0, 0, x, y); // turned: a8 at the bottom right
    EXPECT_EQ(x, 204);
    EXPECT_EQ(y, 209);

    const struct {
        int x, y, orientation, column, row;
    } taps[] = {
        {8, 13, 0, 0, 0},    // the first pixel of a8
        {7, 13, 0, -1, 0},   // just left of the board
        {8, 12, 0, 0, -1},   // just above it
        {231, 236, 0, 7, 7}, // the last pixel of h1
        {232, 237, 0, 8, 8}, // beyond it
        {204, 209, 2, 0, 0}, // a8 on the turned board
    };
    for (const auto& tap : taps) {
        hitTest(g, 0, tap.orientation, tap.x, tap.y, column, row);
        EXPECT_EQ(column, tap.column) << tap.x << "," << tap.y;
        EXPECT_EQ(row, tap.row) << tap.x << "," << tap.y;
    }
}

TEST(BoardGeometry, IsometricPortraitSpansTheWidth) {
    BoardGeometry g;
    layoutBoard(g, 240, 320, 1);
    int x, y, topY, bottomY;
    cellPosition(g, 1, 0, 0, 0, x, y); // a8: the left corner
    EXPECT_EQ(x, -1);
    cellPosition(g, 1, 0, 7, 7, x, y); // h1: the right corner
    EXPECT_EQ(x, 209);
    EXPECT_EQ(x + g.cellWidth, 239);
    cellPosition(g, 1, 0, 7, 0, x, topY); // h8 above a1
    cellPosition(g, 1, 0, 0, 7, x, bottomY);
    EXPECT_LT(topY, bottomY);
}

// Desktop views, wide and tall, from the smallest window up to a 4K monitor.
struct View {
    int width, height;
    bool beside[2]; // flat, isometric: the panel right of the board (else under it)
};

// A rectangle: left, top, right and bottom edges (the last two excluded).
struct Box {
    int left, top, right, bottom;
    bool contains(const Box& b) const {
        return b.left >= left && b.top >= top && b.right <= right && b.bottom <= bottom;
    }
    bool meets(const Box& b) const {
        return b.left < right && left < b.right && b.top < bottom && top < b.bottom;
    }
};
Box box(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}
// The isometric board is wide and flat: on a 800 x 560 view it is larger above the panel.
const View desktopViews[] = {{320, 200, {true, true}},   {800, 560, {true, false}},
                             {1280, 760, {true, true}},  {1920, 1040, {true, true}},
                             {3840, 2120, {true, true}}, {600, 900, {false, false}},
                             {420, 700, {false, false}}, {561, 560, {false, false}}};

// The desktop board is as large as the view allows beside or above its panel; board,
// panel and move list lie inside the view and do not overlap.
TEST(BoardGeometry, DesktopBoardFillsTheViewBesideOrAboveThePanel) {
    for (const View& view : desktopViews)
        for (int iso = 0; iso < 2; ++iso) {
            SCOPED_TRACE(testing::Message() << view.width << "x" << view.height << " iso " << iso);
            BoardGeometry g;
            layoutDesktop(g, view.width, view.height, iso);
            EXPECT_EQ(g.screenType, ScreenDesktop);
            // The board's room: the flat squares, or the diamond with the rank numbers
            // beside it and the back pieces above it.
            Box board = box(g.boardLeft, g.boardTop, 8 * g.squareSize, 8 * g.squareSize);
            if (iso) {
                EXPECT_EQ(g.cellHeight, isometricCellHeight(g.cellWidth));
                EXPECT_EQ(g.cellWidth % 2, 0);
                EXPECT_NEAR(g.cellHeight, g.cellWidth * 28.0 / 58.0, 1.0);
                board = box(g.boardLeft - g.cellWidth / 2, g.boardTop - g.pieceHeight / 2, 9 * g.cellWidth,
                            8 * g.cellHeight + g.pieceHeight / 2 + g.cellHeight);
            }
            const Box panel = box(g.panelLeft, g.panelTop, g.panelWidth, g.panelHeight);
            const Box all = box(0, 0, view.width, view.height);
            EXPECT_TRUE(all.contains(board))
                << board.left << "," << board.top << " " << board.right << "," << board.bottom;
            EXPECT_TRUE(all.contains(panel));
            EXPECT_FALSE(board.meets(panel));
            EXPECT_EQ(panel.left >= board.right, view.beside[iso]);
            // Nearly all of the view's shorter way goes to the board.
            const int room = view.beside[iso] ? std::min(view.height, view.width - 200)
                                              : std::min(view.width, view.height - 160);
            const int side = board.right - board.left;
            EXPECT_GE(iso ? side * 5 / 8 : side, room * (iso ? 5 : 8) / 10);
            int x, y, w, h;
            desktopMoveListRect(g, g.panelTextLines, x, y, w, h);
            EXPECT_TRUE(panel.contains(box(x, y, w, h)));
            EXPECT_GE(h, 2 * g.panelLinePitch);
            EXPECT_GE(w, 100);
            // Under the clocks alone (before the first move) the same list reaches up to them.
            int x3, y3, w3, h3;
            desktopMoveListRect(g, 3, x3, y3, w3, h3);
            EXPECT_EQ(x3, x);
            EXPECT_EQ(w3, w);
            EXPECT_EQ(y3 + h3, y + h);
            EXPECT_EQ(y3, y == g.panelTop ? y : g.panelTop + 3 * g.panelLinePitch);
        }
    // A window larger than any board picture: the largest squares, centred beside the panel.
    for (int iso = 0; iso < 2; ++iso) {
        BoardGeometry huge;
        layoutDesktop(huge, 16000, 9000, iso);
        EXPECT_EQ(huge.cellWidth, DesktopMaxCell);
        EXPECT_GT(huge.panelWidth, 180);
    }
    // A window too small for anything still gives a board and no negative sizes.
    BoardGeometry tiny;
    layoutDesktop(tiny, -5, 0, 1);
    EXPECT_GT(tiny.cellWidth, 0);
    EXPECT_GE(tiny.panelWidth, 0);
    EXPECT_GE(tiny.panelHeight, 0);
}

// The centre of every cell maps back to its square, for every screen class and
// desktop size, style and orientation.
TEST(BoardGeometry, HitTestInvertsCellPosition) {
    std::vector<BoardGeometry> layouts[2];
    for (int iso = 0; iso < 2; ++iso) {
        for (const Screen& screen : screens)
            layoutBoard(layouts[iso].emplace_back(), screen.width, screen.height, iso);
        for (const View& view : desktopViews)
            layoutDesktop(layouts[iso].emplace_back(), view.width, view.height, iso);
    }
    for (int iso = 0; iso < 2; ++iso)
        for (const BoardGeometry& g : layouts[iso]) {
            const Screen screen{g.boardWidth, g.boardHeight, g.screenType};
            for (int orientation = 0; orientation < 4; ++orientation)
                for (int column = 0; column < 8; ++column)
                    for (int row = 0; row < 8; ++row) {
                        int x, y, c, r;
                        cellPosition(g, iso, orientation, column, row, x, y);
                        hitTest(g, iso, orientation, x + g.cellWidth / 2, y + g.cellHeight / 2, c, r);
                        ASSERT_TRUE(c == column && r == row)
                            << screen.width << "x" << screen.height << " iso " << iso << " orientation "
                            << orientation << " square " << column << "," << row << " gave " << c << "," << r;
                    }
        }
}

} // namespace
