#include <gtest/gtest.h>

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

// The centre of every cell maps back to its square, for every screen class,
// style and orientation.
TEST(BoardGeometry, HitTestInvertsCellPosition) {
    for (const Screen& screen : screens)
        for (int iso = 0; iso < 2; ++iso) {
            BoardGeometry g;
            layoutBoard(g, screen.width, screen.height, iso);
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
