// Game texts written in both dialects and read back.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/session/session.h"

namespace {

class GameTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initSession();
        newGame();
    }

    // Plays space-separated move texts on the game, recording them.
    static void play(const char* moves) {
        char token[16];
        const char* at = moves;
        while (*at) {
            while (*at == ' ') ++at;
            size_t n = 0;
            while (at[n] && at[n] != ' ') ++n;
            if (n == 0) break;
            std::memcpy(token, at, n);
            token[n] = '\0';
            ASSERT_EQ(playMoveText(token, engineSession.gamePosition, 1, &gameRecord), 1) << token;
            at += n;
        }
    }

    static void startFrom(const char* fen) {
        Position position;
        ASSERT_EQ(readFen(position, fen, std::strlen(fen)), 1);
        resetEngineGame();
        engineSession.startPosition = position;
        engineSession.gamePosition = position;
    }

    static std::string written(int result = 4) {
        std::vector<char> buffer(8192);
        int n = writeGameText(result, buffer.data(), buffer.size());
        EXPECT_EQ(n, static_cast<int>(std::strlen(buffer.data())));
        return std::string(buffer.data(), n);
    }

    static std::string movePart(const std::string& text) {
        size_t at = text.find("\r\n\r\n");
        return at == std::string::npos ? std::string() : text.substr(at + 4);
    }
};

TEST_F(GameTextTest, UserInterfaceFormHasEveryTagAndOnePlyPerLine) {
    play("e2e4 e7e5 g1f3");
    std::string text = written(1);
    EXPECT_EQ(text.rfind("[Event \"Tavisk Game\"]\r\n[Date \"", 0), 0u);
    EXPECT_NE(text.find("\"]\r\n[Time \""), std::string::npos);
    EXPECT_NE(text.find("[TimeControl \"300+5\"]\r\n[Current Ply \"4\"]\r\n"
                        "[White \"Human\"]\r\n[Black \"CPU\"]\r\n[Result \"1-0\"]\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("[FEN"), std::string::npos);
    EXPECT_EQ(movePart(text), "1. e2-e4   \r\ne7-e5   \r\n2. Ng1-f3  \r\n\r\n\r\n");
}

TEST_F(GameTextTest, EmptyGameAndNamesBySide) {
    struct Row {
        int colour;
        const char* white;
        const char* black;
    };
    const Row rows[] = {{1, "Human", "CPU"}, {2, "CPU", "Human"}, {3, "Human", "Human"}};
    for (const Row& row : rows) {
        engineSession.engineColour = row.colour;
        std::string text = written();
        EXPECT_NE(text.find(std::string("[White \"") + row.white + "\"]\r\n[Black \"" + row.black + "\"]"),
                  std::string::npos)
            << row.colour;
        EXPECT_NE(text.find("[Result \"*\"]\r\n\r\n\r\n\r\n"), std::string::npos);
        EXPECT_EQ(movePart(text), "\r\n\r\n");
    }
}

TEST_F(GameTextTest, EngineFormPairsPliesOnALine) {
    play("e2e4 e7e5 g1f3");
    char path[] = "/tmp/tavisk-enginegame-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_EQ(appendEngineGame(3, path, 0), 1);
    ASSERT_EQ(appendEngineGame(3, path, 1), 1);
    FILE* file = std::fopen(path, "r");
    ASSERT_NE(file, nullptr);
    std::string text;
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    std::fclose(file);
    std::remove(path);
    const std::string tags =
        "[TimeControl \"300+5\"]\n[Current Ply \"4\"]\n[White \"Human\"]\n[Black \"CPU\"]\n"
        "[Result \"1/2-1/2\"]\n\n1. e2-e4   e7-e5   \n2. Ng1-f3  \n\n";
    size_t first = text.find(tags);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find(tags, first + 1), std::string::npos) << "the second game was appended";
    EXPECT_EQ(text.rfind("[Event \"Markvane Game\"]\n", 0), 0u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(appendEngineGame(3, "/nonexistent-folder/x.pgn", 1), 0);
}

// Write, read back: the same record and the same position.
TEST_F(GameTextTest, WrittenGamesReadBackToTheSameRecordAndPosition) {
    struct Row {
        const char* fen; // null: the initial position
        const char* moves;
        int backTo; // ply to go back to before writing, 0 for none
    };
    const Row rows[] = {
        {nullptr, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5c6 d7c6 e1g1 f7f6", 0},
        {nullptr, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5c6 d7c6 e1g1 f7f6", 5},
        {nullptr, "d2d4 d7d5 c2c4 d5c4 e2e3 b7b5 a2a4 c7c6 a4b5 c6b5 d1f3", 1},
        {"r3k2r/6P1/8/8/8/8/1p6/R3K2R b KQkq -", "e8c8 g7h8q d8h8 e1g1 b2b1q f1b1", 0},
        {"r3k2r/6P1/8/8/8/8/1p6/R3K2R b KQkq -", "e8c8 g7h8q d8h8 e1g1 b2b1q f1b1", 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        newGame();
        if (row.fen) startFrom(row.fen);
        play(row.moves);
        if (row.backTo) goToPly(engineSession.gamePosition, row.backTo);
        GameRecord record = gameRecord;
        Position position = engineSession.gamePosition;
        Position start = engineSession.startPosition;
        std::string text = written();
        EXPECT_EQ(text.find("[FEN") != std::string::npos, row.fen != nullptr);
        EXPECT_EQ(text.find("[SetUp \"1\"]") != std::string::npos, row.fen != nullptr);

        newGame();
        ASSERT_EQ(loadGameText(text.c_str()), 1);
        EXPECT_EQ(gameRecord.plyCount, record.plyCount);
        for (int i = 0; i < record.plyCount; ++i) {
            EXPECT_STREQ(gameRecord.longTexts[i], record.longTexts[i]) << i;
        }
        EXPECT_TRUE(samePosition(engineSession.startPosition, start));
        EXPECT_TRUE(samePosition(engineSession.gamePosition, position));
    }
}

TEST_F(GameTextTest, GameWithBlackFirstWritesAnEmptyFirstPly) {
    startFrom("4k3/8/8/8/8/8/4P3/4K3 b - -");
    play("e8d7 e2e4");
    std::string text = written();
    EXPECT_EQ(movePart(text), "1.  \r\nKe8-d7  \r\n2. e2-e4   \r\n\r\n\r\n");
}

// The caller's buffer is never overrun: the text stops after the last ply that fits.
TEST_F(GameTextTest, LongGameIsBoundedToTheBuffer) {
    for (int i = 0; i < 80; ++i) play("g1f3 g8f6 f3g1 f6g8");
    ASSERT_EQ(gameRecord.plyCount, 320);
    const size_t sizes[] = {1, 16, 200, 400, 1000, 4096};
    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        std::vector<char> buffer(size + 64, '#');
        int n = writeGameText(4, buffer.data(), size);
        ASSERT_LT(static_cast<size_t>(n), size);
        EXPECT_EQ(buffer[n], '\0');
        EXPECT_EQ(std::strlen(buffer.data()), static_cast<size_t>(n));
        for (size_t k = size; k < buffer.size(); ++k) ASSERT_EQ(buffer[k], '#') << "overrun at " << k;
        std::string text(buffer.data(), n);
        if (size >= 400) {
            // Whole tags, whole ply lines, the closing empty lines: a game that reads back.
            EXPECT_EQ(text.substr(text.size() - 6), "\r\n\r\n\r\n");
            int plies = 0;
            for (size_t at = movePart(text).find("-"); at != std::string::npos;
                 at = movePart(text).find("-", at + 1)) {
                ++plies;
            }
            EXPECT_GT(plies, 0);
            GameRecord record = gameRecord;
            newGame();
            loadGameText(text.c_str());
            EXPECT_EQ(gameRecord.plyCount, plies);
            for (int i = 0; i < plies; ++i) EXPECT_STREQ(gameRecord.longTexts[i], record.longTexts[i]);
            gameRecord = record;
        }
    }
}

} // namespace
