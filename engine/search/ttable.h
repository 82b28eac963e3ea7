// Transposition table, key arithmetic of the search, repetition history and
// the insufficient-material test.
#pragma once

#include <cstdint>

#include "engine/core/position.h"

// One 12-byte entry.
struct TableEntry {
    uint32_t check;      // hashLock of the stored position
    int16_t score;       // score, White's view
    uint16_t move;       // best move, low 16 bits; 0xFFFF = none
    uint8_t generation;  // search counter at store (or successful probe) time
    int8_t mateDistance; // 0 for ordinary scores, else plies from the node to the mate
    int8_t depth;        // depth searched
    uint8_t bound;       // 0 exact, 1 upper bound, 2 lower bound
};
static_assert(sizeof(TableEntry) == 12);

constexpr int ExactBound = 0;
constexpr int UpperBound = 1; // score <= alpha when stored
constexpr int LowerBound = 2; // score >= beta when stored

// Entry 0 is the depth-preferred slot, entry 1 the always-replace slot.
struct TableBucket {
    TableEntry entries[2];
};

constexpr int TableBucketCount = 16384;
constexpr uint32_t TableIndexMask = 16383;
constexpr int TableSpareEntries = 5;
constexpr int NoTableScore = -19999; // probe found no usable score
constexpr int MateScoreLimit = 9901; // |score| from here on is a mate score

struct TranspositionTable {
    TableBucket* buckets; // TableBucketCount buckets unless an interface asked for another size
    uint32_t indexMask;   // bucket count - 1 (the count is a power of two)
    TableEntry spare[TableSpareEntries];
    uint8_t generation; // search counter, increased at each search start
};

extern TranspositionTable transpositionTable;

// Clears the whole table (engine start).
void initTranspositionTable();

// Sizes the table to the largest power of two of buckets that fits in the
// given megabytes (at least TableBucketCount buckets) and clears it. Returns
// the number of buckets; the table keeps its size when memory is short.
uint32_t resizeTranspositionTable(int megabytes);

// hashKey XOR Z1[castling] XOR Z1[epSquare]: the key the table and the
// repetition history are indexed by.
uint32_t fullIndexKey(const Position& position);

inline TableBucket& bucketOf(uint32_t fullKey) {
    return transpositionTable.buckets[fullKey & transpositionTable.indexMask];
}

// Looks the child position up at ply-index `plyIndex` wanting `depth`;
// returns a score or NoTableScore, and the hash move (NoMove when none).
// `sideToMove` is the side to move in the probed position.
int probe(TableBucket& bucket, uint32_t lock, int depth, int plyIndex, int alpha, int beta, int pvFound,
          int sideToMove, int& hashMove);

// Stores a child result searched with the window alpha..beta; nothing is
// stored when the fifty-move count is 100 or more.
void store(TableBucket& bucket, uint32_t lock, int score, int move, int depth, int plyIndex, int alpha,
           int beta, int fiftyMoveCount);

// After makeMove: updates hashKey and hashLock from the changed-square record
// and toggles the side to move; returns the new hashKey.
uint32_t updateKeysForMove(Position& position, uint32_t changedSquares, uint32_t formerContents);

// Passes the move (its own inverse): side, side keys and bit 7 of epSquare.
void makeNullMove(Position& position);

// Repetition history: the full index key of the position at each ply.
constexpr int RepetitionHistorySize = 701;
constexpr int RepetitionPlyLimit = 700; // plies at or above this are not recorded
extern uint32_t repetitionHistory[RepetitionHistorySize];

// Records the key at ply if ply < 700.
void recordRepetition(int ply, uint32_t fullKey);

// Number of earlier positions with the same side to move and the same key
// since the last irreversible move.
int repetitionCount(uint32_t fullKey, const Position& position);

// Neither side has a pawn and both materials are below 400, or they sum to 630.
bool insufficientMaterial(const Position& position);

// The stored best move of the position, or NoMove.
int hashMoveOf(const Position& position);
