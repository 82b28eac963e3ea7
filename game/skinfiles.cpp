#include "game/skinfiles.h"

#include <cstdio>

#include "ui/board/geometry.h"

namespace {

// File names of the flat style by screen class. A name without a folder lies
// in the skin's folder (boards) or in "Skin1" (pieces and markers).
struct FlatFiles {
    const char* board;
    const char* pieces;
    const char* selection;
};

FlatFiles flatFiles(int screenType) {
    switch (screenType) {
    case ScreenQvgaPortrait:
        return {"board_port.bmp", "pieces_port.bmp", "selection_port.bmp"};
    case ScreenQvgaLandscape:
        return {"board_land.bmp", "pieces_port.bmp", "selection_land.bmp"};
    case ScreenSquare:
        return {"board_square.bmp", "pieces_square.bmp", "selection_square.bmp"};
    case ScreenVgaLandscape:
        return {"board_land.bmp", "pieces.bmp", "selection_land.bmp"};
    default:
        return {"board.bmp", "pieces.bmp", "selection.bmp"}; // VGA, narrow, low
    }
}

const char* const skinFolders[3] = {"Skin1", "Skin2", "Skin3"};

} // namespace

void boardImageName(char* out, std::size_t size, unsigned skin, int screenType) {
    const char* file = flatFiles(screenType).board;
    if (skin < 3)
        std::snprintf(out, size, "%s\\%s", skinFolders[skin], file);
    else
        std::snprintf(out, size, "%s", file);
}

void isoBoardImageName(char* out, std::size_t size, unsigned skin, int orientation) {
    if (skin != 0)
        std::snprintf(out, size, ".bmp");
    else
        std::snprintf(out, size, "Skin1\\%s.bmp", orientation % 2 == 0 ? "iso_board_main" : "iso_board_alt");
}

void piecesImageName(char* out, std::size_t size, int screenType) {
    std::snprintf(out, size, "Skin1\\%s", flatFiles(screenType).pieces);
}

void isoPiecesImageName(char* out, std::size_t size) {
    std::snprintf(out, size, "Skin1\\iso_pieces.bmp");
}

void selectionImageName(char* out, std::size_t size, int screenType) {
    std::snprintf(out, size, "Skin1\\%s", flatFiles(screenType).selection);
}

void isoSelectionImageName(char* out, std::size_t size) {
    std::snprintf(out, size, "Skin1\\iso_selection.bmp");
}
