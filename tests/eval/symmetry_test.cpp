// The colour mirror: every White term has a Black twin on the upside-down
// board with the sign changed, so a position and its mirror score as
// negatives of each other, up to the known exceptions listed below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "engine/eval/evaluate.h"
#include "engine/eval/pawns.h"
#include "eval_test_util.h"

using namespace evaltest;

namespace {

constexpr int FullWindow = 30000;

// Arithmetic shifts round towards minus infinity, so x >> n and (-x) >> n
// do not cancel: each shifted term can leave the pair sum one below zero,
// and a scaling of the whole score (x/4 + x/2 and the like) a few more.
constexpr int RoundingSlack = 6;

struct MirrorStats {
    int checked = 0;
    int skipped = 0;
    std::map<std::string, int> byReason;
};

// A passed pawn (front pawn of its file, no enemy pawn ahead on its own or a
// neighbouring file) with an enemy pawn behind it on its file.
bool passerWithEnemyBehind(const Position& p) {
    int whiteHigh[10], whiteLow[10], blackHigh[10], blackLow[10];
    for (int f = 0; f < 10; ++f) {
        whiteHigh[f] = blackHigh[f] = -20;
        whiteLow[f] = blackLow[f] = 20;
    }
    for (int sq = A8; sq <= H1; ++sq) {
        int f = fileOf[sq], r = rankOf[sq];
        if (p.board[sq] == WhitePawn)
            whiteHigh[f] = std::max(whiteHigh[f], r), whiteLow[f] = std::min(whiteLow[f], r);
        if (p.board[sq] == BlackPawn)
            blackHigh[f] = std::max(blackHigh[f], r), blackLow[f] = std::min(blackLow[f], r);
    }
    for (int f = 1; f <= 8; ++f) {
        int r = whiteHigh[f];
        if (r > 0 && blackLow[f] < r && blackHigh[f] < r && blackHigh[f - 1] <= r && blackHigh[f + 1] <= r)
            return true;
        r = blackLow[f];
        if (r < 20 && whiteHigh[f] > r && whiteLow[f] > r && whiteLow[f - 1] >= r && whiteLow[f + 1] >= r)
            return true;
    }
    return false;
}

// Places where the mirror is not exact by design, each with its reason.
// Returns the reason of the first that applies, or nullptr.
const char* mirrorException(const Position& p) {
    // A Black passed pawn with a White pawn behind it on its file gets half the
    // value a White one gets in the mirrored case.
    if (passerWithEnemyBehind(p)) return "black passer with enemy pawn behind counts half";
    // The endgame king table is used unmirrored for both kings and has h7 = 0
    // but h2 = 2.
    int wk = p.whiteSquares[KingSlot], bk = p.blackSquares[KingSlot];
    if (wk == H7 || wk == H2 || bk == H7 || bk == H2) return "endgame king table differs on h2/h7";
    return nullptr;
}

void checkMirror(const Position& p, MirrorStats& stats) {
    Position m = mirrored(p);
    if (const char* why = mirrorException(p)) {
        ++stats.skipped;
        ++stats.byReason[why];
        return;
    }
    // Fresh pawn entries: a game's pawn key can collide with an earlier
    // structure's (the cache tests deal with that), which is not a mirror fault.
    PawnEntry scratch;
    evaluatePawns(p, scratch);
    int a = evaluateUnrounded(p, -FullWindow, FullWindow);
    evaluatePawns(m, scratch);
    int b = evaluateUnrounded(m, -FullWindow, FullWindow);
    int sum = a + b;
    ++stats.checked;
    if (sum > 0 || sum < -RoundingSlack) {
        char fen[FenBufferSize];
        writeFen(fen, p);
        ADD_FAILURE() << "mirror mismatch " << a << " vs " << b << " in " << fen;
    }
    // The rounded scores may differ only by the rounding towards minus infinity.
    evaluatePawns(p, scratch);
    int ra = evaluate(p, -FullWindow, FullWindow);
    evaluatePawns(m, scratch);
    int rb = evaluate(m, -FullWindow, FullWindow);
    EXPECT_LE(ra + rb, 0);
    EXPECT_GE(ra + rb, -RoundingSlack - 4);
}

} // namespace

TEST(EvalSymmetry, MirrorOverRandomGames) {
    MirrorStats stats;
    for (uint32_t game = 1; game <= 300; ++game)
        playRandomGame(game * 7919u, 220, [&](const Position& p) { checkMirror(p, stats); });
    std::printf("mirror: %d positions checked, %d under listed exceptions\n", stats.checked, stats.skipped);
    for (const auto& [reason, count] : stats.byReason) std::printf("  %5d %s\n", count, reason.c_str());
    EXPECT_GT(stats.checked, 20000);
    EXPECT_LT(stats.skipped, stats.checked / 4);
}

// Lazy exits use the window: the mirror of a window is the negated, swapped window.
TEST(EvalSymmetry, MirrorWithNarrowWindows) {
    int checked = 0;
    for (uint32_t game = 1; game <= 40; ++game)
        playRandomGame(game * 104729u, 160, [&](const Position& p) {
            Position m = mirrored(p);
            if (mirrorException(p)) return;
            for (int alpha : {-700, -250, 0, 150, 600}) {
                int beta = alpha + 1;
                PawnEntry scratch;
                evaluatePawns(p, scratch);
                int a = evaluateUnrounded(p, alpha, beta);
                evaluatePawns(m, scratch);
                int b = evaluateUnrounded(m, -beta, -alpha);
                ++checked;
                if (a + b > 0 || a + b < -RoundingSlack) {
                    char fen[FenBufferSize];
                    writeFen(fen, p);
                    ADD_FAILURE() << "window " << alpha << ": " << a << " vs " << b << " in " << fen;
                }
            }
        });
    EXPECT_GT(checked, 10000);
}
