// Moves entered with the stylus: tap the piece and then its destination (the
// piece slides), or press on the piece and drag it there.

#include "engine/core/gamerecord.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/eval/evaluate.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

constexpr int EvaluationBound = 30000; // the full evaluation, no lazy exit

bool onBoard(int column, int row) {
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

// The squares of a move word as the user enters it (castling as the king's step).
bool sameSquares(std::int32_t move, int fromColumn, int fromRow, int toColumn, int toRow) {
    if (move == 0) return false;
    int origin = moveOrigin(move);
    const int destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) origin = squareOf(4, rowOf(destination));
    return origin == squareOf(fromColumn, fromRow) && destination == squareOf(toColumn, toRow);
}

} // namespace

bool GameController::tryMove(int fromColumn, int fromRow, int toColumn, int toRow) {
    // A record without room for the move would part from the position.
    if (!recordHasRoom(engineSession.gamePosition)) {
        host().showMessage(MessageRecordFull, settings.language);
        return false;
    }
    // The tutor compares with the score before the move: the engine's last one
    // when it belongs to this game and position, else the position's own
    // evaluation (after a new game, a load or a takeback; the engine is idle).
    tutorReferenceScore = scoreValid ? static_cast<std::int32_t>(engineSession.rootScore)
                                     : evaluate(engineSession.gamePosition, -EvaluationBound, EvaluationBound);
    const std::int32_t expected = engineSession.expectedReply;
    if (!engineBridge().tryUserMove(fromColumn, fromRow, toColumn, toRow)) return false;
    // The move the engine expected (the one the Hint shows) is never called weak.
    if (sameSquares(expected, fromColumn, fromRow, toColumn, toRow)) tutorReferenceScore = NoTutorReference;
    replyBeforeMove = expected;
    tutorWarned = false;
    ++moveRequests;
    forgetStandingEnd();
    // The paints of the move show the end of the game if it has come.
    judgeGame(false);
    return true;
}

void GameController::selectSquare(int column, int row) {
    EngineBridge& bridge = engineBridge();
    selectedPiece = static_cast<std::uint8_t>(bridge.pieceAt(column, row));
    selectedColumn = column;
    selectedRow = row;
    pieceSelected = true;
    bridge.computeDestinations(column, row, userColour);
}

void GameController::stylusPressed(int x, int y) {
    EngineBridge& bridge = engineBridge();
    // 1. The engine's turn, or the game is over: the board takes no taps.
    if (engineBusy || gameDecided()) return;
    // 2.
    bridge.clearDestinations();
    // 3.
    int column, row;
    hitTest(*this, x, y, column, row);
    if (!onBoard(column, row)) return;
    // 4.
    stylusDown = true;
    pressX = x;
    pressY = y;
    dragDX = dragDY = 0;
    // 5.
    const bool own = pieceColour(bridge.pieceAt(column, row)) == userColour;
    // 6.
    if (pieceSelected) {
        if (own) {
            selectSquare(column, row);
            repaint();
            return;
        }
        // A move attempt by tap.
        const int moving = bridge.pieceAt(selectedColumn, selectedRow);
        const int fromColumn = selectedColumn, fromRow = selectedRow;
        if (!tryMove(fromColumn, fromRow, column, row)) {
            selectedColumn = -1;
            repaint();
            showMovablePieces = true;
            repaint();
            return;
        }
        stopClockTimer();
        pieceSelected = false;
        capturedPiece = static_cast<std::uint8_t>(bridge.pieceBeforeLastMove(column, row));
        animPiece = static_cast<std::uint8_t>(moving);
        animHiddenColumn = column;
        animHiddenRow = row;
        slidePiece(fromColumn, fromRow, column, row);
        repaint();
        startClockTimer();
        afterUserMove();
        return;
    }
    // 7.
    if (own) {
        selectSquare(column, row);
        return;
    }
    showMovablePieces = true;
    repaint();
}

void GameController::stylusMoved(int x, int y) {
    if (engineBusy || !stylusDown) return;
    dragDX = x - pressX;
    dragDY = y - pressY;
    repaint();
}

void GameController::stylusReleased(int x, int y) {
    // 1.
    if (!stylusDown) return;
    // 2.
    showMovablePieces = false;
    stylusDown = false;
    // 3.
    int column, row;
    hitTest(*this, x, y, column, row);
    // 4. A move attempt by drag.
    if (pieceSelected && selectedColumn >= 0 && (column != selectedColumn || row != selectedRow) && !engineBusy &&
        !gameDecided()) {
        if (tryMove(selectedColumn, selectedRow, column, row)) {
            stopClockTimer();
            pieceSelected = false;
            repaint();
            startClockTimer();
            afterUserMove();
            return;
        }
    }
    // 5. A failed drag puts the piece back on its square.
    repaint();
}
