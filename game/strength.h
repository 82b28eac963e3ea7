#pragma once
// How strong each level plays: Elo figures measured by tools/strength
// (docs/strength.md), on the scale of Stockfish held to a stated Elo
// (UCI_Elo 1350, 1700, 2100 and 2500 were the references).
// The beginner levels, every Rank and Turn In 1 s and 5 s are measured; other
// times per move are read off the Turn In figures by the logarithm of the
// time, and a Game In level by its average time per move.

#include <cstdint>

// The estimate for a level mode and value as options.cfg holds them, rounded
// to 50; 0 for a pair that is no level.
int levelStrength(std::uint32_t mode, std::uint32_t value);
