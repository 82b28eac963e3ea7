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
// screen size from the controller's platform.
void layoutBoard(GameController& controller);
void piecePosition(const GameController& controller, int column, int row, int& x, int& y);
void cellPosition(const GameController& controller, int column, int row, int& x, int& y);
void hitTest(const GameController& controller, int x, int y, int& column, int& row);
