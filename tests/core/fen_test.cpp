#include "core_helpers.h"

namespace {

TEST(Fen, InitialPositionLayoutAndCounters) {
    Position p = positionFrom(InitialFen);
    for (int slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(p.whiteSquares[slot], A2 + slot);
        EXPECT_EQ(p.blackSquares[slot], A7 + slot);
    }
    const int whiteSlots[8] = {B1, G1, C1, F1, A1, H1, D1, E1};
    const int blackSlots[8] = {B8, G8, C8, F8, A8, H8, D8, E8};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(p.whiteSquares[8 + k], whiteSlots[k]);
        EXPECT_EQ(p.blackSquares[8 + k], blackSlots[k]);
    }
    EXPECT_EQ(p.whiteMaterial, 4074);
    EXPECT_EQ(p.blackMaterial, 4074);
    EXPECT_EQ(p.materialBalance, 0);
    EXPECT_EQ(p.pstSum, 0); // the tables are mirrored, so the sides cancel
    EXPECT_EQ(p.whitePieceCount, 7);
    EXPECT_EQ(p.whitePawnCount, 8);
    EXPECT_EQ(p.whiteMinorCount, 4);
    EXPECT_EQ(p.blackPieceCount, 7);
    EXPECT_EQ(p.blackPawnCount, 8);
    EXPECT_EQ(p.blackMinorCount, 4);
    EXPECT_EQ(p.ply, 1);
    EXPECT_EQ(p.lastIrreversiblePly, 1);
    EXPECT_EQ(p.whiteCastling, 0);
    EXPECT_EQ(p.blackCastling, 0);
    EXPECT_EQ(p.epSquare, NoSquare);
    EXPECT_TRUE(positionIsValid(p, true));
    char text[FenBufferSize];
    EXPECT_EQ(writeFen(text, p), static_cast<int>(std::strlen(InitialFen)));
    EXPECT_STREQ(text, InitialFen);
}

struct FenRow {
    const char* text;
    int accepted;
    int side, ply, whiteCastling, blackCastling, epSquare;
    const char* written; // writeFen of the result
};

TEST(Fen, ReadingTable) {
    const FenRow rows[] = {
        {"8/8/8/8/8/8/8/K6k b - -", 1, Black, 2, 3, 3, NoSquare, "8/8/8/8/8/8/8/K6k b - -"},
        {"4k3/8/8/8/8/8/8/r3K3 w - -", 1, White, 1, 3, 3, NoSquare, "4k3/8/8/8/8/8/8/r3K3 w - -"},
        {"4k3/8/8/8/8/8/8/r3K3 b - -", 0, 0, 0, 0, 0, 0, nullptr}, // side not to move in check
        {"4k3/8/8/8/8/8/4K3/8 w - -", 1, White, 1, 3, 3, NoSquare, nullptr},
        {"8/8/8/8/8/8/4k3/4K3 w - -", 0, 0, 0, 0, 0, 0, nullptr}, // kings side by side
        {"8/8/8/8/8/8/4k3/4K3 b - -", 0, 0, 0, 0, 0, 0, nullptr},
        {"4k3/8/8/8/8/8/8/4K2R w KQ -", 1, White, 1, QueenSideLost, 3, NoSquare,
         "4k3/8/8/8/8/8/8/4K2R w K -"},
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1", 1, Black, 2, 0, 0, E3,
         "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -"},
        {"4k3/8/8/8/8/8/8/4K3 w Kq - 0 1", 1, White, 1, 3, 3, NoSquare, "4k3/8/8/8/8/8/8/4K3 w - -"},
        {"d 4k3/8/8/8/8/8/8/4K3 w - -", 1, White, 1, 3, 3, NoSquare, "4k3/8/8/8/8/8/8/4K3 w - -"},
        {"4k3/8/8/8/8/8/8/4K2 w - -", 0, 0, 0, 0, 0, 0, nullptr}, // 63 squares
        {"4k3/8/8/8/8/8/8/4K3", 0, 0, 0, 0, 0, 0, nullptr},       // no side to move
        {"4k3/8/8/8/8/8/8/8 w - -", 0, 0, 0, 0, 0, 0, nullptr},   // no White king
        {"8/8/8/8/8/8/8/4K3 w - -", 0, 0, 0, 0, 0, 0, nullptr},   // no Black king
        {"", 0, 0, 0, 0, 0, 0, nullptr},
        // A pawn on the last rank and a third king are dropped silently.
        {"P3k3/8/8/8/8/8/8/K3K3 w - -", 1, White, 1, 3, 3, NoSquare, "4k3/8/8/8/8/8/8/K7 w - -"},
        // Rows may be short ('/' completes them).
        {"4k/8/8/8/8/8/8/4K3 w - -", 1, White, 1, 3, 3, NoSquare, "4k3/8/8/8/8/8/8/4K3 w - -"},
    };
    for (const FenRow& row : rows) {
        Position p;
        clearPosition(p);
        p.board[E4] = WhiteQueen; // a marker: a rejected text must leave the target alone
        Position before = p;
        int result = readFen(p, row.text, std::strlen(row.text));
        EXPECT_EQ(result, row.accepted) << row.text;
        if (!row.accepted) {
            EXPECT_TRUE(samePosition(p, before)) << row.text;
            continue;
        }
        EXPECT_EQ(p.sideToMove, row.side) << row.text;
        EXPECT_EQ(p.ply, row.ply) << row.text;
        EXPECT_EQ(p.whiteCastling, row.whiteCastling) << row.text;
        EXPECT_EQ(p.blackCastling, row.blackCastling) << row.text;
        EXPECT_EQ(p.epSquare, row.epSquare) << row.text;
        EXPECT_TRUE(positionIsValid(p, true)) << row.text;
        if (row.written) {
            char text[FenBufferSize];
            writeFen(text, p);
            EXPECT_STREQ(text, row.written) << row.text;
        }
    }
}

TEST(Fen, LengthBoundsTheText) {
    // Only the first `length` characters count; the rest of the buffer is never read.
    const char text[] = "4k3/8/8/8/8/8/8/4K3 w - -XXXX";
    Position p;
    EXPECT_EQ(readFen(p, text, 25), 1);
    EXPECT_EQ(readFen(p, text, 20), 0); // cut before the side to move
}

TEST(Fen, CastlingRookEndsInItsSlot) {
    // A lone h1 rook is placed in slot 12; 'K' makes it the king-side rook.
    Position p = positionFrom("4k3/8/8/8/8/8/8/4K2R w KQ -");
    EXPECT_EQ(p.whiteSquares[KingRookSlot], H1);
    EXPECT_EQ(p.whiteSquares[QueenRookSlot], EmptySlot);
    EXPECT_EQ(p.whiteCastling, QueenSideLost);
    // A third rook in a pawn slot, the corner rook swapped into slot 13.
    p = positionFrom("4k3/8/8/8/8/8/8/RR2K2R w KQ -");
    EXPECT_EQ(p.whiteSquares[QueenRookSlot], A1);
    EXPECT_EQ(p.whiteSquares[KingRookSlot], H1);
    const char* why = "";
    EXPECT_TRUE(positionIsValid(p, true, &why)) << why;
}

TEST(Position, PlacingPieces) {
    // A third knight goes to the first free pawn slot and counts as a piece and a minor.
    Position p = positionFrom("4k3/8/8/8/8/8/8/NNN1K3 w - -");
    EXPECT_EQ(p.whiteSquares[KnightSlot1], A1);
    EXPECT_EQ(p.whiteSquares[KnightSlot2], B1);
    EXPECT_EQ(p.whiteSquares[0], C1);
    EXPECT_EQ(p.whitePieceCount, 3);
    EXPECT_EQ(p.whiteMinorCount, 3);

    clearPosition(p);
    EXPECT_EQ(placePiece(p, 4, 7, WhiteKing), 1);
    EXPECT_EQ(placePiece(p, 4, 7, WhiteQueen), 0) << "occupied square";
    EXPECT_EQ(placePiece(p, 0, 0, WhitePawn), 0) << "pawn on rank 8";
    EXPECT_EQ(placePiece(p, 0, 7, BlackPawn), 0) << "pawn on rank 1";
    EXPECT_EQ(placePiece(p, 3, 3, WhiteKing), 0) << "second king";
    EXPECT_EQ(placePiece(p, 8, 0, WhiteQueen), 0) << "off the board";
    EXPECT_EQ(placePiece(p, 0, 0, Border), 0);
    // Pawn slots are sorted by file with free slots first.
    placePiece(p, 6, 6, WhitePawn);
    placePiece(p, 1, 6, WhitePawn);
    EXPECT_EQ(p.whiteSquares[6], B2);
    EXPECT_EQ(p.whiteSquares[7], G2);
    EXPECT_EQ(p.whiteSquares[0], EmptySlot);
    EXPECT_EQ(p.whitePawnCount, 2);
    EXPECT_EQ(p.whiteMaterial, 200);

    EXPECT_EQ(columnOf(76), 4);
    EXPECT_EQ(rowOf(76), 5);
    EXPECT_EQ(fileOf[21], 0);
    EXPECT_EQ(rankOf[21], 0);
    EXPECT_EQ(fileOf[EmptySlot], 0);
}

TEST(Position, TablesFromTheFixedGenerator) {
    // The same keys on every start: rebuilding changes nothing.
    uint32_t z1 = Z1[16 * E4 + WhiteKnight], z2 = Z2[2047], pawn = whitePawnKeys[A2];
    initTables();
    EXPECT_EQ(Z1[16 * E4 + WhiteKnight], z1);
    EXPECT_EQ(Z2[2047], z2);
    EXPECT_EQ(whitePawnKeys[A2], pawn);
    // The first values of the generator seeded with 1000.
    uint32_t state = 1000;
    auto next = [&] {
        state = state * 1103515245u + 12345u;
        return static_cast<uint32_t>(static_cast<int32_t>(state) / 65536) & 0xFFFFu;
    };
    uint32_t r1 = next(), r2 = next(), r3 = next();
    EXPECT_EQ(blackPawnKeys[0], r1 ^ ((r2 ^ (r3 << 10)) << 15));
    // Piece-square mirror: a Black knight on b8 is the negated White knight on b1.
    EXPECT_EQ(pieceSquare[BlackKnight][B8], -pieceSquare[WhiteKnight][B1]);
    EXPECT_EQ(pieceSquare[WhiteKnight][B1], -14);
    EXPECT_EQ(pieceSquare[WhiteRook][A7], 28);
    EXPECT_EQ(pieceSquare[WhiteKing][G1], 10);
    EXPECT_EQ(pieceSquare[WhitePawn][E4], 0);
    // Directions and differences.
    EXPECT_EQ(direction[H8][A1], -9);
    EXPECT_EQ(direction[A1][H8], 9);
    EXPECT_EQ(direction[H1][A8], 11);
    EXPECT_EQ(direction[E8][E1], -10);
    EXPECT_EQ(direction[H1][A1], 1);
    EXPECT_EQ(direction[F3][E1], 0);
    EXPECT_TRUE(isKnightJump(F3 - E1));
    EXPECT_TRUE(isKingStep(D2 - E1));
    EXPECT_FALSE(isKingStep(F3 - E1));
    EXPECT_TRUE(isContact(F3 - E1));
}

} // namespace
