#pragma once
// Values and tables shared by the whole search: the score scale, the working
// position, the node counter and the tables indexed by the ply of a node.
//
// The search is written from White's point of view: White maximises, Black
// minimises, and a positive score is good for White. Only the quiescence search
// works in negamax form.
#include <cstdint>

#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"

// Score scale (centipawns, signed 16-bit range).
constexpr int MateScore = 9999;       // 9999 - p: Black is mated at ply-index p; p - 9999: White
constexpr int BestPossible = 9998;    // 9998 - d: best score White can still reach at ply-index d
constexpr int NoBestYet = 19999;      // starting best of a node (-19999 for White, 19999 for Black)
constexpr int AbortScore = 31000;     // every node returns it once a stop is requested
constexpr int MateThreatScore = 9996; // ply - 9996: the move lets the opponent mate at once

// Ply-indexed tables: the root node has ply 0 and fills ply-index 1; index 0
// stands for the root's parent.
constexpr int SearchPlies = 53;
constexpr int QuiescePlyLimit = 50; // the capture search stands pat from this ply-index on
constexpr int MaxFullWidthPly = 46; // upper bound of maxPly
constexpr int ScratchPly = 49;      // lists 49 and 50 serve the mate-in-one test

// Classes the search gives a move itself (makeMove's classes are in makemove.h).
constexpr int ClassMateThreat = 30994;  // the mover threatens mate (shares the king-takes-h2 value)
constexpr int ClassSearchFully = 31000; // search normally, never drop into quiescence

// A generator's MoveList followed by two words of the search:
//   moves[0]    quiet moves as generated; after ordering the total in the ordered list
//   moves[1]    tactical moves as generated; after ordering the index of the first
//               move that still needs history ordering
//   moves[2..]  the ordered list after ordering
//   moves[254]  check word of the side to move at this ply (written by the parent)
//   moves[255]  fractional extension carried to the children, in 1/32 ply
//   frontier    frontier allowance: a frontier node drops a move into quiescence
//               only while this is below the number of moves
//   moveClass   class of the move currently searched from this node
struct PlyMoveList {
    MoveList moves;
    int32_t frontier;
    int32_t moveClass;
};
static_assert(sizeof(PlyMoveList) == 258 * 4);

constexpr int OrderedTotal = 0;                               // word of the ordered list's length
constexpr int HistoryStart = 1;                               // word of the first history-sorted index
constexpr int FirstOrdered = 2;                               // word of the first ordered move
constexpr int MaxOrderedMoves = ListCheckWord - FirstOrdered; // 252
constexpr int ExtensionWord = ListEndWord;                    // 255

inline int32_t orderedMove(const PlyMoveList& list, int i) {
    return list.moves.words[FirstOrdered + i];
}

// The fields of searchPosition after the board, saved before a node tries its
// moves; unmaking restores them and the four squares recorded by makeMove.
using PlySnapshot = PositionTail;

// Principal variations: row p = [length, moves...] from ply p on. Moves carry
// MoveCaptureFlag and MoveCheckFlag; marker words stand in place of a move.
constexpr int PvMarkerMate = 0xFF;   // "#mate"
constexpr int PvMarkerLeaf = 0xFE;   // quiescence leaf
constexpr int PvMarkerTable = 0xFD;  // "<tt>"
constexpr int PvMarkerDraw = 0xFC;   // "<draw>"
constexpr int PvMarkerThreat = 0xFA; // "<mt>"
using PvTable = int32_t[SearchPlies][SearchPlies];

extern Position searchPosition; // working copy; moves are made and unmade on it
extern uint32_t nodeCount;      // nodes searched, reset per search
extern uint32_t nextTimeCheck;  // node count of the next time check
extern int maxPly;              // deepest ply-index with full-width search
extern int nullMoveEnabled;     // 0 when null moves are switched off for this search
extern PlyMoveList plyMoves[SearchPlies];
extern PlySnapshot plySnapshots[SearchPlies];
extern PvTable pvTable;

// Clears the per-ply tables and the variation table (engine start).
void initSearchTables();

// Marks a variation row as ending at once in a marker (length 1).
inline void setPvMarker(int p, int marker) {
    pvTable[p][0] = 1;
    pvTable[p][1] = marker;
}
