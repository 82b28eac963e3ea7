#include "core_helpers.h"

namespace {

struct PerftRow {
    const char* fen;
    int depth;
    uint64_t nodes;
};

TEST(Perft, CountsOfTheReferencePositions) {
    const PerftRow rows[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 1, 20},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 2, 400},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 3, 8902},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 4, 197281},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5, 4865609},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 1, 48},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 2, 2039},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 97862},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 1, 14},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 2, 191},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 3, 2812},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 4, 43238},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
    };
    for (const PerftRow& row : rows) {
        Position p = positionFrom(row.fen);
        Position before = p;
        EXPECT_EQ(perft(p, row.depth), row.nodes) << row.fen << " depth " << row.depth;
        EXPECT_TRUE(samePosition(p, before)) << "perft must leave the position as it found it";
    }
}

// Full counts (every promotion piece) match the published tables of these
// promotion-heavy positions, which checks promotions, checks by promoted
// pieces and the evasions around them.
TEST(Perft, AllPromotionCountsOfPromotionPositions) {
    const PerftRow rows[] = {
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 3, 9467},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 4, 422333},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 3, 62379},
        {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -", 4, 182838},
    };
    for (const PerftRow& row : rows) {
        Position p = positionFrom(row.fen);
        EXPECT_EQ(perftAllPromotions(p, row.depth), row.nodes) << row.fen << " depth " << row.depth;
    }
}

// The fast perft (pin test, legal evasions, counting without making) must
// agree with the game's own legality filter (make the move, test for check)
// in the positions where the shortcuts are most likely to go wrong.
TEST(Perft, AgreesWithTheMakeAndTestFilter) {
    const PerftRow rows[] = {
        // En passant that would expose the king along the rank (both pawns leave it).
        {"8/8/8/K2Pp2r/8/8/8/4k3 w - e6", 3, 0},
        {"8/8/8/8/k2Pp2Q/8/8/3K4 b - d3", 3, 0},
        // En passant by a pinned pawn and en passant answering a check.
        {"4r3/8/8/3pP3/8/8/8/4K2k w - d6", 3, 0},
        {"8/8/8/3k4/3pP3/8/8/4K3 b - e3", 3, 0},
        // Castling out of, through and into check.
        {"r3k2r/8/8/8/4r3/8/8/R3K2R w KQkq -", 3, 0},
        {"r3k2r/8/8/8/5r2/8/8/R3K2R w KQkq -", 3, 0},
        {"r3k2r/8/8/8/6r1/8/8/R3K2R w KQkq -", 3, 0},
        {"r3k2r/8/8/8/1r6/8/8/R3K2R w KQkq -", 3, 0},
        // Promotions with captures and checks, double checks.
        {"3r2k1/4P3/8/8/8/8/4p3/R3K3 w Q -", 3, 0},
        {"4k3/8/8/8/1b6/8/8/r3K3 w - -", 3, 0},
        {"4k3/8/8/8/1b6/8/3N4/r3K3 w - -", 3, 0},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 0},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 3, 0},
    };
    for (const PerftRow& row : rows) {
        Position p = positionFrom(row.fen);
        EXPECT_EQ(perft(p, row.depth), referencePerft(p, row.depth)) << row.fen;
    }
}

} // namespace

namespace {

// Positions with more moves than a list section holds: nothing is overrun and
// no legal move is lost while the two sections together have room.
TEST(Perft, CrowdedPositionsStayInsideTheList) {
    const PerftRow rows[] = {
        {"R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - -", 1, 218},
        {"R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - -", 2, 0},
    };
    for (const PerftRow& row : rows) {
        Position p = positionFrom(row.fen);
        MoveList list;
        generateMovesWithCheck(p, list, p.sideToMove);
        EXPECT_GT(list.quietCount() + list.tacticalCount(), MaxQuietMoves) << "the quiet section overflows";
        EXPECT_LE(list.tacticalCount(), MaxTacticalMoves);
        EXPECT_LE(list.quietCount(), MaxQuietMoves);
        if (row.nodes)
            EXPECT_EQ(perft(p, 1), row.nodes) << row.fen;
        else
            EXPECT_EQ(perft(p, 2), referencePerft(p, 2)) << row.fen;
    }
}

} // namespace
