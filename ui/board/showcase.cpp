#include "ui/board/showcase.h"

#include <cstdint>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/search/searchdata.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/settings.h"

namespace {
constexpr int KnightColumn = 5, KnightRow = 5;  // f3
}  // namespace

bool setUpShowcase(GameController& game)
{
    newGame();
    static const char* const moves[] = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6", "O-O", "Be7"};
    for (const char* move : moves)
        if (!playMoveText(move, engineSession.gamePosition, 1, &gameRecord))
            return false;

    setDefaultSettings(game.settings);
    game.settings.showLegalMoves = 1;
    game.settings.showLastMove = 1;
    game.userColour = White;
    game.clockTimerStarted = true;
    game.whiteClockMs = 95000;
    game.blackClockMs = 61000;
    game.cursorColumn = game.cursorRow = 0;
    game.stylusDown = game.animating = game.showMovablePieces = false;
    for (std::int32_t& square : game.hintMove)
        square = -1;
    game.selectedColumn = KnightColumn;
    game.selectedRow = KnightRow;
    game.selectedPiece = static_cast<std::uint8_t>(engineBridge().pieceAt(KnightColumn, KnightRow));
    game.pieceSelected = true;

    // The line a finished search would leave: 6. Re1 b5 7. Bb3.
    engineSession.rootScore = 35;
    const int line[][2] = {{squareOf(5, 7), squareOf(4, 7)}, {squareOf(1, 1), squareOf(1, 3)},
                           {squareOf(0, 4), squareOf(1, 5)}};
    pvTable[0][0] = 3;
    for (int i = 0; i < 3; ++i)
        pvTable[0][i + 1] = line[i][0] | (line[i][1] << 7);
    return true;
}

void markShowcaseDestinations(GameController& game)
{
    engineBridge().computeDestinations(game.selectedColumn, game.selectedRow, game.userColour);
}
