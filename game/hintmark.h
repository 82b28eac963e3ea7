#pragma once
// The hinted move stays marked after its slide, until the game moves on.

class GameController;

// Called after the hint has been shown: remembers its move for the current position.
void rememberShownHint(GameController& game);
// The hinted move's squares (from column, from row, to column, to row) while the game
// still stands where it was shown; false otherwise.
bool shownHint(int squares[4]);
void forgetShownHint();
