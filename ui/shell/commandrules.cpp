#include "ui/shell/commandrules.h"

#include "game/controller.h"
#include "game/preferences.h"
#include "ui/shell/desktoptexts.h"

namespace {
CommandState ticked(bool on) {
    CommandState state;
    state.checkable = true;
    state.checked = on;
    return state;
}
CommandState enabledWhen(bool on) {
    CommandState state;
    state.enabled = on;
    return state;
}
} // namespace

CommandState commandState(int command) {
    GameController& game = gameController();
    const Settings& settings = game.settings;
    switch (command) {
    case CmdHint:
        return enabledWhen(game.hintAvailable());
    case CmdTakeback:
    case CmdTakebackAll:
        return enabledWhen(game.canTakeBack());
    case CmdForward:
        return enabledWhen(game.canForward());
    case CmdForwardAll:
        return enabledWhen(game.canForwardAll());
    case CmdWood2D:
        return ticked(settings.isometric == 0 && settings.skin == 0);
    case CmdBlue2D:
        return ticked(settings.isometric == 0 && settings.skin == 1);
    case CmdBW2D:
        return ticked(settings.isometric == 0 && settings.skin == 2);
    case CmdIsometric:
        return ticked(settings.isometric == 1);
    case CmdShowLegalMoves:
        return ticked(settings.showLegalMoves != 0);
    case CmdShowLastMove:
        return ticked(settings.showLastMove != 0);
    case CmdTutorMode:
        return ticked(settings.tutorMode != 0);
    case CmdSound:
        return ticked(desktopPreferences().sound);
    case CmdCoordinates:
        return ticked(desktopPreferences().coordinates);
    case CmdAutoTurn:
        return ticked(desktopPreferences().autoTurn);
    case CmdResign:
    case CmdOfferDraw:
        return enabledWhen(!game.gameDecided());
    default:
        return CommandState{};
    }
}
