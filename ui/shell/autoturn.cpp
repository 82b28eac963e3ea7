#include "ui/shell/autoturn.h"

#include "engine/core/position.h"
#include "game/controller.h"
#include "game/preferences.h"

namespace {
int lastColour = 0; // the colour the board was last turned for
} // namespace

void autoTurnBoard() {
    GameController& game = gameController();
    const int colour = game.userColour;
    if (colour != White && colour != Black) return;
    if (colour == lastColour) return;
    lastColour = colour;
    if (!desktopPreferences().autoTurn) return;
    Settings& settings = game.settings;
    // The flat board has two views, the isometric one four quarter turns.
    const std::int32_t wanted = colour == White ? 0 : (settings.isometric ? 2 : 1);
    if (settings.orientation == wanted) return;
    settings.orientation = wanted;
    if (settings.isometric) game.loadSkin(static_cast<int>(settings.skin));
    game.repaint();
}
