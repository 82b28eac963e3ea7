// Hand-checked values of the pawn structure and the piece terms.
#include <gtest/gtest.h>

#include "engine/eval/pawns.h"
#include "engine/eval/pieces.h"
#include "eval_test_util.h"

using namespace evaltest;

namespace {

PawnEntry entryOf(const char* fen) {
    bool ok = false;
    Position p = fromFen(fen, &ok);
    EXPECT_TRUE(ok) << fen;
    PawnEntry e;
    evaluatePawns(p, e);
    return e;
}

} // namespace

TEST(PawnStructure, HandCheckedEntries) {
    struct Case {
        const char* fen;
        int structure;
        int flags;
        int whitePassers[4];
        int blackPassers[4];
        int connected;
    };
    const Case cases[] = {
        // Doubled e-pawns, no neighbours: doubled 12, one island 5, both
        // isolated (13 and 18) and on a file without Black pawns (6 each),
        // only the front pawn passed (34). No Black pawns: flags 1 and 2.
        {"4k3/8/8/8/4P3/8/4P3/4K3 w - - 0 1",
         -12 - 5 - 13 - 18 - 12 + 34,
         0x1 | 0x2 | 0x10 | 0x40 | 0x100,
         {E4},
         {},
         0},
        // a7 passer with no Black pawn on a or b: 112, less island 5,
        // isolated 7 and open file 6.
        {"4k3/P7/8/8/8/8/8/4K3 w - - 0 1", 112 - 5 - 7 - 6, 0x1 | 0x2 | 0x4 | 0x10 | 0x40, {A7}, {}, 0},
        // The same with a Black pawn behind it on a3: White gets 85, and the
        // a3 pawn is itself passed with a White pawn behind: half of 60.
        {"4k3/P7/8/8/8/p7/8/4K3 w - - 0 1", 85 - 5 - 7 + 5 + 5 - 30, 0x1 | 0x4, {A7}, {A3}, 0},
        // The mirror case: Black's a2 passer with a White pawn behind gets
        // half of 85 (42) while White's a6 gets the full 60.
        {"4k3/8/P7/8/8/8/p7/4K3 w - - 0 1", 60 - 5 - 5 + 5 + 7 - 42, 0x1 | 0x4, {A6}, {A2}, 0},
        // Five passers: all five score, only four are listed. g5/h6 are
        // connected (18 + 32); g5 is backward-free but weak (6).
        {"4k3/8/7P/6P1/4P3/2P5/P7/4K3 w - - 0 1",
         195 - 20 - 32 - 24,
         0x1 | 0x2 | 0x10 | 0x40,
         {A2, C3, E4, G5},
         {},
         50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        PawnEntry e = entryOf(c.fen);
        EXPECT_EQ(e.structureScore, c.structure);
        EXPECT_EQ(e.pawnFlags, c.flags);
        EXPECT_EQ(e.connectedPassers, c.connected);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(e.whitePassers[i], c.whitePassers[i]);
            EXPECT_EQ(e.blackPassers[i], c.blackPassers[i]);
        }
    }
}

TEST(PawnStructure, TablesMasksAndSpread) {
    // e4 and e2 alone: general table 13 + 5, king-wing tables 25 + 12 in
    // every case; both pawns weak on the e-file.
    PawnEntry e = entryOf("4k3/8/8/8/4P3/8/4P3/4K3 w - - 0 1");
    EXPECT_EQ(e.generalSum, 18);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(e.kingWingSums[k], 37);
    EXPECT_EQ(e.whiteFiles, 0x10);
    EXPECT_EQ(e.whiteWeakFiles, 0x10);
    EXPECT_EQ(e.blackFiles, 0);
    EXPECT_EQ(e.minFile, 5);
    EXPECT_EQ(e.maxFile, 5);

    // The initial structure cancels out except where the king-wing cases
    // differ by side (59 for White's rank 2 in table 1 against 74 in table 2);
    // flags 0x100 and 0x200 only.
    e = entryOf(InitialFen);
    EXPECT_EQ(e.structureScore, 0);
    EXPECT_EQ(e.generalSum, 0);
    EXPECT_EQ(e.kingWingSums[0], 0);
    EXPECT_EQ(e.kingWingSums[1], 59 - 74);
    EXPECT_EQ(e.kingWingSums[2], 74 - 59);
    EXPECT_EQ(e.kingWingSums[3], 0);
    EXPECT_EQ(e.pawnFlags, 0x300);
    EXPECT_EQ(e.minFile, 1);
    EXPECT_EQ(e.maxFile, 8);

    // Black's king-wing cases 1 and 2 read White's tables 2 and 1: a lone
    // Black pawn on f7 reads f2, where tables 0 and 2 hold 15 and tables 1
    // and 3 hold 5; so case 1 gives -15 and case 2 gives -5.
    e = entryOf("4k3/5p2/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(e.kingWingSums[0], -15);
    EXPECT_EQ(e.kingWingSums[1], -15);
    EXPECT_EQ(e.kingWingSums[2], -5);
    EXPECT_EQ(e.kingWingSums[3], -5);

    // Backward: d3 with c4 beside-ahead is behind its neighbour; a Black pawn
    // on e5 attacks d4, the square in front: -10, weak file d.
    e = entryOf("4k3/8/8/4p3/2P5/3P4/8/4K3 w - - 0 1");
    EXPECT_EQ(e.whiteWeakFiles, 0x08);
}

TEST(PieceTerms, Rooks) {
    struct Case {
        const char* fen;
        int square;
        int value;
        int attack;
    };
    const Case cases[] = {
        // Both neighbours occupied on a file with an own pawn: mobility 0.
        {"4k3/8/8/8/8/8/3P4/2BRK3 w - - 0 1", D1, -16, 0},
        // Open e-file next to the king's d-file: 21, attack 12; one free
        // square to the right (g1 king stops), three to the left: mobility 4.
        {"3k4/8/8/8/8/8/8/4R1K1 w - - 0 1", E1, 21 + 4, 12},
        // With the queen on the same file the attack gains the half-open value 6.
        {"3k4/8/8/8/4Q3/8/8/4R1K1 w - - 0 1", E1, 21 + 4, 18},
        // Half-open: the Black e6 pawn is not weak (d7 stands behind it), so
        // 10 and the half-open attack for file distance 2.
        {"6k1/3p4/4p3/8/8/8/8/4R1K1 w - - 0 1", E1, 10 + 4, 2},
        // Shut in by its own king in the corner on a pawn file: -16 - 29.
        {"6k1/8/8/8/8/8/7P/6KR w - - 0 1", H1, -16 - 29, 0},
        // Black mirror: same value, subtracted by the driver.
        {"6kr/7p/8/8/8/8/8/6K1 w - - 0 1", H8, -16 - 29, 0},
        // On rank 7 defended by the b6 pawn: 15; open file 21; three free
        // squares to the right: 2; the king is four files away: no attack.
        {"4k3/R7/1P6/8/8/8/8/4K3 w - - 0 1", A7, 15 + 21 + 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        bool ok = false;
        Position p = fromFen(c.fen, &ok);
        ASSERT_TRUE(ok);
        PawnEntry e;
        evaluatePawns(p, e);
        const bool white = p.board[c.square] == WhiteRook;
        const int enemyKing = white ? p.blackSquares[KingSlot] : p.whiteSquares[KingSlot];
        int attack = 0;
        int value =
            white
                ? evaluateRook(p, c.square, enemyKing, e.whiteFiles, e.blackFiles, e.blackWeakFiles, attack)
                : evaluateRook(p, c.square, enemyKing, e.blackFiles, e.whiteFiles, e.whiteWeakFiles, attack);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(attack, c.attack);
    }
}

TEST(PieceTerms, KnightsAndBishops) {
    // Knight c3 hit by a pawn on b4 gets -22 although d2 defends it (outpost
    // c3 = 2); attack for manhattan 2 + 5 = 7 to e8: 6.
    Position p = fromFen("4k3/8/8/8/1p6/2N5/3P4/4K3 w - - 0 1");
    int attack = 0;
    EXPECT_EQ(evaluateKnight(p, C3, E8, attack), -22 + 2);
    EXPECT_EQ(attack, 6);
    // Black knight on h6 defended by g7: the mirrored outpost of h3 (2); a
    // White pawn three ranks ahead (h3) costs 8.
    p = fromFen("4k3/6p1/7n/8/8/7P/8/4K3 w - - 0 1");
    attack = 0;
    EXPECT_EQ(evaluateKnight(p, H6, E1, attack), 2 - 8);
    EXPECT_EQ(attack, 4); // manhattan 3 + 5 = 8

    // Bishop a7 with b8 occupied: no free square, mobility -12; the trap
    // itself is scored by trappedBishops.
    p = fromFen("1n2k3/B1p5/1p6/8/8/8/8/4K3 w - - 0 1");
    attack = 0;
    EXPECT_EQ(evaluateBishop(p, A7, E8, attack), -12);
    // Bishop c1 behind b2/d2 pawns: -6 twice and no free square: -12 - 12.
    p = fromFen(InitialFen);
    attack = 0;
    EXPECT_EQ(evaluateBishop(p, C1, E8, attack), -24);
    EXPECT_EQ(attack, 0);
    // A bishop shut in on d4 by Black pawns e5/f6 and c5/b6, own pawns behind
    // on c3/e3: -150 twice.
    p = fromFen("4k3/8/1p3p2/2p1p3/3B4/2P1P3/8/4K3 w - - 0 1");
    attack = 0;
    EXPECT_EQ(evaluateBishop(p, D4, E8, attack), -6 - 6 - 300 - 12);
}

TEST(PieceTerms, TrappedBishops) {
    struct Case {
        const char* fen;
        int change;
    };
    const Case cases[] = {
        {"4k3/B1p5/1p6/8/8/8/8/4K3 w - - 0 1", -150}, {"4k3/B7/1p6/8/8/8/8/4K3 w - - 0 1", -75},
        {"1B2k3/2p5/1p6/8/8/8/8/4K3 w - - 0 1", -75}, {"4k3/5p1B/6p1/8/8/8/8/4K3 w - - 0 1", -150},
        {"4k1B1/5p2/6p1/8/8/8/8/4K3 w - - 0 1", -75}, {"4k3/8/8/8/8/1P6/b1P5/4K3 w - - 0 1", 150},
        {"4k3/8/8/8/8/6P1/7b/4K3 w - - 0 1", 75},     {"4k3/8/8/8/8/8/B7/4K3 w - - 0 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        bool ok = false;
        Position p = fromFen(c.fen, &ok);
        ASSERT_TRUE(ok);
        int score = 0;
        trappedBishops(p, score);
        EXPECT_EQ(score, c.change);
    }
}

TEST(PassedPawns, RooksBlockersAndKings) {
    struct Case {
        const char* fen;
        int middlegame;
        int endgame;
    };
    const Case cases[] = {
        // e6 passer, Black king a8 (distance measure 4: 20 / 2 in the endgame).
        // Own rook behind: +21 in both.
        {"k7/8/4P3/8/8/8/8/4RK2 w - - 0 1", 21, 10 + 21},
        // Own rook in front: nothing in the middlegame, -21 in the endgame.
        {"k7/4R3/4P3/8/8/8/8/5K2 w - - 0 1", 0, 10 - 21},
        // A knight on the square in front blockades: -20 (rank 6).
        {"k7/4n3/4P3/8/8/8/8/4RK2 w - - 0 1", 21 - 20, 10 - 20 + 21},
        // The own king beside-ahead supports it: 75 when the defender is far
        // (measure 4), half when it is close (measure 1).
        {"k7/8/4P3/3K4/8/8/8/8 w - - 0 1", 0, 75},
        {"5k2/8/4P3/3K4/8/8/8/8 w - - 0 1", 0, 75 / 2},
        // Black's d3 passer with its rook behind on d8: -21; White king a1 at
        // measure 3 (a1..d: 3 files, behind on rank 1 counts -2): -12 / 2.
        {"3r3k/8/8/8/8/3p4/8/K7 w - - 0 1", -21, -6 - 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fen);
        bool ok = false;
        Position p = fromFen(c.fen, &ok);
        ASSERT_TRUE(ok);
        PawnEntry e;
        evaluatePawns(p, e);
        int score = 0;
        evaluatePassedPawnsMiddlegame(p, score, e);
        EXPECT_EQ(score, c.middlegame);
        score = 0;
        evaluatePassedPawnsEndgame(p, score, p.whiteSquares[KingSlot], p.blackSquares[KingSlot], e);
        EXPECT_EQ(score, c.endgame);
    }
}
