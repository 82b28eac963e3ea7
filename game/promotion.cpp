#include "game/promotion.h"

#include "engine/core/gamerecord.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/san.h"

PromotionPicker& promotionPicker() {
    static PromotionPicker picker;
    // A picker left behind by a new game, a load or a takeback closes.
    if (picker.open) {
        const Position& position = engineSession.gamePosition;
        const int pawn = position.board[squareOf(picker.fromColumn, picker.fromRow)];
        if (pieceType(pawn) != Pawn || pieceColour(pawn) != picker.colour || position.sideToMove != picker.colour)
            picker.open = false;
    }
    return picker;
}

void pickerSquare(int k, int& column, int& row) {
    const PromotionPicker& picker = promotionPicker();
    column = picker.toColumn;
    row = picker.toRow == 0 ? k : picker.toRow - k;
}

bool opensPromotionPicker(GameController& game, int column, int row) {
    if (!game.pieceSelected || game.engineBusy || game.selectedColumn < 0) return false;
    const int origin = squareOf(game.selectedColumn, game.selectedRow);
    const Position& position = engineSession.gamePosition;
    const int pawn = position.board[origin];
    const int lastRow = game.userColour == White ? 0 : 7;
    if (pieceType(pawn) != Pawn || pieceColour(pawn) != game.userColour || row != lastRow) return false;
    if (position.sideToMove != game.userColour) return false;
    bool legal = false;
    for (int32_t move : legalMoves(position))
        legal |= !isCastling(move) && moveOrigin(move) == origin && moveDestination(move) == squareOf(column, row);
    if (!legal) return false;
    PromotionPicker& picker = promotionPicker();
    picker = {true, game.selectedColumn, game.selectedRow, column, row, game.userColour};
    game.stylusDown = false;
    game.showMovablePieces = false;
    game.repaint();
    return true;
}

bool pickPromotion(GameController& game, int column, int row) {
    PromotionPicker& picker = promotionPicker();
    if (!picker.open) return false;
    picker.open = false;
    for (int k = 0; k < 4; ++k) {
        int c = 0, r = 0;
        pickerSquare(k, c, r);
        if (c == column && r == row)
            return playUserPromotion(game, picker.fromColumn, picker.fromRow, picker.toColumn, picker.toRow,
                                     PickerPieceTypes[k]);
    }
    // Anywhere else: no move; the pawn stays selected for another try.
    game.repaint();
    return false;
}

bool playUserPromotion(GameController& game, int fromColumn, int fromRow, int toColumn, int toRow, int type) {
    EngineBridge& bridge = engineBridge();
    game.tutorReferenceScore = engineSession.rootScore;
    const int moving = bridge.pieceAt(fromColumn, fromRow);
    Position& position = engineSession.gamePosition;
    engineSession.promotionChoice = static_cast<std::uint8_t>(type);
    int origin = 0, destination = 0;
    const int played = playMove(position, fromColumn, fromRow, toColumn, toRow, position.sideToMove, 0, 1, nullptr,
                                &origin, &destination);
    engineSession.promotionChoice = Queen;
    if (!played) {
        game.repaint();
        return false;
    }
    // From here as a tap that moved: the slide, then the engine's turn.
    game.stopClockTimer();
    game.pieceSelected = false;
    game.capturedPiece = static_cast<std::uint8_t>(bridge.pieceBeforeLastMove(toColumn, toRow));
    game.animPiece = static_cast<std::uint8_t>(moving);
    game.animHiddenColumn = toColumn;
    game.animHiddenRow = toRow;
    game.slidePiece(fromColumn, fromRow, toColumn, toRow);
    game.selectedColumn = game.selectedRow = -1;
    game.repaint();
    game.startClockTimer();
    // A promotion that ends the game leaves the engine nothing to answer.
    if (!game.gameDecided()) {
        game.engineBusy = true;
        bridge.go();
    }
    return true;
}
