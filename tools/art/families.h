// Pixel sizes of every picture, per resolution family. The numbers are the board
// layout of the screen classes that share one family folder; the board drawing
// places the pictures with exactly these sizes.
#pragma once

#include <vector>

namespace art {

// A flat sprite file: its name and the size of one cell in it.
struct SpriteFile {
    const char* name;
    int width;
    int height;
    int cell = 0; // side of the board square the sprite is placed on (markers)
};

// The isometric layout of a family, relative to the board picture's top-left corner.
struct IsoLayout {
    int cellWidth, cellHeight;
    int originX, originY;
    int boardWidth, boardHeight;
    int pieceWidth, pieceHeight;
    int markerWidth, markerHeight;
};

struct Family {
    const char* folder;                 // below the program folder; "" for the QVGA family
    std::vector<SpriteFile> boards;     // two tiles of width x width
    std::vector<SpriteFile> pieces;     // twelve cells
    std::vector<SpriteFile> selections; // three markers
    IsoLayout iso;
    int splashWidth, splashHeight;
    int splashSlotX, splashSlotY; // where the animation frame sits inside the picture
};

// QVGA (portrait, landscape, square), VGA (portrait, landscape), narrow and low screens.
inline const std::vector<Family> families = {
    {"",
     {{"board_port.bmp", 28, 28}, {"board_land.bmp", 26, 26}, {"board_square.bmp", 22, 22}},
     {{"pieces_port.bmp", 28, 28}, {"pieces_square.bmp", 18, 18}},
     {{"selection_port.bmp", 32, 32, 28},
      {"selection_land.bmp", 30, 30, 26},
      {"selection_square.bmp", 28, 28, 22}},
     {30, 14, -1, 16, 240, 124, 19, 24, 31, 17},
     320,
     320,
     70,
     138},
    {"VGA",
     {{"board.bmp", 56, 56}, {"board_land.bmp", 52, 52}},
     {{"pieces.bmp", 48, 48}},
     {{"selection.bmp", 64, 64, 56}, {"selection_land.bmp", 60, 60, 52}},
     {58, 28, -2, -4, 464, 320, 31, 50, 59, 30},
     640,
     640,
     230,
     241},
    {"Narrow",
     {{"board.bmp", 15, 15}},
     {{"pieces.bmp", 14, 14}},
     {{"selection.bmp", 19, 19, 15}},
     {18, 8, -1, 0, 140, 105, 11, 14, 19, 11},
     320,
     320,
     70,
     138},
    {"Low",
     {{"board.bmp", 17, 17}},
     {{"pieces.bmp", 16, 16}},
     {{"selection.bmp", 21, 21, 17}},
     {17, 8, -1, 16, 176, 105, 11, 14, 19, 11},
     320,
     320,
     70,
     138},
};

} // namespace art
