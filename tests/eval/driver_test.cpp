// Hand-checked scores of the evaluation driver: exact totals, the lazy
// exits at their boundaries, the final rounding and the rook-and-bishop
// scaling.
#include <gtest/gtest.h>

#include <map>

#include "engine/eval/evaluate.h"
#include "eval_test_util.h"

using namespace evaltest;

namespace {

constexpr int Full = 30000;

Position setUp(const char* fen) {
    bool ok = false;
    Position p = fromFen(fen, &ok);
    EXPECT_TRUE(ok) << fen;
    return p;
}

} // namespace

TEST(EvalDriver, HandCheckedTotals) {
    struct Case {
        const char* fen;
        int unrounded;
        int rounded;
    };
    const Case cases[] = {
        // Symmetric: every term cancels, no shelter (kings uncastled).
        {InitialFen, 0, 0},
        // 1.Nc3: knight table +19, outpost c3 +2, rook a1 gains a square +2,
        // knight attack 6 instead of 0.
        {"rnbqkbnr/pppppppp/8/8/8/2N5/PPPPPPPP/R1BQKBNR b KQkq - 0 1", 29, 28},
        // The mirror rounds towards minus infinity.
        {"r1bqkbnr/pppppppp/2n5/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", -29, -32},
        // Bare kings: no pawns, the pawnless evaluator gives 0.
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0, 0},
        // Rook and bishop each, bishops c1 and c8 on opposite colours: a
        // pawn up (100), a2 passer and its flags (+1 structure, +10 against
        // the distant king, +32 outside pawns, +4 pawn table) = 147, scaled
        // to 147/4 + 147/2 = 109, then rounded.
        {"2brk3/5p2/6p1/8/8/6P1/P4P2/2BRK3 w - - 0 1", 109, 108},
        // The same with Black's bishop on f8 (same colour as c1): no scaling;
        // Black's rook now has three free squares (-18 for White).
        {"3rkb2/5p2/6p1/8/8/6P1/P4P2/2BRK3 w - - 0 1", 129, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        Position p = setUp(c.fen);
        EXPECT_EQ(evaluateUnrounded(p, -Full, Full), c.unrounded);
        EXPECT_EQ(evaluate(p, -Full, Full), c.rounded);
    }
}

TEST(EvalDriver, LazyExits) {
    struct Case {
        const char* fen;
        int alpha, beta;
        int expected;
    };
    // Knight up in the initial position: 315 + 70 imbalance - 14 table = 371
    // after step 5. Lazy exit 1 (much material) returns 371 + 200 below
    // alpha - 475; just inside, lazy exit 2 returns 371 + 60.
    const char* knightUp = "r1bqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const char* knightDown = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/R1BQKBNR b KQkq - 0 1";
    // Little material (842 against 647): lazy exit 1 never applies; the
    // score at step 12 is 195 (balance only).
    const char* light = "6k1/8/1n1b4/4p3/4P3/3B4/8/R5K1 w - - 0 1";
    const Case cases[] = {
        {knightUp, 847, 848, 371 + 200},     {knightUp, 846, 847, 371 + 60},
        {knightUp, 10000, 10001, 371 + 200}, {knightDown, -848, -847, -371 - 200},
        {knightDown, -847, -846, -371 - 60}, {light, 376, 377, 195 + 60},
        {light, 10000, 10001, 195 + 60},     {light, 13, 14, 195 - 60},
        {light, -30000, 14, 195 - 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        SCOPED_TRACE(c.alpha);
        Position p = setUp(c.fen);
        EXPECT_EQ(evaluate(p, c.alpha, c.beta), c.expected);
    }
    // Just inside the window the full evaluation runs (and is rounded).
    Position p = setUp(light);
    const int full = evaluate(p, -Full, Full);
    EXPECT_EQ(evaluate(p, 375, 376), full);
    EXPECT_EQ(evaluate(p, 14, 15), full);
    EXPECT_NE(full, 195 + 60);
    EXPECT_NE(full, 195 - 60);
}

// Positions with pawns on both sides and at least two pieces each always
// reach the final rounding with the full window: -4..4 pass unchanged, other
// values lose their two lowest bits (5 and 6 become 4, -5 becomes -8).
TEST(EvalDriver, FinalRoundingOverGamePositions) {
    std::map<int, int> small; // unrounded -> rounded, for |u| < 9
    int checked = 0;
    for (uint32_t game = 1; game <= 200; ++game)
        playRandomGame(game * 31337u, 120, [&](const Position& p) {
            if (!p.whitePawnCount || !p.blackPawnCount || p.whitePieceCount < 2 || p.blackPieceCount < 2)
                return;
            const int u = evaluateUnrounded(p, -Full, Full);
            const int e = evaluate(p, -Full, Full);
            ++checked;
            const int expected = (u >= -4 && u <= 4) ? u : (u & ~3);
            ASSERT_EQ(e, expected) << u;
            if (u > -9 && u < 9) small[u] = e;
        });
    EXPECT_GT(checked, 5000);
    // Every small value occurs among these positions.
    const int expectedOf[17] = {-8, -8, -8, -8, -4, -3, -2, -1, 0, 1, 2, 3, 4, 4, 4, 4, 8}; // for -8..8
    for (int u = -8; u <= 8; ++u) {
        ASSERT_TRUE(small.count(u)) << u;
        EXPECT_EQ(small[u], expectedOf[u + 8]) << u;
    }
}

// An empty record (no kings in their slots) gets its material balance
// instead of reading tables through the empty-slot square.
TEST(EvalDriver, RecordWithoutKingsIsBounded) {
    initOnce();
    Position p;
    clearPosition(p);
    EXPECT_EQ(evaluate(p, -Full, Full), 0);
    p.materialBalance = 123;
    p.whitePawnCount = 1;
    EXPECT_EQ(evaluate(p, -Full, Full), 123);
}

// The shelter of a castled White king: the same position with castling still
// possible has no shelter term, so the difference is the term alone.
TEST(EvalDriver, KingShelter) {
    struct Case {
        const char* fen;
        int term;
    };
    const Case cases[] = {
        // Black has a rook only (510): half the shelter value counts.
        {"r5k1/ppp5/8/8/8/8/5PPP/3QR1K1 w - - 0 1", 18 / 2},        // 0 + 11 + 11, capped at 18
        {"r5k1/ppp5/8/8/8/6P1/7P/3QR1K1 w - - 0 1", 7 / 2},         // g3: -4, h2: +11
        {"r5k1/ppp5/8/8/8/5P1P/8/3QR1K1 w - - 0 1", 2 / 2},         // -14, f3 and h3: +8 each
        {"r5k1/ppp5/8/8/8/8/6P1/3QR1K1 w - - 0 1", 0},              // g2 alone
        {"r5k1/ppp5/8/8/8/8/P7/3QR1K1 w - - 0 1", -7},              // nothing in front: -14 / 2
        {"r5k1/ppp5/8/8/8/6P1/5PKP/3QR3 w - - 0 1", 16 / 2},        // king g2: g3, f2 and h2 beside
        {"r5k1/ppp5/8/8/5PPP/6K1/8/3QR3 w - - 0 1", (18 - 10) / 2}, // king on rank 3
        // Black with more than 1850: the full value; more than 2350 and the
        // king on its first rank: another quarter.
        {"rr1q2k1/ppp5/8/8/8/8/5PPP/3QR1K1 w - - 0 1", 18},
        {"rrbqn1k1/ppp5/8/8/8/8/5PPP/3QR1K1 w - - 0 1", 18 + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        Position p = setUp(c.fen);
        ASSERT_GE(p.whiteCastling, 3);
        const int castled = evaluateUnrounded(p, -Full, Full);
        p.whiteCastling = 0;
        EXPECT_EQ(castled - evaluateUnrounded(p, -Full, Full), c.term);
    }
}
