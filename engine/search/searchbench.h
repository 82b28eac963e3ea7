#pragma once
// The fixed-depth search benchmark: a fixed set of positions searched one
// after the other on the caller's thread, each with a fresh table. Its total
// node count is the search's signature: it changes only when the search does.
#include <cstdint>

#include "engine/search/ordering.h"

struct SearchBenchResult {
    uint64_t nodes;  // total nodes of all positions
    uint32_t millis; // time taken
    int positions;   // positions searched
};

// The benchmark positions (FEN texts).
extern const char* const searchBenchPositions[];
extern const int searchBenchPositionCount;

// Searches every benchmark position to `depth` with the given history index.
// With `perPosition` set, prints one line per position.
SearchBenchResult runSearchBench(int depth, HistoryIndex index, bool perPosition);
