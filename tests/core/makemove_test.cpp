#include <random>

#include "core_helpers.h"
#include "engine/search/ttable.h"

namespace {

// Random games: after every make the incrementally kept fields equal those
// recomputed from scratch, the keys kept by updateKeysForMove equal the keys
// computed from scratch, and unmake restores the record byte for byte (from a
// saved tail and from a saved whole position alike).
TEST(MakeMove, RandomGamesKeepFieldsAndUnmakeRestoresBytes) {
    const char* starts[] = {
        InitialFen,
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    };
    std::mt19937 random(20261209);
    int moves = 0;
    for (int game = 0; game < 160; ++game) {
        Position p = positionFrom(starts[game % 4]);
        p.hashKey = computeHashKey(p);
        p.hashLock = computeHashLock(p);
        bool promoted = false;
        for (int ply = 0; ply < 160; ++ply) {
            std::vector<int32_t> legal = legalMoves(p);
            if (legal.empty()) break;
            int32_t move = legal[random() % legal.size()];
            int from = moveOrigin(move);
            if (from < CastleWhiteKingSide && pieceType(p.board[from]) == Pawn &&
                (rowOf(moveDestination(move)) == 0 || rowOf(moveDestination(move)) == 7))
                promoted = true;
            int promotion = Bishop + static_cast<int>(random() % 4);

            Position saved = p;
            PositionTail tail;
            saveTail(p, tail);
            uint32_t a, b;
            makeMove(p, move, a, b, promotion);
            updateKeysForMove(p, a, b);
            ++moves;

            const char* why = "";
            ASSERT_TRUE(positionIsValid(p, !promoted, &why)) << why << " after move " << move;
            ASSERT_EQ(p.hashKey, computeHashKey(p));
            ASSERT_EQ(p.hashLock, computeHashLock(p));
            ASSERT_EQ(p.sideToMove, saved.sideToMove ^ 3);
            ASSERT_EQ(p.ply, saved.ply + 1);

            Position made = p;
            unmakeMove(p, tail, a, b);
            ASSERT_TRUE(samePosition(p, saved)) << "unmake from the tail, move " << move;
            p = made;
            unmakeMove(p, saved, a, b);
            ASSERT_TRUE(samePosition(p, saved)) << "unmake from the whole position, move " << move;
            p = made;
        }
    }
    EXPECT_GT(moves, 10000);
}

struct ClassRow {
    const char* fen;
    int from, to;
    int expectedClass;
};

TEST(MakeMove, MoveClasses) {
    const ClassRow rows[] = {
        {InitialFen, E2, E4, ClassQuiet},
        {"3rk3/8/8/8/8/8/8/3RK3 w - -", D1, D8, D8}, // rook takes rook: nearly equal
        {"3rk3/8/8/8/8/8/8/3QK3 w - -", D1, D8, ClassUnequalCapture},
        {"4k3/8/8/8/8/2n5/1P6/4K3 w - -", B2, C3, ClassLastPiece}, // the last knight
        {"q3k3/8/8/8/8/8/7n/6K1 w - -", G1, H2, ClassKingTakesOnH2},
        {"4k3/8/8/8/8/8/1p6/3NK3 w - -", D1, B2, ClassPawnCapture},
        {"6k1/8/7p/8/8/8/8/4K2Q w - -", H1, H6, ClassQueenTakesH6},
        {"6k1/6p1/7p/8/8/8/8/4K2Q w - -", H1, H6, ClassPawnCapture}, // g7 pawn guards: no special class
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", E5, D6, ClassEnPassant},
        {"4k3/8/3P4/8/8/8/8/4K3 w - -", D6, D7, ClassSeventhRank},
        {"4k3/8/8/3P4/8/8/8/4K3 w - -", D5, D6, ClassSixthRank},
        {"4k3/2p5/8/3P4/8/8/8/4K3 w - -", D5, D6, ClassQuiet}, // enemy pawn diagonally in front
        {"4k3/8/8/3P4/8/8/rr6/4K3 w - -", D5, D6, ClassQuiet}, // two enemy pieces left
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", CastleWhiteKingSide, G1, ClassCastling},
    };
    for (const ClassRow& row : rows) {
        Position p = positionFrom(row.fen);
        int32_t move = findMove(legalMoves(p), row.from, row.to);
        ASSERT_GE(move, 0) << row.fen;
        uint32_t a, b;
        EXPECT_EQ(makeMove(p, move, a, b, Queen), row.expectedClass) << row.fen;
    }
}

TEST(MakeMove, ChangedSquareRecordAndCounters) {
    // e2-e4: no enemy pawn beside e4, so no en-passant square.
    Position p = positionFrom(InitialFen);
    uint32_t a, b;
    makeMove(p, findMove(legalMoves(p), E2, E4), a, b, Queen);
    EXPECT_EQ(a, uint32_t(E4 | E2 << 8));
    EXPECT_EQ(b, uint32_t(WhitePawn << 8));
    EXPECT_EQ(p.epSquare, NoSquare);
    EXPECT_EQ(p.lastIrreversiblePly, 3);
    EXPECT_EQ(p.ply, 2);

    // 1. e4 d5 2. e5 f5 exf6: en passant records the captured pawn's square third.
    p = positionFrom(InitialFen);
    const int line[][2] = {{E2, E4}, {D7, D5}, {E4, E5}, {F7, F5}};
    for (auto& step : line) makeMove(p, findMove(legalMoves(p), step[0], step[1]), a, b, Queen);
    EXPECT_EQ(p.epSquare, F6);
    int blackMaterial = p.blackMaterial;
    EXPECT_EQ(makeMove(p, findMove(legalMoves(p), E5, F6), a, b, Queen), ClassEnPassant);
    EXPECT_EQ(a, uint32_t(F6 | E5 << 8 | F5 << 16));
    EXPECT_EQ(b, uint32_t(WhitePawn << 8 | BlackPawn << 16));
    EXPECT_EQ(p.blackPawnCount, 7);
    EXPECT_EQ(p.blackMaterial, blackMaterial - 100);

    // King-side castling.
    p = positionFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    EXPECT_EQ(makeMove(p, WhiteKingSideMove, a, b, Queen), ClassCastling);
    EXPECT_EQ(a, 0x61636260u);
    EXPECT_EQ(p.whiteCastling, NoCastling);
    EXPECT_EQ(p.whiteSquares[KingSlot], G1);
    EXPECT_EQ(p.whiteSquares[KingRookSlot], F1);

    // Castling rights: a rook leaving h1, a rook captured on a8.
    p = positionFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    makeMove(p, findMove(legalMoves(p), H1, H5), a, b, Queen);
    EXPECT_EQ(p.whiteCastling, KingSideLost);
    p = positionFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    makeMove(p, findMove(legalMoves(p), A1, A8), a, b, Queen);
    EXPECT_EQ(p.blackCastling, QueenSideLost);
    EXPECT_EQ(p.whiteCastling, QueenSideLost);
}

TEST(MakeMove, Promotions) {
    uint32_t a, b;
    Position p = positionFrom("8/4P3/8/8/8/8/8/k3K3 w - -");
    int slot = moveSlot(findMove(legalMoves(p), E7, E8));
    Position before = p;
    makeMove(p, findMove(legalMoves(p), E7, E8), a, b, Knight);
    EXPECT_EQ(p.board[E8], WhiteKnight);
    EXPECT_EQ(p.whiteMinorCount, before.whiteMinorCount + 1);
    EXPECT_EQ(p.whitePieceCount, before.whitePieceCount + 1);
    EXPECT_EQ(p.whitePawnCount, before.whitePawnCount - 1);
    EXPECT_EQ(p.whiteMaterial, before.whiteMaterial + 215);
    EXPECT_EQ(p.whiteSquares[slot], E8) << "a knight keeps the pawn's slot";

    p = before;
    makeMove(p, findMove(legalMoves(p), E7, E8), a, b, Queen);
    EXPECT_EQ(p.whiteSquares[slot], EmptySlot);
    EXPECT_EQ(p.whiteSquares[QueenSlot], E8);

    // A king or pawn is never a promotion piece: such a request gives a queen.
    for (int odd : {King, Pawn, 0}) {
        p = before;
        makeMove(p, findMove(legalMoves(p), E7, E8), a, b, odd);
        EXPECT_EQ(p.board[E8], WhiteQueen);
    }
}

TEST(MakeMove, KeysAndLegalMoveCount) {
    Position white = positionFrom("4k3/8/8/8/8/8/8/4K3 w - -");
    Position black = positionFrom("4k3/8/8/8/8/8/8/4K3 b - -");
    EXPECT_EQ(computeHashKey(white) ^ computeHashKey(black), Z1[SideToMoveKeyIndex]);
    EXPECT_EQ(computeHashLock(white) ^ computeHashLock(black), Z2[SideToMoveKeyIndex]);

    EXPECT_EQ(countLegalMoves(positionFrom(InitialFen), White), HasLegalMove);
    EXPECT_EQ(countLegalMoves(positionFrom("k7/1Q6/1K6/8/8/8/8/8 b - -"), Black), Checkmated);
    EXPECT_EQ(countLegalMoves(positionFrom("k7/8/1QK5/8/8/8/8/8 b - -"), Black), Stalemated);
}

TEST(MakeMove, KingCaptureIsLoggedAndMade) {
    initSession();
    char path[4200];
    programFilePath(path, sizeof path, "errorlog.txt");
    std::remove(path);
    // An impossible position: White to move can take Black's king.
    Position p = positionFrom("R3k3/8/8/8/8/8/8/4K3 b - -");
    p.sideToMove = White;
    uint32_t a, b;
    makeMove(p, makeMoveWord(A8, E8, QueenRookSlot, 0), a, b, Queen);
    EXPECT_EQ(p.board[E8], WhiteRook);
    std::FILE* file = std::fopen(path, "r");
    ASSERT_NE(file, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_EQ(std::strncmp(line, "GameBoard: rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - \n", 200),
              0)
        << line;
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_EQ(std::strncmp(line, "Move (", 6), 0) << line;
    EXPECT_NE(std::strstr(line, "Invalid Position in search: R3k3/8/8/8/8/8/8/4K3 b - - \n"), nullptr)
        << line;
    std::fclose(file);
    std::remove(path);
}

} // namespace
