// eval subcommand of tavisk-bench: evaluations per second over a fixed set of
// positions from games, and how often the pawn cache answers.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/eval/evaluate.h"
#include "engine/eval/pawns.h"

namespace {

constexpr int BenchGames = 24;
constexpr int BenchPlies = 120;
constexpr int FullWindow = 30000;

struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// Fixed games: each side plays the legal move with the best static score
// after it, with a small fixed-seed jitter so that the games differ. The
// games run into middlegames and endings alike.
std::vector<Position> gamePositions() {
    std::vector<Position> positions;
    Lcg rng{12345};
    for (int game = 0; game < BenchGames; ++game) {
        Position position;
        setInitialPosition(position);
        for (int ply = 0; ply < BenchPlies; ++ply) {
            positions.push_back(position);
            MoveList list;
            generateMovesWithCheck(position, list, position.sideToMove);
            const int colour = position.sideToMove;
            int bestScore = -100000;
            Position best{};
            bool any = false;
            const int total = list.count();
            for (int k = 0; k < total; ++k) {
                int32_t move = list.move(k);
                Position next = position;
                uint32_t a, b;
                makeMove(next, move, a, b, Queen);
                if (inCheck(next, colour)) continue;
                int score = evaluate(next, -FullWindow, FullWindow);
                if (colour == Black) score = -score;
                score += static_cast<int>(rng.next() % 40);
                if (score > bestScore) {
                    bestScore = score;
                    best = next;
                    any = true;
                }
            }
            if (!any) break;
            position = best;
        }
    }
    return positions;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// "eval [SECONDS]": at least SECONDS (default 2) of repeated passes.
int runEvalBench(int argc, char** argv) {
    double seconds = 2.0;
    if (argc >= 1) {
        char* end = nullptr;
        seconds = std::strtod(argv[0], &end);
        if (!end || *end || seconds <= 0 || seconds > 600) {
            std::fprintf(stderr, "seconds must be a number above 0 and at most 600\n");
            return 2;
        }
    }
    const std::vector<Position> positions = gamePositions();

    // One pass in game order from an empty cache: the hit rate of a game.
    clearPawnCache();
    pawnCacheProbes = pawnCacheHits = 0;
    long long signature = 0;
    for (const Position& p : positions) signature += evaluate(p, -FullWindow, FullWindow);
    const uint64_t coldProbes = pawnCacheProbes, coldHits = pawnCacheHits;

    // Timed passes with the cache warm.
    pawnCacheProbes = pawnCacheHits = 0;
    uint64_t evaluations = 0;
    long long sink = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        for (const Position& p : positions) sink += evaluate(p, -FullWindow, FullWindow);
        evaluations += positions.size();
        elapsed = secondsSince(start);
    } while (elapsed < seconds);

    // A narrow window lets the lazy exits cut evaluations short, as in the search.
    uint64_t lazyEvaluations = 0;
    const auto lazyStart = std::chrono::steady_clock::now();
    double lazyElapsed = 0;
    do {
        for (const Position& p : positions) sink += evaluate(p, -20, 20);
        lazyEvaluations += positions.size();
        lazyElapsed = secondsSince(lazyStart);
    } while (lazyElapsed < seconds / 2);

    std::printf("positions            %zu (from %d games)\n", positions.size(), BenchGames);
    std::printf("signature            %lld\n", signature);
    std::printf("full window          %.0f evaluations/s (%llu in %.2f s)\n", evaluations / elapsed,
                static_cast<unsigned long long>(evaluations), elapsed);
    std::printf("window -20..20       %.0f evaluations/s\n", lazyEvaluations / lazyElapsed);
    std::printf("pawn cache, one pass %.1f%% hits (%llu of %llu probes)\n",
                coldProbes ? 100.0 * coldHits / coldProbes : 0.0, static_cast<unsigned long long>(coldHits),
                static_cast<unsigned long long>(coldProbes));
    std::printf("pawn cache, repeated %.1f%% hits\n",
                pawnCacheProbes ? 100.0 * pawnCacheHits / pawnCacheProbes : 0.0);
    return sink == 0x7FFFFFFFFFFFFFFF ? 1 : 0; // keeps the timed loops from being dropped
}
