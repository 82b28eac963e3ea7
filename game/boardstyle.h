#pragma once
// The board styles keep the user's view: the flat styles share one orientation and the
// isometric board has its own, each as the user last left it. "options.cfg" holds the
// orientation of the style shown; the other family's waits here (and in a settings
// file of its own between runs).

#include <cstdint>

#include "game/settings.h"

struct BoardTurns {
    std::int32_t flat;      // 0 White at the bottom, 1 turned half round
    std::int32_t isometric; // quarter turns 0..3
};

// An orientation held to its family's range.
std::int32_t flatTurn(std::int32_t orientation);
std::int32_t isometricTurn(std::int32_t orientation);

// The turns with the shown family's taken from the settings.
BoardTurns currentTurns(const Settings& settings, BoardTurns turns);

// Shows another style: the family left keeps its orientation in turns, the family
// chosen gets its own back. The isometric board always uses skin 0. Returns false
// when the style is the one shown (nothing changes).
bool chooseBoardStyle(Settings& settings, BoardTurns& turns, bool isometric, std::uint32_t skin);
