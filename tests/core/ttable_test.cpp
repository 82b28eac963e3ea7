#include "core_helpers.h"
#include "engine/core/gamerecord.h"
#include "engine/search/ttable.h"

namespace {

class Table : public CoreTest {
  protected:
    void SetUp() override {
        CoreTest::SetUp();
        initTranspositionTable();
        transpositionTable.generation = 1;
    }
    TableBucket bucket{};
};

TEST_F(Table, MateScoresKeepTheirDistance) {
    // Stored at ply-index 3 as "mate in 7 plies from the root", read at ply-index 5.
    store(bucket, 77, 9999 - 7, 0x1234, 4, 3, -100, 100, 0);
    EXPECT_EQ(bucket.entries[0].mateDistance, 4);
    int move;
    EXPECT_EQ(probe(bucket, 77, 4, 5, -100, 100, 0, White, move), 9999 - 9);
    // And a mated score the other way round.
    TableBucket other{};
    store(other, 5, 6 - 9999, 0x10, 3, 2, -100, 100, 0);
    EXPECT_EQ(other.entries[0].mateDistance, 4);
    EXPECT_EQ(probe(other, 5, 3, 4, -100, 100, 0, White, move), 4 + 4 - 9999);
}

TEST_F(Table, BoundsDepthsAndPlyIndex) {
    int move;
    store(bucket, 9, 50, 0x222, 5, 4, 0, 100, 0); // exact
    EXPECT_EQ(bucket.entries[0].bound, ExactBound);
    EXPECT_EQ(probe(bucket, 9, 5, 4, 0, 100, 0, White, move), 50);
    EXPECT_EQ(probe(bucket, 9, 6, 4, 0, 100, 0, White, move), NoTableScore) << "too shallow";
    EXPECT_EQ(move, 0x222) << "but its move is still the hash move";
    EXPECT_EQ(probe(bucket, 9, 5, 1, 0, 100, 0, White, move), NoTableScore) << "never near the root";
    EXPECT_EQ(probe(bucket, 10, 1, 4, 0, 100, 0, White, move), NoTableScore);
    EXPECT_EQ(move, NoMove);

    TableBucket lower{};
    store(lower, 9, 150, 0x333, 5, 4, 0, 100, 0); // fail high: lower bound
    EXPECT_EQ(lower.entries[0].bound, LowerBound);
    EXPECT_EQ(probe(lower, 9, 5, 4, 0, 120, 0, White, move), 150);
    EXPECT_EQ(probe(lower, 9, 5, 4, 0, 200, 0, White, move), NoTableScore);
    TableBucket upper{};
    store(upper, 9, -150, 0x444, 5, 4, 0, 100, 0); // fail low: upper bound
    EXPECT_EQ(upper.entries[0].bound, UpperBound);
    EXPECT_EQ(probe(upper, 9, 5, 4, -100, 100, 0, White, move), -150);
    EXPECT_EQ(probe(upper, 9, 5, 4, -200, 100, 0, White, move), NoTableScore);
    // An upper bound far above alpha gives White no hash move.
    EXPECT_EQ(probe(upper, 9, 5, 4, -400, -300, 0, White, move), NoTableScore);
    EXPECT_EQ(move, NoMove);
}

TEST_F(Table, ReplacementAndFiftyMoves) {
    // Deeper entry of an earlier search: replaced in slot 0.
    store(bucket, 1, 10, 1, 8, 4, -50, 50, 0);
    transpositionTable.generation = 2;
    store(bucket, 2, 20, 2, 3, 4, -50, 50, 0);
    EXPECT_EQ(bucket.entries[0].check, 2u);
    // Deeper entry of this search: the shallower result goes to slot 1.
    store(bucket, 3, 30, 3, 9, 4, -50, 50, 0);
    store(bucket, 4, 40, 4, 2, 4, -50, 50, 0);
    EXPECT_EQ(bucket.entries[0].check, 3u);
    EXPECT_EQ(bucket.entries[1].check, 4u);
    // Nothing is stored at a fifty-move count of 100.
    TableBucket empty{};
    store(empty, 5, 1, 5, 1, 4, -50, 50, 100);
    EXPECT_EQ(empty.entries[0].check, 0u);
    EXPECT_EQ(empty.entries[1].check, 0u);

    // An interface's size in megabytes gives the largest power of two of buckets that
    // fits, never fewer than the default; a resized table starts empty and is used.
    EXPECT_EQ(resizeTranspositionTable(24), 1u << 20);
    EXPECT_EQ(transpositionTable.indexMask, (1u << 20) - 1);
    EXPECT_EQ(&bucketOf(0x12345678u), &transpositionTable.buckets[0x12345678u & ((1u << 20) - 1)]);
    store(bucketOf(0xABCDEFu), 7, 70, 7, 3, 4, -50, 50, 0);
    EXPECT_EQ(bucketOf(0xABCDEFu).entries[0].check, 7u);
    EXPECT_EQ(resizeTranspositionTable(2), static_cast<uint32_t>(1u << 16));
    EXPECT_EQ(bucketOf(0xABCDEFu).entries[0].check, 0u);
    EXPECT_EQ(resizeTranspositionTable(0), static_cast<uint32_t>(TableBucketCount));
}

TEST_F(Table, NullMoveAndKeys) {
    Position p = positionFrom("4k3/8/8/8/8/8/8/4K3 w - -");
    p.hashKey = computeHashKey(p);
    p.hashLock = computeHashLock(p);
    Position before = p;
    uint32_t index = fullIndexKey(p);
    makeNullMove(p);
    EXPECT_NE(fullIndexKey(p), index);
    EXPECT_EQ(p.sideToMove, Black);
    EXPECT_EQ(std::memcmp(p.board, before.board, sizeof p.board), 0);
    EXPECT_EQ(p.hashKey, computeHashKey(p));
    makeNullMove(p);
    EXPECT_TRUE(samePosition(p, before));

    // Castling rights and the en-passant square are part of the index key.
    Position a = positionFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    Position b = positionFrom("r3k2r/8/8/8/8/8/8/R3K2R w Kkq -");
    a.hashKey = computeHashKey(a);
    b.hashKey = computeHashKey(b);
    EXPECT_EQ(a.hashKey, b.hashKey);
    EXPECT_NE(fullIndexKey(a), fullIndexKey(b));
}

TEST_F(Table, HashMoveOfAGamePosition) {
    Position p = positionFrom(InitialFen); // game positions carry no keys
    Position keyed = p;
    keyed.hashKey = computeHashKey(p);
    keyed.hashLock = computeHashLock(p);
    EXPECT_EQ(hashMoveOf(p), NoMove);
    store(bucketOf(fullIndexKey(keyed)), keyed.hashLock, 20, 0x0ABC, 4, 2, -50, 50, 0);
    EXPECT_EQ(hashMoveOf(p), 0x0ABC);
}

TEST_F(Table, RepetitionsAndMaterial) {
    Position p = positionFrom(InitialFen);
    p.ply = 9;
    p.lastIrreversiblePly = 4; // parity: plies 3, 5, 7 are looked at
    for (int i = 0; i < RepetitionHistorySize; ++i) repetitionHistory[i] = 0;
    repetitionHistory[3] = 42;
    repetitionHistory[5] = 42;
    repetitionHistory[6] = 42; // other side to move
    repetitionHistory[9] = 42; // the current ply itself
    EXPECT_EQ(repetitionCount(42, p), 2);
    p.ply = 2000; // far beyond the history: only stored plies are read
    p.lastIrreversiblePly = 1990;
    EXPECT_EQ(repetitionCount(42, p), 0);

    EXPECT_TRUE(insufficientMaterial(positionFrom("4k3/8/8/8/8/8/8/4KB2 w - -")));
    EXPECT_TRUE(insufficientMaterial(positionFrom("4kn2/8/8/8/8/8/8/4KB2 w - -")));
    EXPECT_TRUE(insufficientMaterial(positionFrom("4k3/8/8/8/8/8/8/2N1KN2 w - -")));
    EXPECT_FALSE(insufficientMaterial(positionFrom("4k3/8/8/8/8/8/8/3RK3 w - -")));
    EXPECT_FALSE(insufficientMaterial(positionFrom("4k3/p7/8/8/8/8/8/4K3 w - -")));
}

TEST_F(Table, SessionDefaultsAndResets) {
    newGame();
    EXPECT_EQ(engineSession.engineColour, 1);
    EXPECT_EQ(engineSession.gameResult, 4);
    EXPECT_EQ(engineSession.depthLimit, 28);
    EXPECT_FLOAT_EQ(engineSession.targetTime, 2.6f);
    EXPECT_FLOAT_EQ(engineSession.extensionTime, 2.0f);
    EXPECT_EQ(engineSession.baseMinutes, 5);
    EXPECT_EQ(engineSession.increment, 5);
    EXPECT_STREQ(engineSession.opponentName, "Human");
    EXPECT_STREQ(engineSession.engineName, "CPU");
    EXPECT_EQ(engineOptions.resignAllowed, 1);
    EXPECT_STREQ(engineOptions.bookFileName, "opening.pgn");
    Position initial = positionFrom(InitialFen);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, initial));
    EXPECT_TRUE(samePosition(engineSession.startPosition, initial));

    // resetEngineGame stops the search first and keeps the level.
    static int stops;
    stops = 0;
    stopSearchHook = [] { ++stops; };
    engineSession.depthLimit = 7;
    engineSession.engineColour = 3;
    engineSession.baseMinutes = 2;
    engineSession.whiteClock = 500;
    playMoveText("e4", engineSession.gamePosition, 1, nullptr);
    resetEngineGame();
    stopSearchHook = nullptr;
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(engineSession.depthLimit, 7);
    EXPECT_EQ(engineSession.engineColour, 3);
    EXPECT_EQ(engineSession.baseMinutes, 2);
    EXPECT_EQ(engineSession.whiteClock, 0);
    EXPECT_EQ(recordLength(), 0);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, initial));
    EXPECT_EQ(engineSession.ponderPosition.whiteSquares[KingSlot], EmptySlot);
}

} // namespace
