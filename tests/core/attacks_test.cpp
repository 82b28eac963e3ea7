#include <algorithm>
#include <random>

#include "core_helpers.h"

namespace {

TEST(Attacks, AttackAndCheckTests) {
    Position p = positionFrom(InitialFen);
    EXPECT_TRUE(attackedByWhite(p, E3));
    EXPECT_TRUE(attackedByWhite(p, F3));
    EXPECT_FALSE(attackedByWhite(p, E4));
    EXPECT_FALSE(attackedByBlack(p, E4));
    EXPECT_TRUE(attackedByBlack(p, F6));

    // Kings side by side: both are "in check".
    p = positionFrom("8/8/8/4k3/8/8/8/4K3 w - -");
    p.board[E5] = Empty;
    p.board[E4] = BlackKing;
    p.blackSquares[KingSlot] = E4;
    p.board[E1] = Empty;
    p.board[E5] = WhiteKing;
    p.whiteSquares[KingSlot] = E5;
    EXPECT_TRUE(inCheck(p, White));
    EXPECT_TRUE(inCheck(p, Black));

    // squareAttacked counts the enemy king, attackedBy does not.
    p = positionFrom("8/8/8/4k3/8/8/8/4K3 w - -");
    EXPECT_TRUE(squareAttacked(p, E4, White));
    EXPECT_FALSE(attackedByBlack(p, E4));
}

TEST(Attacks, PinTests) {
    // Knight e5 pinned by the bishop h8 against the king a1.
    Position p = positionFrom("7b/8/8/4N3/8/8/8/K3k3 w - -");
    std::vector<int32_t> moves;
    MoveList list;
    list[ListCheckWord] = 0;
    generateMoves(p, list, White);
    for (int32_t m : listedMoves(list)) {
        Position before = p;
        if (moveOrigin(m) == E5) {
            EXPECT_TRUE(exposesKing(p, White, m));
        }
        if (moveOrigin(m) == A1) {
            EXPECT_FALSE(exposesKing(p, White, m));
        }
        EXPECT_TRUE(samePosition(p, before));
    }
    // En passant removes both pawns from the fifth rank: the rook then sees the king.
    p = positionFrom("4k3/8/8/K2pP2r/8/8/8/8 w - d6");
    int32_t ep = findMove(listedMoves([&] {
                              MoveList l;
                              generateMovesWithCheck(p, l, White);
                              return l;
                          }()),
                          E5, D6);
    ASSERT_GE(ep, 0);
    EXPECT_TRUE(exposesKing(p, White, ep));
}

TEST(Attacks, GivesCheck) {
    struct Row {
        const char* fen;
        int from, to;
        int expected;
    };
    const Row rows[] = {
        {"5k2/8/8/8/8/8/8/4K2R w K -", CastleWhiteKingSide, G1, F1}, // the rook on f1 checks
        {"3k4/8/8/8/8/8/8/R3K3 w Q -", CastleWhiteQueenSide, C1, D1},
        {"4k3/8/8/8/8/8/8/4K2R w K -", CastleWhiteKingSide, G1, 0},
        // Rook d5-d7 uncovers the bishop b3 on g8 and checks along the rank: double.
        {"6k1/8/8/3R4/8/1B6/8/4K3 w - -", D5, D8, DoubleCheck},
        {"6k1/8/8/3R4/8/1B6/8/4K3 w - -", D5, H5, B3}, // discovered only: the bishop's square
        {"6k1/8/8/8/8/8/8/R3K3 w - -", A1, A8, A8},    // direct only
        {"6k1/8/8/8/8/8/6N1/4K1R1 w - -", G2, F4, G1}, // the knight uncovers the rook
        {"6k1/8/8/8/8/8/6N1/4K1R1 w - -", G2, E3, G1},
        // Pawn checks, and a promotion that checks as a queen.
        {"8/8/3k4/8/4P3/8/8/4K3 w - -", E4, E5, E5},
        {"3k4/6P1/8/8/8/8/8/4K3 w - -", G7, G8, G8},
        // En passant uncovering a bishop through the captured pawn's square.
        {"7k/8/8/4pP2/8/8/1B6/K7 w - e6", F5, E6, B2},
    };
    for (const Row& row : rows) {
        Position p = positionFrom(row.fen);
        int32_t move = findMove(legalMoves(p), row.from, row.to);
        ASSERT_GE(move, 0) << row.fen;
        Position before = p;
        EXPECT_EQ(givesCheck(p, White, move), row.expected) << row.fen;
        EXPECT_TRUE(samePosition(p, before)) << row.fen;
    }
}

// Over random positions: givesCheck agrees with making the move (except the
// queen's own discovered checks, which it does not look for), and exposesKing
// agrees with making the move when the mover is not in check.
TEST(Attacks, AgreeWithMakingTheMoveInRandomGames) {
    std::mt19937 random(7);
    int checked = 0;
    for (int game = 0; game < 60; ++game) {
        Position p = positionFrom(
            game % 2 ? InitialFen : "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
        for (int ply = 0; ply < 100; ++ply) {
            int side = p.sideToMove;
            MoveList list;
            generateMovesWithCheck(p, list, side);
            bool checked0 = list[ListCheckWord] != 0;
            for (int32_t m : listedMoves(list)) {
                Position child = p;
                uint32_t a, b;
                makeMove(child, m, a, b, Queen);
                bool illegal = inCheck(child, side);
                if (!illegal) {
                    bool check = inCheck(child, side ^ 3);
                    int word = givesCheck(p, side, m);
                    bool queenMove = !isCastling(m) && pieceType(p.board[moveOrigin(m)]) == Queen;
                    if (word) {
                        EXPECT_TRUE(check) << "move " << m;
                    }
                    if (check && !queenMove && !isCastling(m)) {
                        EXPECT_NE(word, 0) << "move " << m;
                    }
                    ++checked;
                }
                if (!checked0 && !isCastling(m) && moveSlot(m) != KingSlot) {
                    EXPECT_EQ(exposesKing(p, side, m) != 0, illegal) << "move " << m;
                }
            }
            std::vector<int32_t> legal = legalMoves(p);
            if (legal.empty()) break;
            uint32_t a, b;
            makeMove(p, legal[random() % legal.size()], a, b, Queen);
        }
    }
    EXPECT_GT(checked, 50000);
}

TEST(MoveGen, InitialOrderAndWords) {
    Position p = positionFrom(InitialFen);
    MoveList list;
    generateMovesWithCheck(p, list, White);
    EXPECT_EQ(list.tacticalCount(), 0);
    ASSERT_EQ(list.quietCount(), 20);
    EXPECT_EQ(list[ListEndWord], 0);
    for (int file = 0; file < 8; ++file) {
        EXPECT_EQ(list.quiet(2 * file), makeMoveWord(A2 + file, A3 + file, file, 3));
        EXPECT_EQ(list.quiet(2 * file + 1), makeMoveWord(A2 + file, A4 + file, file, 3));
    }
    EXPECT_EQ(list.quiet(16), makeMoveWord(B1, A3, KnightSlot1, 0));
    EXPECT_EQ(list.quiet(17), makeMoveWord(B1, C3, KnightSlot1, 0));
    EXPECT_EQ(list.quiet(18), makeMoveWord(G1, F3, KnightSlot2, 0));
    EXPECT_EQ(list.quiet(19), makeMoveWord(G1, H3, KnightSlot2, 0));
}

TEST(MoveGen, SpecialMoves) {
    MoveList list;
    // Push to the last rank and a capture onto it are both tactical, queen bits.
    Position p = positionFrom("3rn1k1/4P3/8/8/8/8/8/4K3 w - -");
    generateMovesWithCheck(p, list, White);
    std::vector<int32_t> tactical;
    for (int k = 0; k < list.tacticalCount(); ++k) tactical.push_back(list.tactical(k));
    EXPECT_EQ(findMove(tactical, E7, E8), -1) << "e8 is occupied";
    int32_t capture = findMove(tactical, E7, D8);
    ASSERT_GE(capture, 0);
    EXPECT_EQ(movePromotionBits(capture), 3);
    p = positionFrom("6k1/4P3/8/8/8/8/8/4K3 w - -");
    generateMovesWithCheck(p, list, White);
    ASSERT_EQ(list.tacticalCount(), 1);
    EXPECT_EQ(moveDestination(list.tactical(0)), E8);

    // En passant beside the pawn, and as the evasion of a pawn check (bits 0).
    p = positionFrom("8/8/8/3pP3/8/8/8/k3K3 w - d6");
    generateMovesWithCheck(p, list, White);
    EXPECT_GE(findMove(listedMoves(list), E5, D6), 0);
    p = positionFrom("8/8/8/3pP3/4K3/8/8/k7 w - d6"); // d5 checks the king on e4
    list[ListCheckWord] = computeCheckWord(p, list);
    EXPECT_EQ(list[ListCheckWord], D5);
    generateEvasions(p, list, White);
    int32_t ep = findMove(listedMoves(list), E5, D6);
    ASSERT_GE(ep, 0);
    EXPECT_EQ(movePromotionBits(ep), 0);

    // Castling is generated although g1 is attacked; it fails only once made.
    p = positionFrom("4k1r1/8/8/8/8/8/8/4K2R w K -");
    generateMovesWithCheck(p, list, White);
    EXPECT_GE(findMove(listedMoves(list), CastleWhiteKingSide, G1), 0);
    EXPECT_EQ(findMove(legalMoves(p), CastleWhiteKingSide, G1), -1);
    // Not through an attacked f1, not out of check.
    p = positionFrom("4kr2/8/8/8/8/8/8/4K2R w K -");
    generateMovesWithCheck(p, list, White);
    EXPECT_EQ(findMove(listedMoves(list), CastleWhiteKingSide, G1), -1);
    p = positionFrom("4r1k1/8/8/8/8/8/8/4K2R w K -");
    generateMovesWithCheck(p, list, White);
    EXPECT_EQ(findMove(listedMoves(list), CastleWhiteKingSide, G1), -1);

    // Double check: king moves only.
    p = positionFrom("4k3/8/8/8/1b6/8/8/r3K3 w - -");
    EXPECT_EQ(computeCheckWord(p, list), DoubleCheck);
    list[ListCheckWord] = DoubleCheck;
    generateEvasions(p, list, White);
    for (int32_t m : listedMoves(list)) EXPECT_EQ(moveSlot(m), KingSlot);
    EXPECT_GT(list.tacticalCount() + list.quietCount(), 0);
}

// In every position of random games that is in check, the evasions are
// exactly the legal moves.
TEST(MoveGen, EvasionsAreTheLegalMoves) {
    std::mt19937 random(11);
    int positions = 0;
    for (int game = 0; game < 300 && positions < 400; ++game) {
        Position p = positionFrom(InitialFen);
        for (int ply = 0; ply < 120; ++ply) {
            std::vector<int32_t> legal = legalMoves(p);
            if (inCheck(p, p.sideToMove)) {
                MoveList list;
                list[ListCheckWord] = computeCheckWord(p, list);
                generateEvasions(p, list, p.sideToMove);
                std::vector<int32_t> evasions = listedMoves(list);
                std::vector<int> a, b;
                for (int32_t m : evasions) a.push_back(m & 0x3FFF);
                for (int32_t m : legal) b.push_back(m & 0x3FFF);
                std::sort(a.begin(), a.end());
                std::sort(b.begin(), b.end());
                EXPECT_EQ(a, b);
                ++positions;
            }
            if (legal.empty()) break;
            uint32_t x, y;
            makeMove(p, legal[random() % legal.size()], x, y, Queen);
        }
    }
    EXPECT_GT(positions, 100);
}

TEST(MoveGen, TacticalAndRookQueenGenerators) {
    // The tactical generator gives the tactical section of the full one;
    // knights on h1 and a8 jump to the edge of the mailbox.
    for (const char* fen : {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                            "n3k3/1P6/8/3pP3/8/8/6p1/4K2N w - d6", "n3k3/1P6/8/3pP3/8/8/6p1/4K2N b - -"}) {
        Position p = positionFrom(fen);
        MoveList all, tactical;
        generateMovesWithCheck(p, all, p.sideToMove);
        generateTactical(p, tactical, p.sideToMove);
        std::vector<int32_t> expected, got;
        for (int k = 0; k < all.tacticalCount(); ++k) expected.push_back(all.tactical(k));
        for (int k = 0; k < tactical.tacticalCount(); ++k) got.push_back(tactical.tactical(k));
        std::sort(expected.begin(), expected.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected) << fen;
    }

    Position p = positionFrom("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
    MoveList all, rookQueen;
    generateMovesWithCheck(p, all, White);
    generateRookQueenMoves(p, rookQueen, White);
    for (int32_t m : listedMoves(rookQueen)) EXPECT_GE(moveSlot(m), QueenRookSlot);
    int expectedCount = 0;
    for (int32_t m : listedMoves(all))
        if (!isCastling(m) && moveSlot(m) >= QueenRookSlot && moveSlot(m) <= QueenSlot) ++expectedCount;
    EXPECT_EQ(rookQueen.tacticalCount() + rookQueen.quietCount(), expectedCount);

    // Moves to a square: a pinned piece is dropped in modes 0 and 1, kept in mode 2.
    p = positionFrom("4k3/8/8/8/1b6/8/3N4/4K3 b - -"); // the d2 knight is pinned
    MoveList to;
    to[ListQuietCount] = to[ListTacticalCount] = 0;
    generateMovesTo(p, to, C4, MovesOntoEmpty, White);
    EXPECT_EQ(to.quietCount(), 0);
    to[ListQuietCount] = to[ListTacticalCount] = 0;
    generateMovesTo(p, to, B3, AttackersOfTarget, White);
    EXPECT_EQ(to.tacticalCount(), 1);
}

} // namespace

namespace {

// The evasion generator given the plain in-check flag of generateMovesWithCheck
// (1, not a square) finds the checker itself.
TEST(MoveGen, EvasionsWithoutTheCheckersSquare) {
    Position p = positionFrom("4k3/8/8/8/8/8/3q4/R3K3 w - -");
    MoveList withSquare, withFlag;
    withSquare[ListCheckWord] = computeCheckWord(p, withSquare);
    ASSERT_EQ(withSquare[ListCheckWord], D2);
    generateEvasions(p, withSquare, White);
    withFlag[ListCheckWord] = 1;
    generateEvasions(p, withFlag, White);
    EXPECT_EQ(listedMoves(withFlag), listedMoves(withSquare));
    EXPECT_EQ(listedMoves(withSquare).size(), legalMoves(p).size());
}

} // namespace
