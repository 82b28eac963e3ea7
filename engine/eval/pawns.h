// Pawn structure: the per-structure entry, its cache keyed by the pawn key,
// and the passed-pawn terms that depend on kings and rooks.
#pragma once

#include <cstddef>
#include <cstdint>

struct Position;

// Everything that depends on the pawns alone, computed once per structure.
// Stored in the cache as one 36-byte block; scores are White minus Black.
struct PawnEntry {
    uint32_t key;             // pawn key of the structure
    int16_t structureScore;   // doubled, islands, isolated, backward, weak and passed pawn terms
    uint16_t pawnFlags;       // PawnFlag bits
    int16_t kingWingSums[4];  // pawn-table sums for the king-wing cases k = 0..3
    int16_t generalSum;       // sum of the general pawn table
    uint8_t minFile;          // lowest file (1..8) holding a pawn of either colour
    uint8_t maxFile;          // highest such file
    uint8_t whiteFiles;       // bit f-1 set if file f holds a White pawn
    uint8_t blackFiles;       // the same for Black
    uint8_t blackWeakFiles;   // files of Black's isolated or backward pawns
    uint8_t whiteWeakFiles;   // files of White's isolated or backward pawns
    uint8_t whitePassers[4];  // squares of up to four White passed pawns, 0 after the last
    uint8_t blackPassers[4];  // the same for Black
    int16_t connectedPassers; // connected passed pawn bonus
    uint8_t spare[2];         // always zero
};
static_assert(sizeof(PawnEntry) == 36);
static_assert(offsetof(PawnEntry, structureScore) == 4 && offsetof(PawnEntry, pawnFlags) == 6);
static_assert(offsetof(PawnEntry, kingWingSums) == 8 && offsetof(PawnEntry, generalSum) == 16);
static_assert(offsetof(PawnEntry, minFile) == 18 && offsetof(PawnEntry, whiteWeakFiles) == 23);
static_assert(offsetof(PawnEntry, whitePassers) == 24 && offsetof(PawnEntry, blackPassers) == 28);
static_assert(offsetof(PawnEntry, connectedPassers) == 32);

// Bits of PawnEntry::pawnFlags.
enum PawnFlag : uint16_t {
    BlackPawnsOnlyA = 0x1,    // every Black pawn on the a-file (also with no Black pawn)
    BlackPawnsOnlyH = 0x2,    // every Black pawn on the h-file (also with no Black pawn)
    WhitePawnsOnlyA = 0x4,    // every White pawn on the a-file (also with no White pawn)
    WhitePawnsOnlyH = 0x8,    // every White pawn on the h-file (also with no White pawn)
    WhiteOutside = 0x10,      // White pawns more than one file beyond Black's span
    BlackOutside = 0x20,      // Black pawns more than one file beyond White's span
    WhiteFarOutside = 0x40,   // more than two files beyond (WhiteOutside is set too)
    BlackFarOutside = 0x80,   // the same for Black
    WhiteSecondRank = 0x100,  // a White pawn stands on b2..g2
    BlackSeventhRank = 0x200, // a Black pawn stands on b7..g7
};

constexpr int PawnCacheSize = 65536; // entries, indexed by the low 16 bits of the pawn key

// The pawn cache: one block for the whole engine, empty until the first store.
extern PawnEntry pawnCache[PawnCacheSize];

// Probe statistics for the benchmark; only the evaluating thread writes them.
extern uint64_t pawnCacheProbes;
extern uint64_t pawnCacheHits;

// Copies the cached entry of pawnKey into entryOut and returns true when its key matches.
bool probePawnEntry(uint32_t pawnKey, PawnEntry& entryOut);

// Builds the entry of the position from scratch and stores it in its cache slot.
void evaluatePawns(const Position& position, PawnEntry& entryOut);

// Empties the whole cache (zero, with slot 0 marked so that key 0 misses).
void clearPawnCache();

// The pawn key summed afresh from the pawns on the board.
int32_t pawnKeyFromScratch(const Position& position);

// Passed pawns with kings and rooks, when both sides have little material.
void evaluatePassedPawnsEndgame(const Position& position, int& score, int whiteKing, int blackKing,
                                const PawnEntry& entry);

// Passed pawns with rooks and blockers, when a side still has much material.
void evaluatePassedPawnsMiddlegame(const Position& position, int& score, const PawnEntry& entry);
