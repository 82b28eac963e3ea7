#include "core_helpers.h"
#include "engine/core/gamerecord.h"
#include "engine/search/ttable.h"

namespace {

class Record : public CoreTest {
  protected:
    Position& game = engineSession.gamePosition;
    void startFrom(const char* fen) {
        resetEngineGame();
        game = positionFrom(fen);
        engineSession.startPosition = game;
    }
    int play(int from, int to, int piece = 0, bool originColumn = true, bool originRow = true) {
        return playMove(game, originColumn ? columnOf(from) : -1, originRow ? rowOf(from) : -1, columnOf(to),
                        rowOf(to), game.sideToMove, piece, 1, nullptr, nullptr, nullptr);
    }
};

TEST_F(Record, PlayingBySquares) {
    startFrom(InitialFen);
    int outFrom = 0, outTo = 0;
    ASSERT_EQ(playMove(game, 4, 6, 4, 4, White, 0, 1, nullptr, &outFrom, &outTo), 1);
    EXPECT_EQ(outFrom, E2);
    EXPECT_EQ(outTo, E4);
    EXPECT_STREQ(gameRecord.longTexts[0], "e2-e4  ");
    EXPECT_STREQ(gameRecord.shortTexts[0], "e4");
    EXPECT_EQ(recordLength(), 1);
    EXPECT_STREQ(lastMoveText(), "e2-e4  ");
    EXPECT_STREQ(moveTextBack(1, 1), "e4");
    EXPECT_EQ(moveTextBack(2, 0), nullptr);

    // Origin column and piece, or only the piece: the later move in list order wins.
    startFrom("4k3/8/8/8/8/5N2/8/1N2K3 w - -");
    ASSERT_EQ(play(B1, D2, WhiteKnight, true, false), 1);
    EXPECT_EQ(game.board[D2], WhiteKnight);
    EXPECT_EQ(game.board[B1], Empty);
    startFrom("4k3/8/8/8/8/5N2/8/1N2K3 w - -");
    ASSERT_EQ(play(B1, D2, WhiteKnight, false, false), 1);
    EXPECT_EQ(game.board[B1], Empty) << "slot 9 holds the b1 knight, listed after slot 8's";

    // Castling by the king's squares, with and without the right.
    startFrom("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    ASSERT_EQ(play(E1, G1), 1);
    EXPECT_EQ(game.board[G1], WhiteKing);
    EXPECT_EQ(game.board[F1], WhiteRook);
    startFrom("r3k2r/8/8/8/8/8/8/R3K2R w Qkq -");
    Position before = game;
    EXPECT_EQ(play(E1, G1), 0);
    EXPECT_TRUE(samePosition(game, before));
    EXPECT_EQ(recordLength(), 0);

    // A move that leaves the king in check, and squares off the board, are refused.
    startFrom("4k3/4r3/8/8/8/8/4B3/4K3 w - -");
    before = game;
    EXPECT_EQ(play(E2, D3), 0);
    EXPECT_EQ(playMove(game, 4, 6, 9, 4, White, 0, 1, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(playMove(game, -7, 6, 4, 4, White, 0, 1, nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(samePosition(game, before));

    // The promotion choice decides the piece.
    startFrom("4k3/1P6/8/8/8/8/8/4K3 w - -");
    engineSession.promotionChoice = Knight;
    ASSERT_EQ(play(B7, B8), 1);
    EXPECT_EQ(game.board[B8], WhiteKnight);
    EXPECT_STREQ(gameRecord.longTexts[0], "b7-b8=N");
}

TEST_F(Record, GoingToAPlyReplaysTheRecord) {
    startFrom(InitialFen);
    const int line[][2] = {{E2, E4}, {E7, E5}, {G1, F3}, {B8, C6}};
    std::vector<Position> positions{game};
    for (auto& m : line) {
        ASSERT_EQ(play(m[0], m[1]), 1);
        positions.push_back(game);
    }
    Position p;
    for (int n = 1; n <= 5; ++n) {
        goToPly(p, n);
        EXPECT_TRUE(samePosition(p, positions[n - 1])) << n;
    }
    goToPly(p, 40);
    EXPECT_TRUE(samePosition(p, positions.back()));

    // Taking back two plies and playing another move drops the later plies.
    goToPly(game, 3);
    ASSERT_EQ(play(D2, D4), 1);
    EXPECT_EQ(recordLength(), 3);
    EXPECT_STREQ(gameRecord.longTexts[2], "d2-d4  ");

    // A game from a position with Black to move starts at index 1.
    startFrom("4k3/8/8/8/8/8/4P3/4K3 b - -");
    ASSERT_EQ(play(E8, D7), 1);
    EXPECT_EQ(gameRecord.longTexts[0][0], '\0');
    EXPECT_STREQ(gameRecord.longTexts[1], "Ke8-d7 ");
    goToPly(p, 3);
    EXPECT_TRUE(samePosition(p, game));

    // "Null" changes only the side to move and the ply.
    Position before = game;
    ASSERT_EQ(playMoveText("Null", game, 1, nullptr), 1);
    EXPECT_EQ(game.sideToMove, before.sideToMove ^ 3);
    EXPECT_EQ(game.ply, before.ply + 1);
    game.sideToMove = before.sideToMove;
    game.ply = before.ply;
    EXPECT_TRUE(samePosition(game, before));
    EXPECT_EQ(recordLength(), 2);
}

TEST_F(Record, ClocksRepetitionsAndResult) {
    startFrom(InitialFen);
    engineSession.lastRecordTick = tickCount() - 2000; // White thought for two seconds
    engineSession.gameResult = 3;
    ASSERT_EQ(play(G1, F3), 1);
    EXPECT_GE(engineSession.whiteClock, 200);
    EXPECT_LT(engineSession.whiteClock, 300);
    EXPECT_EQ(engineSession.blackClock, 0);
    EXPECT_EQ(engineSession.gameResult, 4);
    // Knights out and back: the initial position repeats.
    ASSERT_EQ(play(G8, F6), 1);
    ASSERT_EQ(play(F3, G1), 1);
    ASSERT_EQ(play(F6, G8), 1);
    Position keyed = game;
    keyed.hashKey = computeHashKey(keyed);
    EXPECT_EQ(repetitionCount(fullIndexKey(keyed), game), 1);
    EXPECT_EQ(repetitionHistory[1], fullIndexKey(keyed));
}

TEST_F(Record, BoundsOfTheRecord) {
    // Knights shuffling for 700 plies: recording stops at 696, play goes on.
    startFrom(InitialFen);
    const int cycle[][2] = {{G1, F3}, {G8, F6}, {F3, G1}, {F6, G8}};
    for (int i = 0; i < 700; ++i) ASSERT_EQ(play(cycle[i % 4][0], cycle[i % 4][1]), 1) << i;
    EXPECT_EQ(recordLength(), 696);
    EXPECT_EQ(game.ply, 701);
    EXPECT_STREQ(gameRecord.longTexts[695], "Nf6-g8 ");

    // A position whose ply grew past the record by null moves is not recorded.
    startFrom(InitialFen);
    for (int i = 0; i < 800; ++i) playMoveText("Null", game, 1, nullptr);
    ASSERT_EQ(game.ply, 801);
    ASSERT_EQ(play(E2, E4), 1);
    EXPECT_EQ(recordLength(), 0);
    EXPECT_EQ(moveTextBack(1, 0), nullptr);
    Position p;
    goToPly(p, 2000);
    EXPECT_TRUE(samePosition(p, engineSession.startPosition));

    // A separate record (null = the game's) gets no clocks or history.
    GameRecord other{};
    startFrom(InitialFen);
    engineSession.whiteClock = 0;
    engineSession.lastRecordTick = tickCount() - 5000;
    ASSERT_EQ(playMove(game, 4, 6, 4, 4, White, 0, 1, &other, nullptr, nullptr), 1);
    EXPECT_EQ(other.plyCount, 1);
    EXPECT_STREQ(other.longTexts[0], "e2-e4  ");
    EXPECT_EQ(recordLength(), 0);
    EXPECT_EQ(engineSession.whiteClock, 0);
}

} // namespace
