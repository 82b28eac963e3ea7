#include <gtest/gtest.h>

#include "ui/board/geometry.h"

namespace {

struct Screen {
    int width, height;
    int screenType;
};

// Every screen class the layout knows, including the two generic ones.
const Screen screens[] = {
    {240, 320, ScreenQvgaPortrait}, {480, 640, ScreenVga},    {320, 240, ScreenQvgaLandscape},
    {240, 240, ScreenSquare},       {200, 320, ScreenNarrow}, {320, 200, ScreenLow},
    {640, 480, ScreenVgaLandscape},
};

TEST(BoardGeometry, ScreenClassesForBothStyles) {
    for (const Screen& screen : screens) {
        for (int iso = 0; iso < 2; ++iso) {
            BoardGeometry g;
            layoutBoard(g, screen.width, screen.height, iso);
            EXPECT_EQ(g.screenType, screen.screenType)
                << screen.width << "x" << screen.height << " iso " << iso;
            EXPECT_GT(g.cellWidth, 0);
            EXPECT_GT(g.cellHeight, 0);
        }
    }
}

TEST(BoardGeometry, LayoutValues) {
    BoardGeometry g;
    layoutBoard(g, 640, 480, 0); // matches the VGA step first, then VGA landscape
    EXPECT_EQ(g.squareSize, 52);
    EXPECT_EQ(g.boardHeight, 416);
    EXPECT_EQ(g.originX, 16);
    EXPECT_EQ(g.boardTop, 6);

    layoutBoard(g, 480, 640, 0); // the portrait QVGA values doubled
    EXPECT_EQ(g.boardTop, 10);
    EXPECT_EQ(g.originX, 16);
    EXPECT_EQ(g.originY, 16);
    EXPECT_EQ(g.boardHeight, 480);
    EXPECT_EQ(g.squareSize, 56);
    EXPECT_EQ(g.pieceWidth, 48);

    layoutBoard(g, 640, 480, 1);
    EXPECT_EQ(g.squareSize, 112);
    EXPECT_EQ(g.boardLeft, 88);
    EXPECT_EQ(g.originX, -2);

    layoutBoard(g, 320, 200, 1);
    EXPECT_EQ(g.boardLeft, 72);
    EXPECT_EQ(g.cellWidth, 17);

    layoutBoard(g, 320, 240, 1);
    EXPECT_EQ(g.boardLeft, 40);
    EXPECT_EQ(g.originX, -1);
    EXPECT_EQ(g.cellWidth, 30);
}

TEST(BoardGeometry, FlatPortraitCorners) {
    BoardGeometry g;
    layoutBoard(g, 240, 320, 0);
    int x, y, column, row;
    cellPosition(g, 0, 0, 0, 0, x, y);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 13);
    cellPosition(g, 0, 0, 7, 7, x, y);
    EXPECT_EQ(x, 204);
    EXPECT_EQ(y, 209);
    piecePosition(g, 0, 0, 0, 0, x, y);
    EXPECT_EQ(x, 8);
    EXPECT_EQ(y, 13);

    hitTest(g, 0, 0, 8, 13, column, row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    hitTest(g, 0, 0, 7, 13, column, row);
    EXPECT_EQ(column, -1);
    hitTest(g, 0, 0, 8, 12, column, row);
    EXPECT_EQ(row, -1);
    hitTest(g, 0, 0, 231, 236, column, row); // last pixel of h1
    EXPECT_EQ(column, 7);
    EXPECT_EQ(row, 7);
    hitTest(g, 0, 0, 232, 237, column, row);
    EXPECT_EQ(column, 8);
    EXPECT_EQ(row, 8);

    // Turned board: a8 at the bottom right.
    cellPosition(g, 0, 2, 0, 0, x, y);
    EXPECT_EQ(x, 204);
    EXPECT_EQ(y, 209);
    hitTest(g, 0, 2, 204, 209, column, row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
}

TEST(BoardGeometry, IsometricPortraitSpansTheWidth) {
    BoardGeometry g;
    layoutBoard(g, 240, 320, 1);
    int x, y;
    cellPosition(g, 1, 0, 0, 0, x, y); // a8: left corner of the diamond
    EXPECT_EQ(x, -1);
    cellPosition(g, 1, 0, 7, 7, x, y); // h1: right corner
    EXPECT_EQ(x, 209);
    EXPECT_EQ(x + g.cellWidth, 239);
    // h8 at the top, a1 at the bottom.
    int topY, bottomY;
    cellPosition(g, 1, 0, 7, 0, x, topY);
    cellPosition(g, 1, 0, 0, 7, x, bottomY);
    EXPECT_LT(topY, bottomY);
}

// Every square's cell centre maps back to the square, and every square's
// cells are distinct, for every screen class, style and orientation.
TEST(BoardGeometry, HitTestInvertsCellPosition) {
    for (const Screen& screen : screens) {
        for (int iso = 0; iso < 2; ++iso) {
            BoardGeometry g;
            layoutBoard(g, screen.width, screen.height, iso);
            for (int orientation = 0; orientation < 4; ++orientation) {
                for (int column = 0; column < 8; ++column) {
                    for (int row = 0; row < 8; ++row) {
                        int x, y, c, r;
                        cellPosition(g, iso, orientation, column, row, x, y);
                        hitTest(g, iso, orientation, x + g.cellWidth / 2, y + g.cellHeight / 2, c, r);
                        EXPECT_EQ(c, column)
                            << screen.width << "x" << screen.height << " iso " << iso << " orientation "
                            << orientation << " square " << column << "," << row;
                        EXPECT_EQ(r, row)
                            << screen.width << "x" << screen.height << " iso " << iso << " orientation "
                            << orientation << " square " << column << "," << row;
                    }
                }
            }
        }
    }
}

TEST(BoardGeometry, PointsOffTheBoardGiveNoSquare) {
    for (const Screen& screen : screens) {
        for (int iso = 0; iso < 2; ++iso) {
            BoardGeometry g;
            layoutBoard(g, screen.width, screen.height, iso);
            int x, y, c, r;
            // Beyond the outer corner of a8 and of h1, in the direction away from the board.
            cellPosition(g, iso, 0, 0, 0, x, y);
            hitTest(g, iso, 0, x - g.cellWidth / 2, y - g.cellHeight / 2 + (iso ? g.cellHeight / 2 : 0), c,
                    r);
            EXPECT_FALSE(c >= 0 && c <= 7 && r >= 0 && r <= 7)
                << screen.width << "x" << screen.height << " iso " << iso;
            cellPosition(g, iso, 0, 7, 7, x, y);
            hitTest(g, iso, 0, x + g.cellWidth + g.cellWidth / 2,
                    y + g.cellHeight + g.cellHeight / 2 - (iso ? g.cellHeight / 2 : 0), c, r);
            EXPECT_FALSE(c >= 0 && c <= 7 && r >= 0 && r <= 7)
                << screen.width << "x" << screen.height << " iso " << iso;
        }
    }
}

TEST(BoardGeometry, PiecesAreCentredOnFlatSquares) {
    BoardGeometry g;
    layoutBoard(g, 240, 240, 0);
    int cx, cy, px, py;
    cellPosition(g, 0, 0, 3, 4, cx, cy);
    piecePosition(g, 0, 0, 3, 4, px, py);
    EXPECT_EQ(px - cx, (22 - 18) / 2);
    EXPECT_EQ(py - cy, (22 - 18) / 2);
}

} // namespace
