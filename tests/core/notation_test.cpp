#include <string>

#include "core_helpers.h"
#include "engine/core/gamerecord.h"
#include "engine/core/notation.h"
#include "engine/search/searchdata.h"
#include "engine/session/notify.h"

namespace {

class Notation : public CoreTest {};

// Plays the move from `from` to `to` with recording and returns the ply's two texts.
std::pair<std::string, std::string> recorded(const char* fen, int from, int to) {
    Position& p = engineSession.gamePosition;
    p = positionFrom(fen);
    engineSession.startPosition = p;
    clearRecord(&gameRecord);
    int ply = p.ply;
    int outFrom = -1, outTo = -1;
    EXPECT_EQ(playMove(p, columnOf(from), rowOf(from), columnOf(to), rowOf(to), p.sideToMove, 0, 1, nullptr,
                       &outFrom, &outTo),
              1)
        << fen;
    return {gameRecord.longTexts[ply - 1], gameRecord.shortTexts[ply - 1]};
}

TEST_F(Notation, RecordTexts) {
    struct Row {
        const char* fen;
        int from, to;
        const char* longText;
        const char* shortText;
    };
    const Row rows[] = {
        {InitialFen, E2, E4, "e2-e4  ", "e4"},
        {InitialFen, G1, F3, "Ng1-f3 ", "Nf3"},
        {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", B1, D2, "Nb1-d2 ", "Nbd2"},
        {"4k3/8/8/8/8/8/8/R4RK1 w - -", A1, D1, "Ra1-d1 ", "Rad1"},
        {"4k3/8/8/8/8/Q7/8/Q3K3 w - -", A1, A2, "Qa1-a2 ", "Qa2"}, // never an origin file for queens
        {"k7/4P3/8/8/8/8/8/4K3 w - -", E7, E8, "e7-e8=Q", "e8=Q"}, // no '+' after a promotion
        {"4k3/8/8/8/8/7B/8/4K3 w - -", H3, D7, "Bh3-d7+", "Bd7+"},
        {"r3k3/8/8/8/3p4/8/8/R3K3 w - -", A1, A8, "Ra1xa8+", "Rxa8+"},
        {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", E4, D5, "e4xd5  ", "xd5"}, // no other pawn reaches d5
        {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", E4, D5, "e4xd5  ", "exd5"},
        {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", E5, D6, "e5-d6  ", "d6"}, // en passant counts as a quiet move
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", E1, G1, "O-O    ", "O-O    "},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", E8, C8, "O-O-O  ", "O-O-O  "},
    };
    for (const Row& row : rows) {
        auto texts = recorded(row.fen, row.from, row.to);
        EXPECT_EQ(texts.first, row.longText) << row.fen;
        EXPECT_EQ(texts.second, row.shortText) << row.fen;
    }
}

TEST_F(Notation, CoordinateTexts) {
    char text[16];
    EXPECT_EQ(coordinateText(text, WhiteKingSideMove), 5);
    EXPECT_STREQ(text, "e1g1 ");
    coordinateText(text, BlackQueenSideMove);
    EXPECT_STREQ(text, "e8c8 ");
    coordinateText(text, makeMoveWord(E7, E8, 3, 3));
    EXPECT_STREQ(text, "e7e8Q ");
    coordinateText(text, makeMoveWord(E2, E1, 3, 1));
    EXPECT_STREQ(text, "e2e1N ");
    coordinateText(text, makeMoveWord(E7, E8, 3, 0));
    EXPECT_STREQ(text, "e7e8 ") << "bishop bits give no letter";
    coordinateText(text, makeMoveWord(G1, F3, 9, 0) | MoveCaptureFlag | MoveCheckFlag);
    EXPECT_STREQ(text, "g1f3 ");
    for (int marker : {0xFA, 0xFC, 0xFD, 0xFE, 0xFF}) EXPECT_EQ(coordinateText(text, marker), 0);
    coordinateTextLower(text, makeMoveWord(E7, E8, 3, 3));
    EXPECT_STREQ(text, "e7e8");
}

TEST_F(Notation, PrincipalVariationText) {
    char text[50 * 6 + 1];
    pvTable[1][0] = 4;
    pvTable[1][1] = makeMoveWord(E2, E4, 4, 3);
    pvTable[1][2] = makeMoveWord(E7, E5, 4, 3) | MoveCheckFlag;
    pvTable[1][3] = WhiteKingSideMove | MoveCaptureFlag;
    pvTable[1][4] = 0xFE; // a leaf marker prints nothing
    EXPECT_EQ(principalVariationText(text), 15);
    EXPECT_STREQ(text, "e2e4 e7e5 e1g1 ");
    pvTable[1][0] = 0;
    EXPECT_EQ(principalVariationText(text), 0);
    EXPECT_STREQ(text, "");
}

TEST_F(Notation, ParsingMoveTexts) {
    struct Row {
        const char* fen;
        const char* text;
        int fromColumn, fromRow, toColumn, toRow, piece, promotion;
    };
    const int e = 4, d = 3, b = 1, a = 0, g = 6, f = 5;
    const Row rows[] = {
        {InitialFen, "e2e4", e, 6, e, 4, WhitePawn, Queen},
        {InitialFen, "e2-e4", e, 6, e, 4, WhitePawn, Queen},
        {InitialFen, "Ng1f3", g, 7, f, 5, WhiteKnight, Queen},
        {InitialFen, "Ng1-f3", g, 7, f, 5, WhiteKnight, Queen},
        {InitialFen, "Nf3", -1, -1, f, 5, WhiteKnight, Queen},
        {InitialFen, "Nbd2", b, -1, d, 6, WhiteKnight, Queen},
        {InitialFen, "R1a3", -1, 7, a, 5, WhiteRook, Queen},
        {InitialFen, "exd5", e, -1, d, 3, WhitePawn, Queen},
        {InitialFen, "e8=Q", -1, -1, e, 0, WhitePawn, Queen},
        {InitialFen, "e8Q", -1, -1, e, 0, WhitePawn, Queen},
        {InitialFen, "e7e8q", e, 1, e, 0, WhitePawn, Queen},
        {InitialFen, "e7e8n", e, 1, e, 0, WhitePawn, Knight},
        {InitialFen, "e8=R+", -1, -1, e, 0, WhitePawn, Rook},
        {InitialFen, "e7e8b", e, 1, e, 0, WhitePawn, Bishop},
        {InitialFen, "e8=K", -1, -1, e, 0, WhitePawn, Queen}, // never a king
        {InitialFen, "e8=p", -1, -1, e, 0, WhitePawn, Queen}, // never a pawn
        {InitialFen, "O-O", e, 7, g, 7, WhiteKing, Queen},
        {InitialFen, "0-0", e, 7, g, 7, WhiteKing, Queen},
        {InitialFen, "o-o", e, 7, g, 7, WhiteKing, Queen},
        {InitialFen, "O-O-O", e, 7, 2, 7, WhiteKing, Queen},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "0-0-0", e, 0, 2, 0, BlackKing, Queen},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "Nf6", -1, -1, f, 2, BlackKnight, Queen},
        {InitialFen, "", -1, -1, -1, -1, WhitePawn, Queen},
        {InitialFen, "O", -1, -1, -1, -1, WhitePawn, Queen},
        {InitialFen, "O-", -1, -1, -1, -1, WhitePawn, Queen},
    };
    for (const Row& row : rows) {
        Position p = positionFrom(row.fen);
        engineSession.promotionChoice = Queen;
        ParsedMove m = parseMoveText(row.text, p);
        EXPECT_EQ(m.fromColumn, row.fromColumn) << row.text;
        EXPECT_EQ(m.fromRow, row.fromRow) << row.text;
        EXPECT_EQ(m.toColumn, row.toColumn) << row.text;
        EXPECT_EQ(m.toRow, row.toRow) << row.text;
        if (row.toRow >= 0) {
            EXPECT_EQ(m.pieceCode, row.piece) << row.text;
        }
        EXPECT_EQ(engineSession.promotionChoice, row.promotion) << row.text;
    }
}

// Replaying texts of every form reaches the expected position.
TEST_F(Notation, TextsReplayToTheExpectedPosition) {
    struct Row {
        std::vector<const char*> texts;
        const char* fen;
    };
    const Row rows[] = {
        {{"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Bxc6", "dxc6", "O-O"},
         "r1bqkbnr/1pp2ppp/p1p5/4p3/4P3/5N2/PPPP1PPP/RNBQ1RK1 b kq -"},
        {{"d2d4", "d7-d5", "Ng1-f3", "Ng8f6", "c4", "e6", "Nc3", "Be7", "Bg5", "0-0"},
         "rnbq1rk1/ppp1bppp/4pn2/3p2B1/2PP4/2N2N2/PP2PPPP/R2QKB1R w KQ -"},
        {{"e4", "d5", "e5", "f5", "exf6", "Nxf6"},
         "rnbqkb1r/ppp1p1pp/5n2/3p4/8/8/PPPP1PPP/RNBQKBNR w KQkq -"},
        {{"e4", "Nf6", "Null", "Nxe4"}, "rnbqkb1r/pppppppp/8/8/4n3/8/PPPP1PPP/RNBQKBNR w KQkq -"},
    };
    for (const Row& row : rows) {
        Position p = positionFrom(InitialFen);
        for (const char* text : row.texts) ASSERT_EQ(playMoveText(text, p, 0, nullptr), 1) << text;
        char fen[FenBufferSize];
        writeFen(fen, p);
        EXPECT_STREQ(fen, row.fen);
    }
    Position p = positionFrom(InitialFen);
    Position before = p;
    for (const char* bad : {"e5", "Ke2", "O-O", "xyz", "", "e2e5", "Nd4"}) {
        EXPECT_EQ(playMoveText(bad, p, 0, nullptr), 0) << bad;
        EXPECT_TRUE(samePosition(p, before)) << bad;
    }
}

TEST_F(Notation, DisambiguationIsAskedThroughTheMainWindow) {
    static int asked;
    asked = 0;
    mainWindow = [](unsigned message, intptr_t wParam, intptr_t lParam) -> intptr_t {
        if (message != DisambiguateMessage) return 0;
        ++asked;
        return disambiguationNeeded(static_cast<int32_t>(wParam), *reinterpret_cast<const Position*>(lParam));
    };
    auto texts = recorded("4k3/8/8/8/8/5N2/8/1N2K3 w - -", B1, D2);
    mainWindow = nullptr;
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(texts.second, "Nbd2");
}

} // namespace
