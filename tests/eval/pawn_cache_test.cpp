// The pawn cache: a hit returns exactly what a fresh computation gives, and
// two structures that share a slot replace each other without confusion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "engine/eval/evaluate.h"
#include "engine/eval/pawns.h"
#include "eval_test_util.h"

using namespace evaltest;

namespace {

// The pawns of a position as text, to tell real key collisions apart.
std::string pawnPicture(const Position& p) {
    std::string s;
    for (int sq = A8; sq <= H1; ++sq)
        s += p.board[sq] == WhitePawn ? 'P' : p.board[sq] == BlackPawn ? 'p' : '.';
    return s;
}

// Entries of one structure may list the same passers in another order when
// the pawns sit in other slots; everything else must match byte for byte.
bool sameEntry(PawnEntry a, PawnEntry b) {
    std::sort(a.whitePassers, a.whitePassers + 4, std::greater<>());
    std::sort(b.whitePassers, b.whitePassers + 4, std::greater<>());
    std::sort(a.blackPassers, a.blackPassers + 4, std::greater<>());
    std::sort(b.blackPassers, b.blackPassers + 4, std::greater<>());
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(PawnCache, HitsAgreeWithFreshEntriesOverRandomGames) {
    initOnce();
    clearPawnCache();
    std::map<uint32_t, std::string> structureOfKey;
    int hits = 0, collisions = 0;
    for (uint32_t game = 1; game <= 150; ++game)
        playRandomGame(game * 2654435761u, 200, [&](const Position& p) {
            const uint32_t key = static_cast<uint32_t>(p.pawnKey);
            auto [it, inserted] = structureOfKey.emplace(key, pawnPicture(p));
            const bool collision = !inserted && it->second != pawnPicture(p);
            PawnEntry cached, fresh;
            const bool hit = probePawnEntry(key, cached);
            evaluatePawns(p, fresh);
            EXPECT_EQ(fresh.key, key);
            if (collision) {
                ++collisions;
                return;
            }
            if (hit) {
                ++hits;
                char fen[FenBufferSize];
                writeFen(fen, p);
                EXPECT_TRUE(sameEntry(cached, fresh)) << fen;
            }
            // The freshly stored entry is found again, and the evaluation
            // through the cache equals one from a cleared slot.
            PawnEntry again;
            ASSERT_TRUE(probePawnEntry(key, again));
            EXPECT_EQ(std::memcmp(&again, &fresh, sizeof again), 0);
        });
    EXPECT_GT(hits, 10000);
    // The key is a 32-bit sum, so a genuine collision is possible but rare.
    EXPECT_LT(collisions, 3);
}

// Two structures whose keys agree in the low 16 bits share a slot: the
// second probe misses, its store replaces the first, and both evaluate as
// they would from an empty cache.
TEST(PawnCache, StructuresSharingASlotReplaceEachOther) {
    initOnce();
    std::map<uint32_t, Position> bySlot;
    Position first{}, second{};
    bool found = false;
    for (uint32_t game = 1; game <= 200 && !found; ++game)
        playRandomGame(game * 97u + 5, 200, [&](const Position& p) {
            if (found || p.pawnKey != pawnKeyFromScratch(p)) return;
            const uint32_t key = static_cast<uint32_t>(p.pawnKey);
            auto [it, inserted] = bySlot.emplace(key & 0xFFFF, p);
            if (!inserted && static_cast<uint32_t>(it->second.pawnKey) != key &&
                p.whitePieceCount + p.blackPieceCount > 0) {
                first = it->second;
                second = p;
                found = true;
            }
        });
    ASSERT_TRUE(found);

    clearPawnCache();
    const int firstScore = evaluate(first, -30000, 30000);
    clearPawnCache();
    const int secondScore = evaluate(second, -30000, 30000);

    clearPawnCache();
    PawnEntry entry;
    EXPECT_FALSE(probePawnEntry(static_cast<uint32_t>(first.pawnKey), entry));
    EXPECT_EQ(evaluate(first, -30000, 30000), firstScore);
    EXPECT_TRUE(probePawnEntry(static_cast<uint32_t>(first.pawnKey), entry));
    EXPECT_FALSE(probePawnEntry(static_cast<uint32_t>(second.pawnKey), entry));
    EXPECT_EQ(evaluate(second, -30000, 30000), secondScore);
    EXPECT_TRUE(probePawnEntry(static_cast<uint32_t>(second.pawnKey), entry));
    EXPECT_EQ(entry.key, static_cast<uint32_t>(second.pawnKey));
    EXPECT_FALSE(probePawnEntry(static_cast<uint32_t>(first.pawnKey), entry));
    EXPECT_EQ(evaluate(first, -30000, 30000), firstScore);
    EXPECT_EQ(evaluate(second, -30000, 30000), secondScore);

    // Clearing empties every slot, slot 0 included: a key of 0 misses too.
    clearPawnCache();
    EXPECT_FALSE(probePawnEntry(static_cast<uint32_t>(second.pawnKey), entry));
    EXPECT_FALSE(probePawnEntry(0, entry));
}
