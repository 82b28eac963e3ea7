#pragma once
// The user's promotions: a pawn that reaches the last rank, by tap or by drag, opens a
// picker over the promotion square with queen, rook, bishop and knight; the chosen
// piece is played and recorded ("e8=N"). The engine's own promotions are not affected.

class GameController;

struct PromotionPicker {
    bool open = false;
    int fromColumn = -1, fromRow = -1; // the pawn
    int toColumn = -1, toRow = -1;     // the promotion square
    int colour = 0;                    // 1 White, 2 Black
};

PromotionPicker& promotionPicker();

// The pieces in the picker's order, from the promotion square towards the board's middle.
constexpr int PickerPieceTypes[4] = {6, 5, 3, 4}; // queen, rook, bishop, knight

// The square of the picker's k-th choice.
void pickerSquare(int k, int& column, int& row);

// True when the move from the selected square to (column, row) is a legal promotion of
// the user's pawn: then the picker opens instead of the move being played.
bool opensPromotionPicker(GameController& game, int column, int row);

// A press on the board while the picker is open: a choice plays the promotion (with its
// slide, then the engine thinks); anywhere else the picker closes and the pawn stays.
// True when the promotion was played.
bool pickPromotion(GameController& game, int column, int row);

// Plays the user's move with the given promotion piece type (3..6) as a tap would.
bool playUserPromotion(GameController& game, int fromColumn, int fromRow, int toColumn, int toRow, int type);
