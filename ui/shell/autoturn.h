#pragma once
// The board turns with the user's colour: when the colour the user plays changes (a new
// game, the game settings, swapping sides, a load), Black is put at the bottom for a
// user playing Black and White for White. The user's own turns stand until the next
// change of colour.

// After every command and once the game is first shown.
void autoTurnBoard();
