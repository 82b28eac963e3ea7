#pragma once
// Iterative deepening above the alpha-beta search, and the commit of the move.
#include <atomic>

#include "engine/core/position.h"

enum SearchMode { ThinkMode = 0, AnalyseMode = 1, PonderMode = 2 };

constexpr int AnalysisDepth = 34;

// rootScore, engineMove and expectedReply live in engineSession (the user interface reads them).
extern std::atomic<int> rootDepth; // depth of the current iteration
extern int rootBestScore;          // best score so far at the root in the running iteration
extern int rootMove;               // best root move; 0xFFFF = none
extern int analysisSearch;         // 1 in analysis mode
extern int completedIterations;    // since the root move last changed
extern int rootMoveChanged;        // 1 when the running iteration changed the root move
extern int drawScore;              // score of a draw for this search
extern int rootLegalMoves;         // legal moves at the root of this search
extern int lastSearchAborted;      // 1 when the last root search ended with stopRequest 3, or found the game moved on

// Searches `pos` (gamePosition, or the ponder working position) in think (0),
// analyse (1) or ponder (2) mode up to maxDepth. In think mode, and in ponder
// mode after a hit, plays the move on `pos`, records it and reports it.
// Returns rootScore (0 after an abort with stopRequest 3).
int rootSearch(Position& pos, int mode, int maxDepth);

// The draw score (contempt) for a search of pos: White's view.
int computeDrawScore(const Position& pos);

// The root moves a search may choose from (UCI "go searchmoves"), in
// lower-case coordinates; none = every legal move.
constexpr int MaxSearchMoves = 64;
extern char searchMoves[MaxSearchMoves][6];
extern int searchMoveCount;
