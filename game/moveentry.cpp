// Moves entered with the stylus: tap the piece and then its destination (the
// piece slides), or press on the piece and drag it there.

#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

bool onBoard(int column, int row) {
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

} // namespace

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
    // 1. The engine's turn: the board takes no taps.
    if (engineBusy) return;
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
        tutorReferenceScore = engineSession.rootScore;
        const int moving = bridge.pieceAt(selectedColumn, selectedRow);
        if (!bridge.tryUserMove(selectedColumn, selectedRow, column, row)) {
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
        slidePiece(selectedColumn, selectedRow, column, row);
        repaint();
        engineBusy = true;
        startClockTimer();
        bridge.go();
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
    if (pieceSelected && (column != selectedColumn || row != selectedRow)) {
        tutorReferenceScore = engineSession.rootScore;
        EngineBridge& bridge = engineBridge();
        if (bridge.tryUserMove(selectedColumn, selectedRow, column, row)) {
            stopClockTimer();
            pieceSelected = false;
            repaint();
            engineBusy = true;
            bridge.go();
            startClockTimer();
            return;
        }
    }
    // 5. A failed drag puts the piece back on its square.
    repaint();
}
