// FEN text in and out of the engine.
#pragma once

#include <cstddef>

#include "engine/core/position.h"

// The initial position as text.
extern const char InitialFen[];

// Longest text writeFen produces, terminating zero included.
constexpr int FenBufferSize = 92;

// Reads at most `length` characters (need not be zero-terminated). Returns 1
// and copies the position to `target` if the text gave a valid position;
// returns 0 and leaves `target` untouched otherwise.
int readFen(Position& target, const char* text, size_t length);

// readFen of the initial position.
void setInitialPosition(Position& position);

// Writes the short four-field form ("... w KQkq -") with a terminating zero
// into a buffer of at least FenBufferSize bytes; returns the length.
int writeFen(char* buffer, Position position);
