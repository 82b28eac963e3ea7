#include "engine/search/ttable.h"

#include <cstring>
#include <new>

#include "engine/core/makemove.h"
#include "engine/core/movegen.h"

namespace {
// The table of the size the engine starts with; a larger one is allocated on request.
TableBucket defaultBuckets[TableBucketCount];
TableBucket* largeBuckets = nullptr;
} // namespace

TranspositionTable transpositionTable{defaultBuckets, TableIndexMask, {}, 0};
uint32_t repetitionHistory[RepetitionHistorySize];

void initTranspositionTable() {
    std::memset(transpositionTable.buckets, 0,
                (transpositionTable.indexMask + size_t{1}) * sizeof(TableBucket));
    std::memset(transpositionTable.spare, 0, sizeof transpositionTable.spare);
    transpositionTable.generation = 0;
}

uint32_t resizeTranspositionTable(int megabytes) {
    size_t bytes = megabytes > 0 ? static_cast<size_t>(megabytes) << 20 : 0;
    size_t count = TableBucketCount;
    while (count * 2 * sizeof(TableBucket) <= bytes && count < (size_t{1} << 30)) count *= 2;
    if (count != transpositionTable.indexMask + size_t{1}) {
        TableBucket* fresh = defaultBuckets;
        if (count > TableBucketCount) {
            fresh = new (std::nothrow) TableBucket[count];
            if (fresh == nullptr) return transpositionTable.indexMask + 1;
        }
        delete[] largeBuckets;
        largeBuckets = fresh == defaultBuckets ? nullptr : fresh;
        transpositionTable.buckets = fresh;
        transpositionTable.indexMask = static_cast<uint32_t>(count - 1);
    }
    initTranspositionTable();
    return transpositionTable.indexMask + 1;
}

uint32_t fullIndexKey(const Position& position) {
    return position.hashKey ^ Z1[position.whiteCastling + 8 * position.blackCastling] ^ Z1[position.epSquare];
}

namespace {

// Reads a usable score from an entry, re-basing mate scores to the probing ply.
bool readScore(TableEntry& e, int depth, int plyIndex, int alpha, int beta, int& score) {
    // 1. Near the root the search always searches.
    if (plyIndex < 2) return false;
    // 2. Too shallow, unless it is a mate.
    bool shallow = e.depth < depth;
    if (shallow && e.mateDistance == 0) return false;
    // 3. Mate scores count from the probing node.
    if (e.mateDistance != 0) {
        int s = e.score < 0 ? plyIndex + e.mateDistance - 9999 : 9999 - plyIndex - e.mateDistance;
        e.score = static_cast<int16_t>(s);
        if (shallow) {
            if (s < 0 && s <= alpha && e.bound != LowerBound) return score = s, true;
            if (s > 0 && s >= beta && e.bound != UpperBound) return score = s, true;
            return false;
        }
    }
    // 4. By the bound.
    if (e.bound == ExactBound || (e.bound == LowerBound && e.score >= beta) ||
        (e.bound == UpperBound && e.score <= alpha))
        return score = e.score, true;
    return false;
}

// Whether the entry's move may serve as the hash move of the probing node.
bool hashMoveUsable(const TableEntry& e, int depth, int alpha, int beta, int pvFound, int sideToMove) {
    if (!(e.depth >= depth - 2 || e.mateDistance != 0)) return false;
    if (e.bound == UpperBound && sideToMove == White && e.score - 80 > alpha) return false;
    if (e.bound == LowerBound && sideToMove == Black && beta > e.score + 80) return false;
    if (e.bound != ExactBound && (alpha == beta - 1 || pvFound)) {
        if (e.bound == LowerBound && sideToMove == White && e.score + 150 < beta) return false;
        if (e.bound == UpperBound && sideToMove == Black && e.score - 150 > alpha) return false;
    }
    return true;
}

} // namespace

int probe(TableBucket& bucket, uint32_t lock, int depth, int plyIndex, int alpha, int beta, int pvFound,
          int sideToMove, int& hashMove) {
    hashMove = NoMove;
    TableEntry& e0 = bucket.entries[0];
    TableEntry& e1 = bucket.entries[1];
    int score;
    if (e0.check == lock) {
        if (readScore(e0, depth, plyIndex, alpha, beta, score)) {
            e0.generation = transpositionTable.generation;
            return score;
        }
        if (e1.check == lock && readScore(e1, depth, plyIndex, alpha, beta, score)) {
            e1.generation = transpositionTable.generation;
            return score;
        }
        if (hashMoveUsable(e0, depth, alpha, beta, pvFound, sideToMove)) hashMove = e0.move;
        return NoTableScore;
    }
    if (e1.check == lock) {
        if (readScore(e1, depth, plyIndex, alpha, beta, score)) {
            e1.generation = transpositionTable.generation;
            return score;
        }
        if (hashMoveUsable(e1, depth, alpha, beta, pvFound, sideToMove)) hashMove = e1.move;
    }
    return NoTableScore;
}

void store(TableBucket& bucket, uint32_t lock, int score, int move, int depth, int plyIndex, int alpha,
           int beta, int fiftyMoveCount) {
    // 1. Positions near the fifty-move draw are not stored.
    if (fiftyMoveCount >= 100) return;
    // 2. Deeper results of this search keep the depth-preferred slot.
    TableEntry& e0 = bucket.entries[0];
    TableEntry& e =
        (depth < e0.depth && e0.generation == transpositionTable.generation) ? bucket.entries[1] : e0;
    // 3. The entry.
    e.check = lock;
    e.score = static_cast<int16_t>(score);
    e.move = static_cast<uint16_t>(move);
    e.generation = transpositionTable.generation;
    e.depth = static_cast<int8_t>(depth);
    e.bound = static_cast<uint8_t>(score >= beta ? LowerBound : score <= alpha ? UpperBound : ExactBound);
    int magnitude = score < 0 ? -score : score;
    e.mateDistance = magnitude < MateScoreLimit ? 0 : static_cast<int8_t>((15 - plyIndex - magnitude) & 0xFF);
}

uint32_t updateKeysForMove(Position& position, uint32_t changedSquares, uint32_t formerContents) {
    uint32_t key = position.hashKey;
    uint32_t lock = position.hashLock;
    for (int k = 0; k < 4; ++k) {
        int square = (changedSquares >> (8 * k)) & 0xFF;
        if (!square) continue;
        int before = (formerContents >> (8 * k)) & 0xFF;
        int now = position.board[square];
        key ^= Z1[16 * square + before] ^ Z1[16 * square + now];
        lock ^= Z2[16 * square + before] ^ Z2[16 * square + now];
    }
    position.hashKey = key ^ Z1[SideToMoveKeyIndex];
    position.hashLock = lock ^ Z2[SideToMoveKeyIndex];
    return position.hashKey;
}

void makeNullMove(Position& position) {
    position.sideToMove ^= 3;
    position.hashKey ^= Z1[SideToMoveKeyIndex];
    position.hashLock ^= Z2[SideToMoveKeyIndex];
    position.epSquare ^= 0x80;
}

void recordRepetition(int ply, uint32_t fullKey) {
    // An unchanged entry is not written again: the ponder search reads the entry of
    // the position before the opponent's move while that move is being recorded.
    if (ply >= 0 && ply < RepetitionPlyLimit && repetitionHistory[ply] != fullKey)
        repetitionHistory[ply] = fullKey;
}

int repetitionCount(uint32_t fullKey, const Position& position) {
    int ply = position.ply;
    int start = position.lastIrreversiblePly;
    if ((ply - start) & 1) --start;
    if (start < 0) start = 0;
    int end = ply < RepetitionPlyLimit ? ply : RepetitionPlyLimit;
    int count = 0;
    for (int i = start; i < end; i += 2)
        if (repetitionHistory[i] == fullKey) ++count;
    return count;
}

bool insufficientMaterial(const Position& position) {
    if (position.whitePawnCount || position.blackPawnCount) return false;
    return (position.whiteMaterial < 400 && position.blackMaterial < 400) ||
           position.whiteMaterial + position.blackMaterial == 630;
}

int hashMoveOf(const Position& position) {
    // Game positions carry no keys of their own, so they are computed here.
    Position keyed = position;
    keyed.hashKey = computeHashKey(position);
    keyed.hashLock = computeHashLock(position);
    TableBucket& bucket = bucketOf(fullIndexKey(keyed));
    for (const TableEntry& e : bucket.entries)
        if (e.check == keyed.hashLock) return e.move;
    return NoMove;
}
