// The static evaluation of a position.
#pragma once

#include <cstdint>

struct Position;

// Score in centipawns from White's point of view, whoever is to move. alpha and
// beta (also White's view) only allow the two lazy exits; -30000..30000 gives
// the full evaluation. The position is not changed and nothing is allocated.
int16_t evaluate(const Position& position, int alpha, int beta);

// The same score before the final rounding to steps of four (early results are
// never rounded, so they come out equal). Lets the evaluation be checked for
// colour symmetry without the rounding's bias towards minus infinity.
int evaluateUnrounded(const Position& position, int alpha, int beta);
