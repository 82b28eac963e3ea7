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
    for (std::int32_t& coordinate : hintMove) coordinate = -1;
    // Only a move the user can play now: not while the engine thinks (the
    // prediction is for the position after its move), not after the end.
    if (engineBusy || engineSession.searchState != 0 || gameDecided()) return false;
    const Position& position = engineSession.gamePosition;
    if (position.sideToMove != userColour) return false;
    int fromColumn = -1, fromRow = -1, toColumn = -1, toRow = -1;
    if (!engineBridge().predictedReply(fromColumn, fromRow, toColumn, toRow)) return false;
    const int squares[4] = {fromColumn, fromRow, toColumn, toRow};
    for (int coordinate : squares)
        if (coordinate < 0 || coordinate > 7) return false;
    // A legal move of this position (tried on a copy).
    Position copy = position;
    if (playMove(copy, fromColumn, fromRow, toColumn, toRow, userColour, 0, 0, nullptr, nullptr, nullptr) != 1)
        return false;
    for (int i = 0; i < 4; ++i) hintMove[i] = squares[i];
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
    // 2. Back to the user's last turn: a thinking engine gives back only the
    // move it was answering, and so does a game the user's move has ended; on
    // the user's turn the engine's move and the user's move before it go.
    // Never before the user's first turn: the engine's first move stays.
    if (!canTakeBack()) return;
    const bool inNotification = handlingEngineNotification();
    if (!inNotification) stopEngine(); // a move the engine has just played arrives now
    const int ply = engineSession.gamePosition.ply;
    int plies = engineSession.gamePosition.sideToMove == userColour ? 2 : 1;
    if (ply - plies < firstUserPly()) plies = ply - firstUserPly();
    bridge.takeBackPlies(inNotification && engineBusy, plies);
    engineSession.expectedReply = 0;
    judgeGame(false);
    // 3.
    selectedColumn = selectedRow = -1;
    // 4.
    if (fromMenu) tutorReferenceScore = NoTutorReference;
    // 5.
    engineBusy = false;
    // 6.
    bridge.clearPrincipalVariation(handlingEngineNotification());
    engineSession.rootScore = 0;
    scoreValid = false;
    lineValid = false;
    // 7.
    bridge.computeMovablePieces(userColour);
    repaint();
    // 8. Back at the start with the engine playing White: it moves first.
    if (engineSession.gamePosition.ply == 1 && !settings.userPlaysWhite) letEngineMove();
}

void GameController::takeBackAll() {
    EngineBridge& bridge = engineBridge();
    // 1. Back to the user's first turn of the record: as Black, after White's
    // first move, so that the record stays whole for going forward again.
    if (!handlingEngineNotification()) stopEngine();
    bridge.takeBackAllMoves(engineBusy, userColour);
    judgeGame(false);
    // 2.
    selectedColumn = selectedRow = -1;
    tutorReferenceScore = 0;
    bridge.clearPrincipalVariation(handlingEngineNotification());
    engineSession.rootScore = 0;
    scoreValid = false;
    lineValid = false;
    engineBusy = false;
    // 3.
    bridge.computeMovablePieces(userColour);
    repaint();
    // 4. Nothing recorded to stand on: the engine opens the game.
    if (engineSession.gamePosition.sideToMove != userColour) letEngineMove();
}

void GameController::forward() {
    EngineBridge& bridge = engineBridge();
    // 1.
    stopEngine();
    bridge.forwardMove(engineBusy);
    judgeGame(false);
    // 2. The line and score were of the position left behind.
    tutorReferenceScore = NoTutorReference;
    scoreValid = false;
    lineValid = false;
    bridge.clearPrincipalVariation();
    selectedColumn = selectedRow = -1;
    engineBusy = false;
    // 3.
    bridge.computeMovablePieces(userColour);
    repaint();
}

void GameController::forwardAll() {
    EngineBridge& bridge = engineBridge();
    stopEngine();
    bridge.forwardAllMoves(engineBusy);
    judgeGame(false);
    tutorReferenceScore = NoTutorReference;
    scoreValid = false;
    lineValid = false;
    bridge.clearPrincipalVariation();
    selectedColumn = selectedRow = -1;
    engineBusy = false;
    bridge.computeMovablePieces(userColour);
    repaint();
}

void GameController::swapSides() {
    // A thinking engine stops first (a move it has played arrives now).
    stopEngine();
    // 1. The engine takes the colour the user gives up.
    engineSession.engineColour = userColour == White ? EnginePlaysWhite : EnginePlaysBlack;
    // 2.
    userColour = userColour == White ? Black : White;
    settings.userPlaysWhite = settings.userPlaysWhite ? 0 : 1;
    // 3., 4. A thinking engine hands the move back; otherwise the engine takes
    // it (unless the game is over or the record is full).
    EngineBridge& bridge = engineBridge();
    if (gameDecided()) {
        engineBusy = false;
    } else if (engineBusy) {
        bridge.toggleEngineSide(true);
        engineBusy = false;
    } else if (engineSession.gamePosition.sideToMove != userColour) {
        ++moveRequests;
        letEngineMove();
    } else {
        engineBusy = false; // the user's turn again (the engine had not started)
    }
    // 5.
    bridge.computeMovablePieces(userColour);
}
