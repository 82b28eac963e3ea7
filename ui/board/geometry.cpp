#include "ui/board/geometry.h"

#include <algorithm>
#include <cmath>

#include "game/controller.h"

namespace {

void setFlatCells(BoardGeometry& g, int square, int piece, int marker) {
    g.squareSize = g.cellWidth = g.cellHeight = square;
    g.pieceWidth = g.pieceHeight = piece;
    g.markerWidth = g.markerHeight = marker;
}

// The isometric values of the QVGA portrait layout, shared by several classes.
void setSmallIsometric(BoardGeometry& g, int width) {
    g.originX = -(width / 240);
    g.boardLeft = width / 2 - 120;
    g.cellWidth = 30;
    g.cellHeight = 14;
    g.pieceWidth = 19;
    g.pieceHeight = 24;
    g.boardHeight = 124;
    g.boardTop = 18;
    g.originY = 16;
    g.markerWidth = 31;
    g.markerHeight = 17;
}

void setLargeIsometric(BoardGeometry& g, int width) {
    g.originX = -(width / 240);
    g.boardLeft = width / 2 - 232;
    g.cellWidth = 58;
    g.cellHeight = 28;
    g.pieceWidth = 31;
    g.pieceHeight = 50;
    g.boardWidth = 464;
    g.boardHeight = 320;
    g.boardTop = 24;
    g.originY = -4;
    g.squareSize = 56;
    g.markerWidth = 59;
    g.markerHeight = 30;
}

// Floor division: the board's pixel grid extends the same way on both sides
// of the origin, so a point left of or above the board gives a negative square.
int floorDiv(int dividend, int divisor) {
    int q = dividend / divisor;
    if (dividend % divisor != 0 && dividend < 0) q -= 1;
    return q;
}

// Bottom edge of the flat board.
int flatBottom(const BoardGeometry& g) {
    return g.boardHeight + g.boardTop - g.originY;
}

// The square as the isometric board shows it in a quarter turn.
void turnSquare(int orientation, int column, int row, int& c, int& r) {
    switch (orientation) {
    case 1:
        c = 7 - row;
        r = column;
        break;
    case 2:
        c = 7 - column;
        r = 7 - row;
        break;
    case 3:
        c = row;
        r = 7 - column;
        break;
    default:
        c = column;
        r = row;
        break;
    }
}

constexpr int QvgaBarHeight = 26;
constexpr int SmallBarHeight = 20; // the small screens keep more of their height for the board

} // namespace

int systemBarHeight(int width, int height) {
    if (width >= 480 || height >= 640) return 2 * QvgaBarHeight;
    if (width < 220 || height < 220) return SmallBarHeight;
    return QvgaBarHeight;
}

bool keepsTaskBar(int width, int height) {
    return width < height;
}

int viewHeight(int width, int height) {
    const int bar = systemBarHeight(width, height);
    return height - bar - (keepsTaskBar(width, height) ? bar : 0);
}

void layoutBoard(BoardGeometry& g, int width, int height, int isometric) {
    const bool iso = isometric != 0;

    // Step 1: QVGA portrait.
    g = BoardGeometry{};
    g.screenType = ScreenQvgaPortrait;
    g.squareSize = 28;
    g.boardWidth = 240;
    if (iso) {
        setSmallIsometric(g, width);
    } else {
        g.boardLeft = 0;
        g.boardTop = 5;
        g.originX = g.originY = 8;
        setFlatCells(g, 28, 28, 32);
        g.boardHeight = 240;
    }

    // Step 2: QVGA landscape.
    if (width == 320 && height == 240) {
        g.screenType = ScreenQvgaLandscape;
        if (!iso) {
            g.boardTop = -5;
            g.boardWidth = g.boardHeight = 224;
            g.boardLeft = 0;
            g.originX = g.originY = 8;
            setFlatCells(g, 26, 28, 30);
            return;
        }
        setSmallIsometric(g, width);
        g.boardLeft = 40;
        g.originX = -1;
    }

    // Step 3: square screen.
    if (width == 240 && height == 240) {
        g.screenType = ScreenSquare;
        if (!iso) {
            setFlatCells(g, 22, 18, 28);
            g.boardLeft = g.boardTop = 2;
            g.originX = g.originY = 0;
            g.boardWidth = g.boardHeight = 176;
            return;
        }
        setSmallIsometric(g, width);
        g.boardLeft = 0;
        g.originX = -1;
    }

    // Step 4: VGA.
    if (width >= 480 || height >= 640) {
        g.screenType = ScreenVga;
        if (iso) {
            setLargeIsometric(g, width);
        } else {
            g.boardLeft *= 2;
            g.boardTop *= 2;
            g.boardHeight *= 2;
            g.originX *= 2;
            g.originY *= 2;
            setFlatCells(g, 56, 48, 64);
            g.boardWidth = 480;
        }
    }

    // Step 5: VGA landscape.
    if (width == 640 || height == 480) {
        g.screenType = ScreenVgaLandscape;
        if (iso) {
            setLargeIsometric(g, width);
            g.squareSize *= 2;
        } else {
            setFlatCells(g, 52, 48, 60);
            g.boardWidth = g.boardHeight = 416;
            g.boardLeft = 0;
            g.boardTop = 6;
            g.originX = 16;
            g.originY = 0;
        }
    }

    // Step 6: narrow screen.
    if (width < 220) {
        g.screenType = ScreenNarrow;
        g.originY = 0;
        g.squareSize = 20;
        if (iso) {
            g.boardLeft = width / 2 - 70;
            g.originX = -1;
            g.cellWidth = 18;
            g.cellHeight = 8;
            g.pieceWidth = 11;
            g.pieceHeight = 14;
            g.boardWidth = 140;
            g.boardHeight = 105;
            g.boardTop = 18;
            g.markerWidth = 19;
            g.markerHeight = 11;
        } else {
            // Under the clock lines, centred, with two lines of moves and the
            // status line below it.
            g.boardLeft = 0;
            g.boardTop = 16;
            setFlatCells(g, NarrowSquare, NarrowSquare - 1, NarrowSquare + 4);
            g.boardWidth = g.boardHeight = 8 * NarrowSquare;
            g.originX = std::max(0, (width - g.boardWidth) / 2);
        }
    }

    // Step 7: low screen.
    if (height < 220) {
        g.screenType = ScreenLow;
        if (iso) {
            g.boardLeft = width / 2 - 88;
            g.originX = -1;
            g.squareSize = 18;
            g.cellWidth = 17;
            g.cellHeight = 8;
            g.pieceWidth = 11;
            g.pieceHeight = 14;
            g.boardWidth = 176;
            g.boardHeight = 105;
            g.boardTop = 18;
            g.originY = 16;
            g.markerWidth = 19;
            g.markerHeight = 11;
        } else {
            // Under the clock lines at the left edge; the panel takes the right.
            g.originY = 0;
            g.boardLeft = 0;
            g.boardTop = 14;
            g.originX = 2;
            setFlatCells(g, LowSquare, LowSquare - 1, LowSquare + 4);
            g.boardWidth = g.boardHeight = 8 * LowSquare;
        }
    }
}

int isometricCellHeight(int cellWidth) {
    return 2 * std::max(1, static_cast<int>(std::lround(cellWidth * 14.0 / 58.0)));
}

namespace {

// The desktop panel: two clock lines, a blank line, the score and three lines of
// status, then the move list.
constexpr int DesktopTextLines = 7;

// The room a desktop isometric board of this cell width takes: the rank numbers
// half a cell left and right of the diamond, the back pieces standing out above
// it, the board's sides and the file letters below it.
int isoNeededWidth(int cell) {
    return 9 * cell;
}
int isoPiecesAbove(int cell) {
    return static_cast<int>(std::lround(cell * 50.0 / 58.0)) / 2 + 2;
}
int isoNeededHeight(int cell) {
    const int h = isometricCellHeight(cell);
    return isoPiecesAbove(cell) + 9 * h + h / 2 + 4;
}
// The largest even isometric cell whose board fits the width x height.
int isoCellFor(int width, int height) {
    int cell = 2 * std::clamp(width / 18, 1, DesktopMaxCell / 2);
    while (cell > 4 && (isoNeededWidth(cell) > width || isoNeededHeight(cell) > height)) cell -= 2;
    return std::max(4, cell);
}

} // namespace

void layoutDesktop(BoardGeometry& g, int width, int height, int isometric) {
    g = BoardGeometry{};
    g.screenType = ScreenDesktop;
    width = std::max(width, 64);
    height = std::max(height, 64);
    const int margin = std::clamp(std::min(width, height) / 60, 4, 16);
    g.panelFontPx = std::clamp(std::min(width, height) / 48, 12, 28);
    g.panelLinePitch = g.panelFontPx * 3 / 2;
    g.panelTextLines = DesktopTextLines;
    // The panel's least room: beside the board, wide enough for the clock lines and
    // the move list; under it, the text lines (the move list goes right of them).
    const int panelMinWidth = std::max(180, g.panelFontPx * 12);
    const int panelMinHeight = DesktopTextLines * g.panelLinePitch;
    const int besideWidth = width - panelMinWidth - 3 * margin, besideHeight = height - 2 * margin;
    const int aboveWidth = width - 2 * margin, aboveHeight = height - panelMinHeight - 3 * margin;

    bool beside = true;
    int boardW = 0, boardH = 0; // the room the board takes
    if (isometric) {
        const int cellBeside = isoCellFor(besideWidth, besideHeight);
        const int cellAbove = isoCellFor(aboveWidth, aboveHeight);
        beside = cellBeside >= cellAbove;
        const int cell = beside ? cellBeside : cellAbove;
        const int h = isometricCellHeight(cell);
        boardW = isoNeededWidth(cell);
        boardH = isoNeededHeight(cell);
        g.squareSize = g.cellWidth = cell;
        g.cellHeight = h;
        g.pieceWidth = std::max(4, static_cast<int>(std::lround(cell * 31.0 / 58.0)));
        g.pieceHeight = std::max(6, static_cast<int>(std::lround(cell * 50.0 / 58.0)));
        g.markerWidth = cell + 1;
        g.markerHeight = h + 2;
    } else {
        const int sideBeside = std::min(besideWidth, besideHeight);
        const int sideAbove = std::min(aboveWidth, aboveHeight);
        beside = sideBeside >= sideAbove;
        const int square = std::clamp((beside ? sideBeside : sideAbove) / 8, 4, DesktopMaxCell);
        boardW = boardH = 8 * square;
        setFlatCells(g, square, std::max(4, static_cast<int>(std::lround(square * 6.0 / 7.0))),
                     square + 2 * std::max(2, square / 14));
    }

    // The board's room: left of the panel, centred in the height; or above the
    // panel, centred in the width.
    int roomX = margin, roomY = margin;
    if (beside) {
        roomY = std::max(margin, (height - boardH) / 2);
        g.panelLeft = roomX + boardW + margin;
        g.panelTop = margin;
        g.panelWidth = std::max(0, width - g.panelLeft - margin);
        g.panelHeight = std::max(0, height - 2 * margin);
    } else {
        roomX = std::max(margin, (width - boardW) / 2);
        g.panelLeft = margin;
        g.panelTop = roomY + boardH + margin;
        g.panelWidth = std::max(0, width - 2 * margin);
        g.panelHeight = std::max(0, height - g.panelTop - margin);
    }
    if (isometric) {
        // The diamond's top corner under the back pieces; its left corner half a
        // cell in from the room's edge. boardLeft/boardTop are the diamond's box.
        g.boardLeft = roomX + g.cellWidth / 2;
        g.boardTop = roomY + isoPiecesAbove(g.cellWidth);
        g.boardWidth = 8 * g.cellWidth;
        g.boardHeight = 8 * g.cellHeight;
        g.originX = 0;
        g.originY = g.cellHeight / 2;
    } else {
        g.boardLeft = roomX;
        g.boardTop = roomY;
        g.boardWidth = g.boardHeight = boardW;
        g.originX = g.originY = 0;
    }
}

void desktopMoveListRect(const BoardGeometry& g, int textLines, int& x, int& y, int& width, int& height) {
    x = y = width = height = 0;
    if (g.screenType != ScreenDesktop) return;
    // The arrangement follows the room kept for the texts, so the list does not
    // change sides when the texts come and go.
    const int kept = g.panelTextLines * g.panelLinePitch;
    const int text = std::clamp(textLines, 0, g.panelTextLines) * g.panelLinePitch;
    if (g.panelHeight >= kept + 3 * g.panelLinePitch) {
        // Under the texts.
        x = g.panelLeft;
        y = g.panelTop + text;
        width = g.panelWidth;
        height = g.panelHeight - text;
    } else {
        // Right of the texts, which keep the panel's left part.
        const int textWidth = std::min(g.panelWidth / 2, g.panelFontPx * 16);
        x = g.panelLeft + textWidth;
        y = g.panelTop;
        width = g.panelWidth - textWidth;
        height = g.panelHeight;
    }
}

void cellPosition(const BoardGeometry& g, int isometric, int orientation, int column, int row, int& x,
                  int& y) {
    if (isometric) {
        int c, r;
        turnSquare(orientation, column, row, c, r);
        const float wc = static_cast<float>(g.cellWidth);
        const float hc = static_cast<float>(g.cellHeight);
        const float x0 = static_cast<float>(g.originX + g.boardLeft);
        const float y0 = static_cast<float>(g.originY + g.boardHeight / 2 + g.boardTop);
        x = static_cast<int>(static_cast<float>(r + c) * wc * 0.5f + x0);
        y = static_cast<int>(y0 + hc * static_cast<float>(r - 1) * 0.5f -
                             hc * static_cast<float>(c + 1) * 0.5f);
        return;
    }
    const int s = g.squareSize;
    const int bottom = flatBottom(g);
    if (orientation == 0) {
        x = g.originX + column * s + g.boardLeft;
        y = bottom - (8 - row) * s;
    } else {
        x = g.originX + (7 - column) * s + g.boardLeft;
        y = bottom - (row + 1) * s;
    }
}

void piecePosition(const BoardGeometry& g, int isometric, int orientation, int column, int row, int& x,
                   int& y) {
    if (isometric) {
        int c, r;
        turnSquare(orientation, column, row, c, r);
        const float wc = static_cast<float>(g.cellWidth);
        const float hc = static_cast<float>(g.cellHeight);
        const float x0 = static_cast<float>(g.originX + g.boardLeft);
        const float y0 = static_cast<float>(g.originY + g.boardHeight / 2 + g.boardTop);
        x = static_cast<int>(static_cast<float>(r + c) * wc * 0.5f + x0) + g.cellWidth / 2 - g.pieceWidth / 2;
        y = static_cast<int>(y0 + hc * static_cast<float>(r) * 0.5f - hc * static_cast<float>(c) * 0.5f) -
            g.pieceHeight / 2 - g.cellHeight;
        return;
    }
    cellPosition(g, isometric, orientation, column, row, x, y);
    const int inset = (g.squareSize - g.pieceWidth) / 2;
    x += inset;
    y += inset;
}

void hitTest(const BoardGeometry& g, int isometric, int orientation, int x, int y, int& column, int& row) {
    if (isometric) {
        const int halfWidth = g.cellWidth / 2;
        const int halfHeight = g.cellHeight / 2;
        if (halfWidth == 0 || halfHeight == 0) {
            column = row = -1;
            return;
        }
        const int gx = x - g.originX - g.boardLeft;
        const int hy = y + halfHeight - g.boardHeight / 2 - g.originY - g.boardTop;
        const float u = static_cast<float>(gx) / static_cast<float>(halfWidth);
        const float v = static_cast<float>(hy) / static_cast<float>(halfHeight);
        // Rounded down, not towards zero, so that a point just outside the
        // diamond's upper-left edges does not count as a square of the board.
        const int r = static_cast<int>(std::floor((u + v) * 0.5f));
        const int c = static_cast<int>(std::floor((u - v) * 0.5f));
        switch (orientation) {
        case 1:
            column = r;
            row = 7 - c;
            break;
        case 2:
            column = 7 - c;
            row = 7 - r;
            break;
        case 3:
            column = 7 - r;
            row = c;
            break;
        default:
            column = c;
            row = r;
            break;
        }
        return;
    }
    const int s = g.squareSize;
    if (s <= 0) {
        column = row = -1;
        return;
    }
    // The pixel rows of a cell run from its top edge down to one above the
    // next cell, exactly as the cells are drawn.
    const int c = floorDiv(x - g.originX - g.boardLeft, s);
    const int r = floorDiv(flatBottom(g) - 1 - y, s);
    column = c;
    row = 7 - r;
    if (orientation != 0) {
        column = 7 - column;
        row = 7 - row;
    }
}

void layoutBoard(GameController& controller) {
    int width = 240, height = 320;
    if (controller.platform) {
        width = controller.platform->screenWidth();
        height = controller.platform->screenHeight();
        if (controller.platform->desktopLayout()) {
            layoutDesktop(controller.geometry, width, height,
                          static_cast<int>(controller.settings.isometric));
            return;
        }
    }
    layoutBoard(controller.geometry, width, height, static_cast<int>(controller.settings.isometric));
}

void piecePosition(const GameController& controller, int column, int row, int& x, int& y) {
    piecePosition(controller.geometry, static_cast<int>(controller.settings.isometric),
                  controller.settings.orientation, column, row, x, y);
}

void cellPosition(const GameController& controller, int column, int row, int& x, int& y) {
    cellPosition(controller.geometry, static_cast<int>(controller.settings.isometric),
                 controller.settings.orientation, column, row, x, y);
}

void hitTest(const GameController& controller, int x, int y, int& column, int& row) {
    hitTest(controller.geometry, static_cast<int>(controller.settings.isometric),
            controller.settings.orientation, x, y, column, row);
}
