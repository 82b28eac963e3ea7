#pragma once
// Names of the skin pictures, relative to the program folder, with a
// backslash between folder and file. Pieces and markers of the flat style
// always come from "Skin1"; only the board follows the skin.

#include <cstddef>

// Flat board for skin 0, 1, 2 (folders "Skin1", "Skin2", "Skin3"); any other
// skin gives the bare file name.
void boardImageName(char* out, std::size_t size, unsigned skin, int screenType);
// "Skin1\iso_board_main.bmp" for an even orientation, "..._alt.bmp" for an
// odd one; a non-zero skin gives ".bmp" alone, which does not load.
void isoBoardImageName(char* out, std::size_t size, unsigned skin, int orientation);
void piecesImageName(char* out, std::size_t size, int screenType);
void isoPiecesImageName(char* out, std::size_t size);
void selectionImageName(char* out, std::size_t size, int screenType);
void isoSelectionImageName(char* out, std::size_t size);
