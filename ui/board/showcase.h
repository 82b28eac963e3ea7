#pragma once
// A game in mid-play for pictures of the game screen and for timing its paint:
// a Ruy Lopez after 5...Be7, the knight on f3 selected with its destinations
// marked, the last move marked, the engine's expected line with its score and
// both clocks running. The engine's game and the controller are set up in place.

class GameController;

// Plays the moves on a new engine game and sets the controller's selection,
// clocks and the engine's line. False if a move was refused.
bool setUpShowcase(GameController& game);
// Recomputes the selected knight's destinations; call after every loadSkin.
void markShowcaseDestinations(GameController& game);
