// Hand-checked endgame evaluations: the special evaluators, the pawn race
// and their dispatch from the driver (their results are never rounded).
#include <gtest/gtest.h>

#include "engine/eval/endgame.h"
#include "engine/eval/evaluate.h"
#include "engine/eval/pawns.h"
#include "eval_test_util.h"

using namespace evaltest;

namespace {

constexpr int Full = 30000;

int eval(const char* fen) {
    bool ok = false;
    Position p = fromFen(fen, &ok);
    EXPECT_TRUE(ok) << fen;
    return evaluate(p, -Full, Full);
}

} // namespace

TEST(Endgames, HandCheckedScores) {
    struct Case {
        const char* fen;
        int score;
    };
    const Case cases[] = {
        // Two knights cannot force mate.
        {"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", 1},
        {"1n2kn2/8/8/8/8/8/8/4K3 b - - 0 1", -1},
        // Bishop and knight: 647 + 70, plus 3 x corner value + 50, less 8 x
        // king distance. The light bishop (e4) drives to a8 (72), not h8 (5).
        {"k7/8/2K5/8/3NB3/8/8/8 w - - 0 1", 717 + 3 * 72 + 50 - 8 * 2},
        {"7k/8/2K5/8/3NB3/8/8/8 w - - 0 1", 717 + 3 * 5 + 50 - 8 * 5},
        {"k7/8/2N1K3/8/4B3/8/8/8 w - - 0 1", 717 + 3 * 72 + 50 - 8 * 4},
        // A lone minor piece against a bare king is no win.
        {"4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", 0},
        // Rook against knight: 195 - 16 x 2 (king distance) + centre terms
        // (43 + 21 - 33 - 16) = 178, then (178 + 16 x knight-to-king distance) / 4.
        {"3n4/8/3k4/8/3K4/8/8/R7 w - - 0 1", (178 + 16 * 2) / 4},
        {"7n/8/3k4/8/3K4/8/8/R7 w - - 0 1", (178 + 16 * 4) / 4},
        // King and rook pawn against king in the promotion corner: a draw.
        {"1k6/8/8/P1K5/8/8/8/8 w - - 0 1", 0},
        {"8/8/8/8/p1k5/8/8/1K6 b - - 0 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        EXPECT_EQ(eval(c.fen), c.score);
    }
}

TEST(Endgames, PawnRace) {
    struct Case {
        const char* fen;
        int result;
    };
    const Case cases[] = {
        // a5 needs 3 moves; the king on e5 is 4 from a8: outside the square.
        {"8/8/8/P3k3/8/8/8/7K w - - 0 1", 1},
        // With Black to move it is inside.
        {"8/8/8/P3k3/8/8/8/7K b - - 0 1", 0},
        // d5 is 3 from a8: inside.
        {"8/8/8/P2k4/8/8/8/7K w - - 0 1", 0},
        // The king on b7 escorts c6 (one step from c8, two moves to go).
        {"8/1K6/2P1k3/8/8/8/8/8 b - - 0 1", 1},
        // In front of its b-pawn the king still escorts it ...
        {"8/1K1k4/1P6/8/8/8/8/8 w - - 0 1", 1},
        // ... but not on the a-file, where it can be shut in.
        {"8/K1k5/P7/8/8/8/8/8 w - - 0 1", 0},
        // Two passers seven files apart: one king stops neither in time.
        {"8/8/8/3k4/P6P/8/8/4K3 w - - 0 1", 1},
        // Black's race, mirrored.
        {"7k/8/8/8/3K3p/8/8/8 b - - 0 1", 2},
        {"7k/8/8/8/3K3p/8/8/8 w - - 0 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        bool ok = false;
        Position p = fromFen(c.fen, &ok);
        ASSERT_TRUE(ok);
        PawnEntry e;
        evaluatePawns(p, e);
        int score = 0;
        EXPECT_EQ(pawnRace(p, score, p.whiteSquares[KingSlot], p.blackSquares[KingSlot], e), c.result);
        EXPECT_EQ(score, c.result == 1 ? 495 : c.result == 2 ? -495 : 0);
    }
}

// Queen against a lone pawn where the race decides: with White to move the
// a-pawn outruns the king and 495 is added; nothing else in this minor
// ending depends on the side to move.
TEST(Endgames, QueenEndingIncludesTheRace) {
    const int whiteToMove = eval("8/7p/8/P3k3/8/8/8/3Q3K w - - 0 1");
    const int blackToMove = eval("8/7p/8/P3k3/8/8/8/3Q3K b - - 0 1");
    EXPECT_EQ(whiteToMove - blackToMove, 495);
}

TEST(Endgames, ScalingWithoutPawns) {
    // White with no pawn and less than 400 of material: the score becomes
    // minus Black's pawn count; two knights: an eighth.
    Position p = fromFen("4k3/pp6/8/8/8/8/8/2B1K3 w - - 0 1");
    int score = 50;
    EXPECT_TRUE(noWhitePawnsScale(p, score));
    EXPECT_EQ(score, -2);
    p = fromFen("4k3/pp6/8/8/8/8/8/1N2KN2 w - - 0 1");
    score = 200;
    EXPECT_TRUE(noWhitePawnsScale(p, score));
    EXPECT_EQ(score, 25);
    // Rook and bishop against rook (one piece and one minor more, less than
    // 400 apart): a quarter; rook and knight: an eighth.
    p = fromFen("4k3/pp2r3/8/8/8/8/8/2B1KR2 w - - 0 1");
    score = 203;
    EXPECT_TRUE(noWhitePawnsScale(p, score));
    EXPECT_EQ(score, 50);
    p = fromFen("4k3/pp2r3/8/8/8/8/8/1N2KR2 w - - 0 1");
    score = 203;
    EXPECT_TRUE(noWhitePawnsScale(p, score));
    EXPECT_EQ(score, 25);
    // A queen is enough to win: not applied.
    p = fromFen("4k3/pp6/8/8/8/8/8/3QK3 w - - 0 1");
    score = 203;
    EXPECT_FALSE(noWhitePawnsScale(p, score));
    EXPECT_EQ(score, 203);
    // Black's mirror: the score becomes White's pawn count.
    p = fromFen("2b1k3/8/8/8/8/8/PPP5/4K3 w - - 0 1");
    score = -50;
    EXPECT_TRUE(noBlackPawnsScale(p, score));
    EXPECT_EQ(score, 3);
}

// Bishops of opposite colours with one piece each: the Black bishop on c8
// (colour 2) against the White one on c1 (colour 1), compared with the same
// position with Black's bishop on d8 (colour 1, same table value), where
// nothing is scaled.
TEST(Endgames, OppositeBishopsScaleTheMinorEnding) {
    struct Case {
        const char* opposite;
        const char* same;
        int (*scale)(int);
    };
    const Case cases[] = {
        // Three pawns against two: 1/16 + 1/8 + 1/4.
        {"2b3k1/5pp1/8/8/3PPP2/8/8/2B3K1 w - - 0 1", "3b2k1/5pp1/8/8/3PPP2/8/8/2B3K1 w - - 0 1",
         [](int s) { return (s >> 4) + (s >> 3) + (s >> 2); }},
        // One pawn on the board: 1/16.
        {"2b3k1/8/8/8/3P4/8/8/2B3K1 w - - 0 1", "3b2k1/8/8/8/3P4/8/8/2B3K1 w - - 0 1",
         [](int s) { return s >> 4; }},
        // Three pawns against one: 1/4 + 1/2.
        {"2b3k1/6p1/8/8/3PPP2/8/8/2B3K1 w - - 0 1", "3b2k1/6p1/8/8/3PPP2/8/8/2B3K1 w - - 0 1",
         [](int s) { return (s >> 2) + (s >> 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opposite);
        bool ok1 = false, ok2 = false;
        Position opposite = fromFen(c.opposite, &ok1), same = fromFen(c.same, &ok2);
        ASSERT_TRUE(ok1 && ok2);
        const int unscaled = evaluate(same, -Full, Full);
        EXPECT_GT(unscaled, 100);
        EXPECT_EQ(evaluate(opposite, -Full, Full), c.scale(unscaled));
    }
}
