#pragma once
// The desktop's marks on the board: the king in check, the hinted move until the next
// move, and the files and ranks along the board's edges as the board is turned.

#include <QPainter>

class GameController;

// Under the pieces of the isometric board, over the flat ones (as the other markers).
void drawCheckAndHint(QPainter& painter, const GameController& game);
// Right after the board picture: the letters and digits of the edges, when the
// preference is on and the squares are large enough to carry them.
void drawCoordinates(QPainter& painter, const GameController& game);

// The square of the king of the side to move when it is in check; false otherwise.
bool kingInCheck(int& column, int& row);
