#pragma once
// The beginner levels: a move choice that is fallible on purpose, the way a
// beginner plays. It looks at most a capture or two ahead, overlooks some
// captures across the board, and picks among the moves that look about as
// good, now and then a clearly worse one. It still mates in one whenever it
// can, and takes a piece left hanging near it.
#include <atomic>
#include <cstdint>

#include "engine/core/position.h"

constexpr int NoviceLevelCount = 3;

// 0: the full search plays; 1..3: the beginner level that chooses the moves.
extern std::atomic<int> noviceLevel;

// Restarts the generator behind the beginner's choices (seeded from the
// clock otherwise), so that a run can be repeated.
void seedNovice(uint32_t seed);

// The beginner's move for the side to move at level 1..3, NoMove when there
// is no legal move. score receives the move's estimate, White's view.
int32_t chooseNoviceMove(const Position& pos, int level, int& score);
