#pragma once
// The two things the shell does to the engine itself, for "New game": the engine
// plays neither side and its search stops; and, when the dialog is cancelled, the
// side it played is given back.

#include <cstdint>

// Returns the side the engine played (its own colour code).
std::uint8_t stopEngineForNewGame();
void restoreEngineSide(std::uint8_t engineSide);
