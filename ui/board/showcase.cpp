#include "ui/board/showcase.h"

#include <cstdint>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/search/rootsearch.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/settings.h"

namespace {
constexpr int KnightColumn = 5, KnightRow = 5; // f3
} // namespace

bool setUpShowcase(GameController& game) {
    newGame();
    static const char* const moves[] = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6", "O-O", "Be7"};
    for (const char* move : moves)
        if (!playMoveText(move, engineSession.gamePosition, 1, &gameRecord)) return false;

    setDefaultSettings(game.settings);
    game.settings.showLegalMoves = 1;
    game.settings.showLastMove = 1;
    game.userColour = White;
    game.clockTimerStarted = true;
    game.whiteClockMs = 95000;
    game.blackClockMs = 61000;
    game.cursorColumn = game.cursorRow = 0;
    game.stylusDown = game.animating = game.showMovablePieces = false;
    for (std::int32_t& square : game.hintMove) square = -1;
    game.selectedColumn = KnightColumn;
    game.selectedRow = KnightRow;
    game.selectedPiece = static_cast<std::uint8_t>(engineBridge().pieceAt(KnightColumn, KnightRow));
    game.pieceSelected = true;

    // The engine's expected line: a short analysis of the position, which
    // leaves its line and score as a finished search does.
    Position copy = engineSession.gamePosition;
    rootSearch(copy, AnalyseMode, 3);
    return true;
}

void markShowcaseDestinations(GameController& game) {
    engineBridge().computeDestinations(game.selectedColumn, game.selectedRow, game.userColour);
}
