// The colour mirror: every White term has a Black twin on the upside-down
// board with the sign changed, so a position and its mirror score as
// negatives of each other, up to the known exceptions listed below.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

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
};

// Places where the mirror is not exact by design, each with its reason.
// Returns the name of the first that applies, or nullptr.
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
        if (p.board[sq] == WhitePawn) whiteHigh[f] = std::max(whiteHigh[f], r), whiteLow[f] = std::min(whiteLow[f], r);
        if (p.board[sq] == BlackPawn) blackHigh[f] = std::max(blackHigh[f], r), blackLow[f] = std::min(blackLow[f], r);
    }
    for (int f = 1; f <= 8; ++f) {
        int r = whiteHigh[f];
        if (r > 0 && blackLow[f] < r && blackHigh[f] < r && blackHigh[f - 1] <= r && blackHigh[f + 1] <= r) return true;
        r = blackLow[f];
        if (r < 20 && whiteHigh[f] > r && whiteLow[f] > r && whiteLow[f - 1] >= r && whiteLow[f + 1] >= r) return true;
    }
    return false;
}

int swappedFlags(int flags) {
    const int pairs[5][2] = {{0x1, 0x4}, {0x2, 0x8}, {0x10, 0x20}, {0x40, 0x80}, {0x100, 0x200}};
    int out = 0;
    for (auto& pr : pairs) {
        if (flags & pr[0]) out |= pr[1];
        if (flags & pr[1]) out |= pr[0];
    }
    return out;
}

// Places where the mirror is not exact by design, each with its reason.
// Returns the reason of the first that applies, or nullptr.
const char* mirrorException(const Position& p, const Position& m) {
    // A Black passed pawn with a White pawn behind it on its file gets half the
    // value a White one gets in the mirrored case.
    if (passerWithEnemyBehind(p)) return "black passer with enemy pawn behind counts half";
    // The spread flags start White's file range at 8..1 and Black's at 9..0, so
    // a side without pawns is "outside" by different margins.
    if (p.whitePawnCount == 0 || p.blackPawnCount == 0) {
        PawnEntry a, b;
        evaluatePawns(p, a);
        evaluatePawns(m, b);
        if (swappedFlags(a.pawnFlags) != b.pawnFlags) return "spread flags differ for a side without pawns";
    }
    // The endgame king table is used unmirrored for both kings and has h7 = 0
    // but h2 = 2.
    int wk = p.whiteSquares[KingSlot], bk = p.blackSquares[KingSlot];
    if (wk == H7 || wk == H2 || bk == H7 || bk == H2) return "endgame king table differs on h2/h7";
    return nullptr;
}

void checkMirror(const Position& p, MirrorStats& stats) {
    Position m = mirrored(p);
    if (const char* why = mirrorException(p, m)) {
        (void)why;
        ++stats.skipped;
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

}  // namespace

TEST(EvalSymmetry, MirrorOverRandomGames) {
    MirrorStats stats;
    for (uint32_t game = 1; game <= 300; ++game)
        playRandomGame(game * 7919u, 220, [&](const Position& p) { checkMirror(p, stats); });
    std::printf("mirror: %d positions checked, %d under listed exceptions\n", stats.checked, stats.skipped);
    EXPECT_GT(stats.checked, 20000);
    EXPECT_LT(stats.skipped, stats.checked / 4);
}

// Lazy exits use the window: the mirror of a window is the negated, swapped window.
TEST(EvalSymmetry, MirrorWithNarrowWindows) {
    int checked = 0;
    for (uint32_t game = 1; game <= 40; ++game)
        playRandomGame(game * 104729u, 160, [&](const Position& p) {
            Position m = mirrored(p);
            if (mirrorException(p, m)) return;
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
