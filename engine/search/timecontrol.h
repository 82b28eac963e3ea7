#pragma once
// Time limits of a search: the allocation from the clock, the periodic time
// check, the root trouble test that draws on the reserve, the stop rules after
// each iteration and the UCI progress line.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> searchStartTick; // tick (ms) when the root search started; read by a ponder hit
extern int rootTrouble;                       // 0 none, 1 first root move fell clearly, 2 a little
extern int rootDrop;                          // size of the last fall seen by the trouble test
extern int timeExtended;                      // 1 once part of the reserve went into the target
extern int currentRootMove;                   // root move being searched
extern int currentRootMoveNumber;             // its number, 1-based
extern int lastReportedBestMove;              // best root move at the last report
extern std::atomic<uint32_t> nodeLimit;       // nodes after which the search stops; 0 = no limit

// Sets targetTime (and extensionTime when there is no increment) from the
// seconds left on the clock and the increment in seconds.
void allocateTime(float secondsLeft, int increment);

// As allocateTime, for a clock whose next control comes after movesToGo more
// moves: the time left is shared out over those moves.
void allocateTimeForMoves(float secondsLeft, int increment, int movesToGo);

// The node count of the first look at the clock: the usual interval, or the
// node limit when that comes first.
uint32_t firstTimeCheck(uint32_t interval);

// Called when nodeCount passes nextTimeCheck: 1 when the search must stop.
int timeIsUp();

// At iteration depth above 5, with the first root move's score.
void rootTroubleTest(int score);

// For each root move (index i from 0); prints the UCI "info" line after the first second.
void reportRootMove(int index, int move, int bestScore, int bestMove);

// Moves part of the reserve into the target when the score fell or swung.
void extendTimeAfterIteration(int previousScore, int score);

// 1 when the search stops before the iteration of depth nextDepth
// (single legal move, time used, easy recapture).
int iterationStopRule(int nextDepth);

// A ponder hit credits a third of the time spent pondering.
void creditPonderTime();
