#pragma once
// Quiescence search (negamax form: scores for the side to move) and the
// mate-threat tests of the alpha-beta search.
#include "engine/core/position.h"

int quiesce(int colour, int alpha, int beta, int p);
int quiesceEvasions(int colour, int alpha, int beta, int p);

// A move of colour's rooks or queen that mates at once, or 0. Uses the
// per-ply lists and snapshots at p and p + 1.
int mateInOneByRookOrQueen(Position& pos, int colour, int p);

// 1 when colour has a mating threat: a rook or queen mate in one above depth 4,
// a protected queen contact next to the enemy king on its edge at depth 4 and below.
int queenMateThreat(Position& pos, int colour, int depth);
