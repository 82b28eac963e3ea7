#pragma once
// Move ordering: hash move, captures by victim and attacker, killer, then quiet
// moves sorted by history when the search reaches them; the killer and history
// tables; the principal-variation table updates.
#include <cstdint>

#include "engine/search/searchdata.h"

// orderMoves answers this when the list is ready to be searched; any other
// value is the node's result (a mate-distance bound or a checkmate score).
constexpr int ListReady = 32000;

constexpr int HistorySize = 1024; // counters per colour

// How a quiet move picks its history counter.
enum class HistoryIndex {
    OneBit, // bit 10 of the move: two counters per colour
    SlotTo, // the moving piece's list slot and the destination square: 16 x 64 counters
};
extern HistoryIndex historyIndexKind; // SlotTo unless a benchmark compares the two

extern int32_t killerMoves[SearchPlies];     // one per ply-index; 0xFFFF = none
extern int32_t historyTable[3][HistorySize]; // [colour 1/2][index]

int historyIndex(int move);
void clearHistory();
void clearKillers(); // the first 50 slots, at search start

// Ordering values by piece type (code & 7): pawn 100, bishop 332, knight 315, rook 510, queen 960, king 4000.
int orderValue(int pieceCode);

// Generates the moves of `colour` for ply-index d into plyMoves[d] and puts them in
// search order; returns ListReady, or a mate-distance bound / checkmate score.
int orderMoves(int colour, int d, int alpha, int beta, int hashMove);

// Sorts the tactical section (slots 1..word 1) of a generated list by
// 8 x victim - attacker, highest first, keeping generation order among equals.
void sortTacticalMoves(const Position& pos, MoveList& list);

// Sorts the ordered moves from index word 1 to the end by history, highest first.
void sortQuietByHistory(PlyMoveList& list, int colour);

// Killer and history update for a quiet best move.
void recordCutoff(int bestMove, int depth, int d, int colour);

// kind: 0 searched, 1 table score, 2 draw, 4 mate threat.
void updatePv(int d, int move, int kind, int gaveCheck);

// Puts the previous iteration's best move first in the root list, keeping
// the tactical moves ahead of the quiet ones.
void moveBestToFront(PlyMoveList& root, int bestMove);

// 1 for a capture (en passant included) or a queen promotion: the moves the
// root list keeps ahead of the quiet ones. Reads the position before the move.
int isTacticalMove(const Position& pos, int move);
