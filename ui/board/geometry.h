#pragma once
// Where the board sits on the screen and the one mapping between view pixels
// and squares, used by drawing and input alike. Squares are (column, row):
// column 0 = file a, row 0 = rank 8. No platform call here: the screen size
// and the board style are given.

#include <cstdint>

class GameController;

// Screen classes.
constexpr std::int32_t ScreenQvgaPortrait = 0;  // 240 x 320
constexpr std::int32_t ScreenVga = 1;           // 480 x 640 (and anything that large)
constexpr std::int32_t ScreenQvgaLandscape = 2; // 320 x 240
constexpr std::int32_t ScreenSquare = 3;        // 240 x 240
constexpr std::int32_t ScreenNarrow = 4;        // width below 220
constexpr std::int32_t ScreenLow = 6;           // height below 220
constexpr std::int32_t ScreenVgaLandscape = 8;  // 640 x 480
constexpr std::int32_t ScreenDesktop = 9;       // a resizable desktop window, any size

// Squares of the flat board on the two small screen classes.
constexpr std::int32_t NarrowSquare = 15;
constexpr std::int32_t LowSquare = 17;

struct BoardGeometry {
    std::int32_t boardLeft;    // horizontal shift of the board area
    std::int32_t boardTop;     // vertical shift of the board area
    std::int32_t originX;      // board origin x
    std::int32_t originY;      // board origin y
    std::int32_t boardWidth;   // width of the board area
    std::int32_t boardHeight;  // height of the board area
    std::int32_t squareSize;   // side of a flat square, tile size of the flat board image
    std::int32_t cellWidth;    // width of an isometric cell (flat: squareSize)
    std::int32_t cellHeight;   // height of an isometric cell (flat: squareSize)
    std::int32_t pieceWidth;   // width of one piece image
    std::int32_t pieceHeight;  // height of one piece image
    std::int32_t markerWidth;  // width of one marker of the selection image
    std::int32_t markerHeight; // height of one marker
    std::int32_t screenType;   // screen class, one of the Screen* values
    // The desktop window's side panel (clocks, status, move list) beside or under
    // the board, and the text size it uses; all zero on the emulated screens.
    std::int32_t panelLeft;
    std::int32_t panelTop;
    std::int32_t panelWidth;
    std::int32_t panelHeight;
    std::int32_t panelFontPx;    // pixel size of the panel's font
    std::int32_t panelLinePitch; // distance of two text lines of the panel
    std::int32_t panelTextLines; // lines for the clocks and the status, above (or left of) the move list
};

// The device's command bar at the bottom and its task bar at the top have the
// same height: 26 pixels, twice that on VGA-class screens, 20 on screens narrower
// or lower than 220. Portrait screens keep the task bar; landscape and square
// screens hide it. The game view gets the rest of the screen's height.
int systemBarHeight(int width, int height);
bool keepsTaskBar(int width, int height);
int viewHeight(int width, int height);

// Fills every field for a screen of width x height and the board style
// (isometric non-zero: the isometric board).
//
// The narrow and the low screens leave too little room for a 160-pixel board
// and the panel: there the flat board uses smaller squares (15 on narrow
// screens, under the clocks and above the panel; 17 on low screens, left of
// the panel), so the whole board and every text of the panel are in the view.
void layoutBoard(BoardGeometry& geometry, int width, int height, int isometric);

// The desktop window: the board takes the largest square (flat) or the largest
// isometric cell that fits beside (wide views) or above (tall views) the side
// panel, and the panel gets the rest. width x height is the view's size in
// logical pixels; every field is in those pixels.
void layoutDesktop(BoardGeometry& geometry, int width, int height, int isometric);
// The largest desktop square or isometric cell: the board pictures are painted up
// to that size (a larger window keeps a margin round the board).
constexpr int DesktopMaxCell = 512;
// The smallest desktop view that keeps the board and the panel usable.
constexpr int DesktopMinimumViewWidth = 320;
constexpr int DesktopMinimumViewHeight = 200;
// The height of an isometric cell cellWidth wide: about half of it, always even,
// in the proportions of the large screens' 58 x 28 cell.
int isometricCellHeight(int cellWidth);
// Where the move list widget goes in the desktop panel (empty on other screens),
// under (or beside) the first textLines text lines of the panel: the list follows
// the texts shown, up to the panelTextLines the panel keeps room for.
void desktopMoveListRect(const BoardGeometry& geometry, int textLines, int& x, int& y, int& width,
                         int& height);

// Top-left corner of a piece image on the square.
void piecePosition(const BoardGeometry& geometry, int isometric, int orientation, int column, int row, int& x,
                   int& y);
// Top-left corner of the square's cell, where markers are aligned.
void cellPosition(const BoardGeometry& geometry, int isometric, int orientation, int column, int row, int& x,
                  int& y);
// The square under a view point; the result may lie outside 0..7.
void hitTest(const BoardGeometry& geometry, int isometric, int orientation, int x, int y, int& column,
             int& row);

// The same on the controller's geometry and settings; layoutBoard reads the
// screen size from the controller's platform, and lays out the desktop window
// when the platform shows one.
void layoutBoard(GameController& controller);
void piecePosition(const GameController& controller, int column, int row, int& x, int& y);
void cellPosition(const GameController& controller, int column, int row, int& x, int& y);
void hitTest(const GameController& controller, int x, int y, int& column, int& row);
