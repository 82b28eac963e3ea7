#include "game/gameend.h"

#include <cstdint>

#include "engine/core/gamerecord.h"
#include "engine/search/worker.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

struct Agreement {
    int result = 0; // 1 White won, 2 Black won, 3 drawn; 0 none
    int ply = 0;    // where it was given
    int recordLength = 0;
};

Agreement agreement;

void endWith(GameController& game, int result) {
    if (game.engineBusy) {
        // A stopped search must not play its move into the ended game.
        const std::uint8_t side = engineSession.engineColour;
        engineSession.engineColour = EnginePlaysNone;
        stopSearch();
        engineSession.engineColour = side;
    }
    game.engineBusy = false;
    game.pieceSelected = false;
    game.selectedColumn = game.selectedRow = -1;
    game.stopClockTimer();
    engineSession.gameResult = result;
    agreement = {result, engineSession.gamePosition.ply, recordLength()};
    game.repaint();
}

} // namespace

int agreedResult() {
    return endedByAgreement() ? agreement.result : 0;
}

bool endedByAgreement() {
    return agreement.result != 0 && engineSession.gameResult == agreement.result &&
           engineSession.gamePosition.ply == agreement.ply && recordLength() == agreement.recordLength;
}

bool agreementPossible(GameController& game) {
    return !endedByAgreement() && !game.gameDecided();
}

bool resignGame(GameController& game) {
    if (!agreementPossible(game)) return false;
    endWith(game, game.userColour == White ? 2 : 1);
    return true;
}

bool offerDraw(GameController& game) {
    if (!agreementPossible(game)) return false;
    // The engine's own judgement of its last search: the answer it gives any opponent.
    if (engineSession.drawAcceptable != 1 || engineOptions.drawOffersAllowed != 1) return false;
    endWith(game, 3);
    return true;
}
