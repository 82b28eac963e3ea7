#pragma once
// Reviewing the game: a position of the game as played is shown on the board without
// changing the game. Clicking a move of the move list or the arrow keys choose it; a
// press on the board, End, or any change of the game returns to the game.

#include "engine/core/position.h"

// Shows the position after `plies` moves of the game (0 = its start).
void startReview(int plies);
// One move back or forward; past the game's last move the review ends.
void stepReview(int delta);
void leaveReview();

// The review stands (and the game has not changed since it began).
bool reviewing();
// The moves from the start to the position shown.
int reviewedPlies();
// The position shown; null when not reviewing.
const Position* reviewedPosition();
// The move that led to it (mailbox squares); false at the start or when not reviewing.
bool reviewedMove(int& from, int& to);

// The piece the board shows on a square: the reviewed position's, else the game's.
int shownPieceAt(int column, int row);
