#pragma once
// Games that end by the players' word rather than on the board: the user resigns, or
// offers a draw that the engine accepts exactly when it would offer one itself. The
// result stands while the game stays at the position where it was given.

class GameController;

// The user gives up: the engine stops and the game's result is the engine's win.
// False when the game has already ended.
bool resignGame(GameController& game);

// The engine's answer to the user's draw offer; an accepted offer ends the game drawn.
bool offerDraw(GameController& game);

// The game ended by resignation or agreement and stands at that position.
bool endedByAgreement();
// Its result then (1 White won, 2 Black won, 3 drawn), else 0.
int agreedResult();

// Resignation or a draw offer makes sense: the game goes on.
bool agreementPossible(GameController& game);
