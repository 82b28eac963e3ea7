// Attack, check, pin and gives-check tests, answered by walking the mailbox.
// Tests that move pieces for a moment restore every square before returning.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

// 1 if a piece of that colour other than the king attacks the square.
int attackedByWhite(const Position& position, int square);
int attackedByBlack(const Position& position, int square);

// 1 if the side opposite to `colour` attacks the square, its king included.
int squareAttacked(const Position& position, int square, int colour);

// 1 if colour's king is attacked, or if the two kings stand next to each other.
int inCheck(const Position& position, int colour);

// Pin test: 1 if the (non-castling) move of colour would uncover an attack on
// colour's king by an enemy slider through its origin square.
int exposesKing(Position& position, int colour, int32_t move);

// 0 if the move gives no check; the checking square (destination, rook's
// destination for castling, or the uncovered piece's square); 2 for double
// check. This is the check word of a move list.
int givesCheck(Position& position, int colour, int32_t move);
