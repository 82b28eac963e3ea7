// Many short games through the root search: every committed move must be one
// that playMove accepts and must give the same position; no search allocates.
#include "tests/search/search_fixture.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/search/results.h"

namespace {
std::atomic<long> allocations{0};
}

// Every allocation of this test program is counted.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace searchtest;

namespace {

const char* const startPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "8/1P4k1/8/8/8/8/6p1/4K3 w - -",    // both sides promote
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", // castling both ways
    "4k3/1P6/8/8/8/8/6p1/4K2R w K -",
    "8/8/8/4k3/8/8/3PPP2/4K3 b - -",
    "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -",
};

// A fixed pseudo-random sequence, so that the games differ but every run plays the same ones.
uint32_t nextRandom(uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
}

TEST(SearchSelfPlay, CommittedMovesAreLegalAndSearchesDoNotAllocate) {
    freshEngine();
    {
        // The counter does see allocations.
        long before = allocations.load();
        std::string text(static_cast<size_t>(100 + before % 7), 'x');
        ASSERT_GT(allocations.load(), before);
    }
    uint32_t random = 2024;
    int committed = 0, games = 0;
    long allocatedDuringSearch = 0;
    testing::internal::CaptureStdout();
    for (int round = 0; round < 2; ++round) {
        for (const char* fen : startPositions) {
            setGame(fen);
            initTranspositionTable();
            ++games;
            for (int ply = 0; ply < 60; ++ply) {
                EngineSession& s = engineSession;
                if (gameOver(s.gamePosition)) break;
                // Now and then the opponent plays a random move, so that the games differ.
                if (nextRandom(random) % 4 == 0) {
                    int32_t legal[256];
                    int count = legalMoves(s.gamePosition, legal);
                    int32_t move = legal[nextRandom(random) % count];
                    int from = moveOrigin(move), to = moveDestination(move);
                    if (from >= CastleWhiteKingSide) from = from <= CastleWhiteQueenSide ? E1 : E8;
                    s.promotionChoice = Queen;
                    ASSERT_EQ(playMove(s.gamePosition, columnOf(from), rowOf(from), columnOf(to), rowOf(to),
                                       s.gamePosition.sideToMove, 0, 1, nullptr, nullptr, nullptr),
                              1);
                    continue;
                }
                Position before = s.gamePosition;
                int recorded = recordLength();
                long allocatedBefore = allocations.load();
                rootSearch(s.gamePosition, ThinkMode, 1 + (ply + round) % 3);
                allocatedDuringSearch += allocations.load() - allocatedBefore;
                ASSERT_EQ(recordLength(), before.ply) << fen << " ply " << ply;
                ASSERT_GT(recordLength(), recorded);
                // The same move entered by squares is legal and gives the same position.
                int move = s.engineMove;
                int from = moveOrigin(move), to = moveDestination(move);
                if (from >= CastleWhiteKingSide) from = from <= CastleWhiteQueenSide ? E1 : E8;
                Position check = before;
                s.promotionChoice = static_cast<uint8_t>(movePromotionType(move));
                ASSERT_EQ(playMove(check, columnOf(from), rowOf(from), columnOf(to), rowOf(to),
                                   before.sideToMove, 0, 0, nullptr, nullptr, nullptr),
                          1)
                    << fen << " ply " << ply << " move " << move;
                ASSERT_TRUE(samePosition(check, s.gamePosition)) << fen << " ply " << ply;
                ++committed;
            }
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(games, 20);
    EXPECT_GT(committed, 500);
    EXPECT_EQ(allocatedDuringSearch, 0);
}

} // namespace
