#include "engine/eval/pawns.h"

#include <cstring>

#include "engine/core/position.h"
#include "engine/eval/evalbase.h"

using namespace evalbase;

PawnEntry pawnCache[PawnCacheSize];
uint64_t pawnCacheProbes = 0;
uint64_t pawnCacheHits = 0;

namespace {

// A zeroed slot 0 would answer a probe for key 0 (a structure whose key sums
// to zero) with an empty entry. Its key is set to 1, which belongs to slot 1,
// so no probe can match it until a real entry is stored there.
void markSlotZeroEmpty() {
    pawnCache[0].key = 1;
}

struct PawnCacheStart {
    PawnCacheStart() { markSlotZeroEmpty(); }
} pawnCacheStart;

} // namespace

namespace {

// Pawn tables from White's side, indexed [8 - rank][file - 1] (rank 8 first).
// A Black pawn on rank r reads row r - 1 (the mirrored square) and negates it.
// clang-format off
constexpr int8_t generalPawnTable[8][8] = {
    {  0,  0,  0,  0,  0,  0,  0,  0 },
    { 21, 22, 22, 22, 22, 22, 22, 21 },
    { 21, 22, 22, 22, 22, 22, 22, 21 },
    { 15, 16, 16, 16, 16, 16, 16, 15 },
    { 12, 13, 13, 13, 13, 13, 13, 12 },
    {  6,  7,  7,  7,  7,  7,  7,  6 },
    {  4,  5,  5,  5,  5,  5,  5,  4 },
    {  0,  0,  0,  0,  0,  0,  0,  0 },
};

// King-wing tables by case k = 2 x (Black king on a..d) + (White king on a..d).
constexpr int8_t kingWingTable[4][8][8] = {
    {   // k = 0: both kings on e..h
        {  0,  0,  0,  0,  0,  0,  0,  0 },
        {  2,  2, 10, 23, 23, 10,  0,  0 },
        {  2,  2, 10, 25, 25, 14,  6,  6 },
        {  2,  2, 10, 25, 25, 11,  0,  0 },
        {  2,  2, 10, 25, 25, 10,  0,  0 },
        {  2,  2,  5, 12, 12, 10, 10,  8 },
        {  0,  0,  5, 12, 12, 15, 15, 15 },
        {  0,  0,  0,  0,  0,  0,  0,  0 },
    },
    {   // k = 1: White king on a..d
        {  0,  0,  0,  0,  0,  0,  0,  0 },
        {  0,  0, 10, 23, 23, 15, 15, 15 },
        {  0,  0, 10, 24, 27, 22, 23, 23 },
        {  0,  0, 10, 25, 25, 20, 17, 17 },
        {  0,  0, 10, 25, 25, 15, 11, 10 },
        {  5,  5, 10, 12, 12,  5,  3,  3 },
        { 10, 10, 10, 12, 12,  5,  0,  0 },
        {  0,  0,  0,  0,  0,  0,  0,  0 },
    },
    {   // k = 2: Black king on a..d
        {  0,  0,  0,  0,  0,  0,  0,  0 },
        { 15, 15, 20, 23, 23, 10,  0,  0 },
        { 23, 23, 20, 27, 24, 10,  2,  2 },
        { 17, 17, 16, 25, 25, 10,  0,  0 },
        { 10, 11, 10, 25, 25, 10,  0,  0 },
        {  3,  3,  5, 12, 12, 10, 10,  8 },
        {  0,  0,  5, 12, 12, 15, 15, 15 },
        {  0,  0,  0,  0,  0,  0,  0,  0 },
    },
    {   // k = 3: both kings on a..d
        {  0,  0,  0,  0,  0,  0,  0,  0 },
        {  0,  0, 10, 23, 23, 12,  5,  5 },
        {  5,  5, 10, 25, 25, 12,  6,  6 },
        {  0,  0, 10, 25, 25, 12,  5,  5 },
        {  0,  0, 10, 25, 25, 10,  4,  4 },
        {  5,  5, 10, 12, 12,  5,  0,  0 },
        { 10, 10, 10, 12, 12,  5,  0,  0 },
        {  0,  0,  0,  0,  0,  0,  0,  0 },
    },
};

// Isolated pawn penalty, White's view; Black reads the mirrored square and
// adds the value.
constexpr int8_t isolatedPawnTable[8][8] = {
    {  0,  0,  0,  0,  0,  0,  0,  0 },
    {  7, 10, 11, 18, 18, 11, 10,  7 },
    {  5, 10, 11, 18, 18, 11, 10,  5 },
    {  5,  9, 11, 18, 18, 11,  9,  5 },
    {  5,  8, 11, 18, 18, 11,  8,  5 },
    {  5,  8, 10, 13, 13, 10,  8,  5 },
    {  4,  7,  9, 13, 13,  9,  7,  4 },
    {  0,  0,  0,  0,  0,  0,  0,  0 },
};

// By pawns on one file.
constexpr int doubledPawnValue[9] = { 0, 0, 12, 26, 45, 65, 85, 105, 105 };
// By rank from the pawn's own side (Black: 9 - rank).
constexpr int passedFreeValue[9]      = { 0, 0, 16, 22, 34, 48, 75, 112, 0 };  // no enemy pawn on its file
constexpr int passedBehindValue[9]    = { 0, 0, 16, 22, 25, 34, 60, 85, 0 };   // enemy pawn behind it
constexpr int connectedPasserValue[9] = { 0, 0, 0, 2, 5, 18, 32, 52, 0 };
constexpr int supportedPasserValue[9] = { 0, 0, 0, 0, 0, 45, 75, 100, 0 };
constexpr int blockadedPasserValue[9] = { 0, 0, 0, 0, 8, 15, 20, 35, 0 };
// By the defending king's distance measure 0..9.
constexpr int passerVsKingValue[10]   = { 0, 0, 2, 12, 20, 28, 36, 40, 44, 44 };
// clang-format on

constexpr int IslandPenalty = 5;
constexpr int BackwardPenalty = 10;
constexpr int WeakOnOpenFilePenalty = 6;
constexpr int RookBehindPasser = 21;

// Black's king-wing case k uses White's table for the mirrored case.
constexpr int mirroredWingCase[4] = {0, 2, 1, 3};

inline int absValue(int v) {
    return v < 0 ? -v : v;
}
inline int minOf(int a, int b) {
    return a < b ? a : b;
}
inline int maxOf(int a, int b) {
    return a > b ? a : b;
}

// Blockers that hold a passer on the square in front of it: not pawns, not queens.
inline bool blocksWhitePasser(int code) {
    return code == BlackBishop || code == BlackKnight || code == BlackRook || code == BlackKing;
}
inline bool blocksBlackPasser(int code) {
    return code == WhiteBishop || code == WhiteKnight || code == WhiteRook || code == WhiteKing;
}

// The step from the rook towards the pawn when both share a file, else 0.
inline int rookToPawnStep(int rook, int pawn) {
    if (!slotFilled(rook)) return 0;
    return direction[pawn][rook];
}

} // namespace

bool probePawnEntry(uint32_t pawnKey, PawnEntry& entryOut) {
    ++pawnCacheProbes;
    const PawnEntry& cached = pawnCache[pawnKey & (PawnCacheSize - 1)];
    if (cached.key != pawnKey) return false;
    entryOut = cached;
    ++pawnCacheHits;
    return true;
}

void clearPawnCache() {
    std::memset(pawnCache, 0, sizeof pawnCache);
    markSlotZeroEmpty();
}

int32_t pawnKeyFromScratch(const Position& position) {
    uint32_t key = 0;
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        int white = position.whiteSquares[slot];
        if (position.board[white] == WhitePawn) key += whitePawnKeys[white];
        int black = position.blackSquares[slot];
        if (position.board[black] == BlackPawn) key += blackPawnKeys[black];
    }
    return static_cast<int32_t>(key);
}

void evaluatePawns(const Position& position, PawnEntry& entry) {
    // Step 1. Per-file counts and extreme ranks; files 0 and 9 stay empty so
    // that the neighbours of the a- and h-files need no test.
    std::memset(&entry, 0, sizeof entry);
    int whiteCount[10] = {}, blackCount[10] = {};
    int whiteLow[10], whiteHigh[10], blackLow[10], blackHigh[10];
    for (int f = 0; f < 10; ++f) {
        whiteLow[f] = blackLow[f] = 20;
        whiteHigh[f] = blackHigh[f] = -20;
    }
    int whiteMin = 8, whiteMax = 1, blackMin = 9, blackMax = 0;
    int whiteTotal = 0, blackTotal = 0;
    int general = 0, wing[4] = {};
    int flags = 0;

    // Step 2. Tables, file masks and per-file data.
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        int s = position.whiteSquares[slot];
        if (position.board[s] != WhitePawn) continue;
        int f = fileAt(s), r = rankAt(s);
        general += generalPawnTable[8 - r][f - 1];
        for (int k = 0; k < 4; ++k) wing[k] += kingWingTable[k][8 - r][f - 1];
        entry.whiteFiles |= 1 << (f - 1);
        ++whiteCount[f];
        ++whiteTotal;
        whiteLow[f] = minOf(whiteLow[f], r);
        whiteHigh[f] = maxOf(whiteHigh[f], r);
        whiteMin = minOf(whiteMin, f);
        whiteMax = maxOf(whiteMax, f);
        if (r == 2 && f >= 2 && f <= 7) flags |= WhiteSecondRank;
    }
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        int s = position.blackSquares[slot];
        if (position.board[s] != BlackPawn) continue;
        int f = fileAt(s), r = rankAt(s);
        general -= generalPawnTable[r - 1][f - 1];
        for (int k = 0; k < 4; ++k) wing[k] -= kingWingTable[mirroredWingCase[k]][r - 1][f - 1];
        entry.blackFiles |= 1 << (f - 1);
        ++blackCount[f];
        ++blackTotal;
        blackLow[f] = minOf(blackLow[f], r);
        blackHigh[f] = maxOf(blackHigh[f], r);
        blackMin = minOf(blackMin, f);
        blackMax = maxOf(blackMax, f);
        if (r == 7 && f >= 2 && f <= 7) flags |= BlackSeventhRank;
    }

    // Step 3. Rook-file flags and the spread of each side beyond the other's.
    if (blackCount[1] == blackTotal) flags |= BlackPawnsOnlyA;
    if (blackCount[8] == blackTotal) flags |= BlackPawnsOnlyH;
    if (whiteCount[1] == whiteTotal) flags |= WhitePawnsOnlyA;
    if (whiteCount[8] == whiteTotal) flags |= WhitePawnsOnlyH;
    if (whiteMin < blackMin - 2 || whiteMax > blackMax + 2)
        flags |= WhiteOutside | WhiteFarOutside;
    else if (whiteMin < blackMin - 1 || whiteMax > blackMax + 1)
        flags |= WhiteOutside;
    if (blackMin < whiteMin - 2 || blackMax > whiteMax + 2)
        flags |= BlackOutside | BlackFarOutside;
    else if (blackMin < whiteMin - 1 || blackMax > whiteMax + 1)
        flags |= BlackOutside;
    entry.minFile = static_cast<uint8_t>(minOf(whiteMin, blackMin));
    entry.maxFile = static_cast<uint8_t>(maxOf(whiteMax, blackMax));

    // Step 4. Doubled pawns and islands.
    int score = 0;
    for (int f = 1; f <= 8; ++f) {
        if (whiteCount[f] > 1) score -= doubledPawnValue[whiteCount[f]];
        if (whiteCount[f] && !whiteCount[f - 1]) score -= IslandPenalty;
        if (blackCount[f] > 1) score += doubledPawnValue[blackCount[f]];
        if (blackCount[f] && !blackCount[f - 1]) score += IslandPenalty;
    }

    // Step 5. White's weak and passed pawns.
    int connected = 0;
    int passers = 0;
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        int s = position.whiteSquares[slot];
        if (position.board[s] != WhitePawn) continue;
        int f = fileAt(s), r = rankAt(s);
        if (r < whiteLow[f - 1] && r < whiteLow[f + 1]) {
            if (!whiteCount[f - 1] && !whiteCount[f + 1]) {
                score -= isolatedPawnTable[8 - r][f - 1];
            } else if (isPawnCode(position.board[s - 10]) || position.board[s - 19] == BlackPawn ||
                       position.board[s - 21] == BlackPawn) {
                score -= BackwardPenalty;
            }
            entry.whiteWeakFiles |= 1 << (f - 1);
            if (!blackCount[f]) score -= WeakOnOpenFilePenalty;
        }
        if (r >= blackHigh[f - 1] && r >= blackHigh[f + 1] && r > blackHigh[f] && r == whiteHigh[f]) {
            score += blackCount[f] ? passedBehindValue[r] : passedFreeValue[r];
            if (passers < 4) entry.whitePassers[passers++] = static_cast<uint8_t>(s);
            if (absValue(whiteHigh[f - 1] - r) <= 1 || absValue(whiteHigh[f + 1] - r) <= 1)
                connected += connectedPasserValue[r];
        }
    }

    // Step 6. Black's, mirrored: lower ranks are further advanced.
    passers = 0;
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        int s = position.blackSquares[slot];
        if (position.board[s] != BlackPawn) continue;
        int f = fileAt(s), r = rankAt(s);
        if (r > blackHigh[f - 1] && r > blackHigh[f + 1]) {
            if (!blackCount[f - 1] && !blackCount[f + 1]) {
                score += isolatedPawnTable[r - 1][f - 1];
            } else if (isPawnCode(position.board[s + 10]) || position.board[s + 21] == WhitePawn ||
                       position.board[s + 19] == WhitePawn) {
                score += BackwardPenalty;
            }
            entry.blackWeakFiles |= 1 << (f - 1);
            if (!whiteCount[f]) score += WeakOnOpenFilePenalty;
        }
        if (r <= whiteLow[f - 1] && r <= whiteLow[f + 1] && r < whiteLow[f] && r == blackLow[f]) {
            // A Black passer with a White pawn behind it counts half.
            score -= whiteCount[f] ? passedBehindValue[9 - r] >> 1 : passedFreeValue[9 - r];
            if (passers < 4) entry.blackPassers[passers++] = static_cast<uint8_t>(s);
            if (absValue(blackLow[f - 1] - r) <= 1 || absValue(blackLow[f + 1] - r) <= 1)
                connected -= connectedPasserValue[9 - r];
        }
    }

    // Step 7. Finish and store.
    entry.key = static_cast<uint32_t>(position.pawnKey);
    entry.structureScore = static_cast<int16_t>(score);
    entry.pawnFlags = static_cast<uint16_t>(flags);
    for (int k = 0; k < 4; ++k) entry.kingWingSums[k] = static_cast<int16_t>(wing[k]);
    entry.generalSum = static_cast<int16_t>(general);
    entry.connectedPassers = static_cast<int16_t>(connected);
    pawnCache[entry.key & (PawnCacheSize - 1)] = entry;
}

void evaluatePassedPawnsEndgame(const Position& position, int& score, int whiteKing, int blackKing,
                                const PawnEntry& entry) {
    const uint8_t* blackRooks = position.blackSquares + QueenRookSlot;
    const uint8_t* whiteRooks = position.whiteSquares + QueenRookSlot;
    for (int i = 0; i < 4 && entry.blackPassers[i]; ++i) {
        int s = entry.blackPassers[i];
        int r = rankAt(s);
        int d = maxOf(absValue(fileAt(whiteKing) - fileAt(s)), rankAt(whiteKing) - rankAt(s));
        // 1. Own king beside or ahead of the pawn, or the race against the defending king.
        if (r <= 4 && rankAt(blackKing) <= r + 1 && absValue(fileAt(s) - fileAt(blackKing)) <= 1)
            score -= d >= 2 ? supportedPasserValue[9 - r] : supportedPasserValue[9 - r] >> 1;
        else
            score -= passerVsKingValue[d] >> 1;
        // 2. Blockade.
        if (blocksBlackPasser(position.board[s + 10])) score += blockadedPasserValue[9 - r];
        // 3. Own rooks: in front of the pawn (step -10 towards it) is bad, behind is good.
        for (int k = 0; k < 2; ++k) {
            int step = rookToPawnStep(blackRooks[k], s);
            if (step == StepNorth) score += RookBehindPasser;
            if (step == StepSouth) score -= RookBehindPasser;
        }
    }
    for (int i = 0; i < 4 && entry.whitePassers[i]; ++i) {
        int s = entry.whitePassers[i];
        int r = rankAt(s);
        int d = maxOf(absValue(fileAt(blackKing) - fileAt(s)), rankAt(s) - rankAt(blackKing));
        if (r >= 5 && rankAt(whiteKing) >= r - 1 && absValue(fileAt(s) - fileAt(whiteKing)) <= 1)
            score += d >= 2 ? supportedPasserValue[r] : supportedPasserValue[r] >> 1;
        else
            score += passerVsKingValue[d] >> 1;
        if (blocksWhitePasser(position.board[s - 10])) score -= blockadedPasserValue[r];
        for (int k = 0; k < 2; ++k) {
            int step = rookToPawnStep(whiteRooks[k], s);
            if (step == StepNorth) score += RookBehindPasser;
            if (step == StepSouth) score -= RookBehindPasser;
        }
    }
}

void evaluatePassedPawnsMiddlegame(const Position& position, int& score, const PawnEntry& entry) {
    const uint8_t* blackRooks = position.blackSquares + QueenRookSlot;
    const uint8_t* whiteRooks = position.whiteSquares + QueenRookSlot;
    for (int i = 0; i < 4 && entry.blackPassers[i]; ++i) {
        int s = entry.blackPassers[i];
        if (blocksBlackPasser(position.board[s + 10])) score += blockadedPasserValue[9 - rankAt(s)];
        for (int k = 0; k < 2; ++k)
            if (rookToPawnStep(blackRooks[k], s) == StepSouth) score -= RookBehindPasser;
    }
    for (int i = 0; i < 4 && entry.whitePassers[i]; ++i) {
        int s = entry.whitePassers[i];
        if (blocksWhitePasser(position.board[s - 10])) score -= blockadedPasserValue[rankAt(s)];
        for (int k = 0; k < 2; ++k)
            if (rookToPawnStep(whiteRooks[k], s) == StepNorth) score += RookBehindPasser;
    }
}
