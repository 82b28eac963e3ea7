// The aids around the game: the hint, the takebacks, going forward again and
// changing sides with the engine. The tutor's question is asked from the
// engine's progress notification (onEngineProgress).


#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/search/searchdata.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"

bool GameController::hintAvailable() {
    int fromColumn = -1, fromRow = -1, toColumn = -1, toRow = -1;
    const int found = engineBridge().predictedReply(fromColumn, fromRow, toColumn, toRow);
    hintMove[0] = fromColumn;
    hintMove[1] = fromRow;
    hintMove[2] = toColumn;
    hintMove[3] = toRow;
    if (!found) return false;
    for (std::int32_t coordinate : hintMove)
        if (coordinate < 0 || coordinate > 7) return false;
    return true;
}

void GameController::showHint() {
    // 1.
    if (!hintAvailable() || gameDecided()) return;
    EngineBridge& bridge = engineBridge();
    // 2.
    capturedPiece = 0;
    hintAvailable();
    const int fromColumn = hintMove[0], fromRow = hintMove[1], toColumn = hintMove[2], toRow = hintMove[3];
    // 3. The piece leaves its square while it slides; the square shows nothing.
    selectedColumn = fromColumn;
    selectedRow = fromRow;
    animPiece = static_cast<std::uint8_t>(bridge.pieceAt(fromColumn, fromRow));
    animHiddenColumn = fromColumn;
    animHiddenRow = fromRow;
    // 4. Set up as slidePiece does.
    beginSlide(fromColumn, fromRow, toColumn, toRow);
    // 5. To the target and back again.
    bool returning = false;
    while (animating) {
        repaint();
        host().sleepMs(SlideFramePeriodMs);
        ++animFrame;
        if (animFrame >= animFrameCount) {
            if (!returning) {
                returning = true;
                animStepX = -animStepX;
                animStepY = -animStepY;
                animFrame = 0;
            } else {
                animating = false;
                stylusDown = false;
            }
        }
    }
    // 6.
    selectedColumn = selectedRow = -1;
    repaint();
}

void GameController::takeBack(bool fromMenu) {
    // 1.
    if (engineSession.gamePosition.ply < 2) return;
    EngineBridge& bridge = engineBridge();
    // 2. A thinking engine gives back only the move it was answering.
    bridge.takeBackMove(engineBusy);
    engineSession.expectedReply = 0;
    // 3.
    selectedColumn = selectedRow = -1;
    // 4.
    if (fromMenu) tutorReferenceScore = NoTutorReference;
    // 5.
    engineBusy = false;
    // 6.
    bridge.clearPrincipalVariation(handlingEngineNotification());
    engineSession.rootScore = 0;
    // 7.
    bridge.computeMovablePieces(userColour);
    repaint();
    // 8. Back at the start with the engine playing White: it moves first.
    if (engineSession.gamePosition.ply == 1 && !settings.userPlaysWhite) {
        engineBusy = true;
        bridge.go();
    }
}

void GameController::takeBackAll() {
    EngineBridge& bridge = engineBridge();
    // 1.
    bridge.takeBackAllMoves(engineBusy);
    // 2.
    selectedColumn = selectedRow = -1;
    tutorReferenceScore = 0;
    bridge.clearPrincipalVariation(handlingEngineNotification());
    engineSession.rootScore = 0;
    engineBusy = false;
    // 3.
    bridge.computeMovablePieces(userColour);
    repaint();
    // 4.
    if (engineSession.gamePosition.ply == 1 && !settings.userPlaysWhite) {
        engineBusy = true;
        bridge.go();
    }
}

void GameController::forward() {
    EngineBridge& bridge = engineBridge();
    // 1.
    bridge.forwardMove(engineBusy);
    // 2.
    tutorReferenceScore = NoTutorReference;
    selectedColumn = selectedRow = -1;
    engineBusy = false;
    // 3.
    bridge.computeMovablePieces(userColour);
    repaint();
}

void GameController::forwardAll() {
    EngineBridge& bridge = engineBridge();
    bridge.forwardAllMoves(engineBusy);
    tutorReferenceScore = NoTutorReference;
    selectedColumn = selectedRow = -1;
    engineBusy = false;
    bridge.computeMovablePieces(userColour);
    repaint();
}

void GameController::swapSides() {
    // 1. The engine takes the colour the user gives up.
    engineSession.engineColour = userColour == White ? EnginePlaysWhite : EnginePlaysBlack;
    // 2.
    userColour = userColour == White ? Black : White;
    settings.userPlaysWhite = settings.userPlaysWhite ? 0 : 1;
    // 3.
    EngineBridge& bridge = engineBridge();
    bridge.toggleEngineSide(engineBusy);
    // 4.
    engineBusy = !engineBusy;
    // 5.
    bridge.computeMovablePieces(userColour);
}
