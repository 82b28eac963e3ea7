// Game texts: both written forms, reading them back, and the reader's
// skipping rules and bounds.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <regex>
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
    static void play(const std::string& moves) {
        size_t at = 0;
        while ((at = moves.find_first_not_of(' ', at)) != std::string::npos) {
            size_t end = moves.find(' ', at);
            std::string token = moves.substr(at, end - at);
            ASSERT_EQ(playMoveText(token.c_str(), engineSession.gamePosition, 1, &gameRecord), 1) << token;
            at = end;
        }
    }

    static std::string written(int result = 4) {
        std::vector<char> buffer(8192);
        int n = writeGameText(result, buffer.data(), buffer.size());
        EXPECT_EQ(n, static_cast<int>(std::strlen(buffer.data())));
        return std::string(buffer.data(), n);
    }

    static std::string fen() {
        char text[FenBufferSize];
        writeFen(text, engineSession.gamePosition);
        return text;
    }

    static FILE* streamOf(const std::string& text) {
        FILE* file = std::tmpfile();
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        return file;
    }
};

TEST_F(GameTextTest, BothFormsWriteEveryTagAndTheirMoveLines) {
    play("e2e4 e7e5 g1f3");
    std::string text = written(1);
    // The seven tags every PGN reader expects, the date in PGN's form, and tag
    // names without blanks.
    EXPECT_TRUE(std::regex_search(text, std::regex("^\\[Event \"Tavisk Game\"\\]\r\n\\[Site \"\\?\"\\]\r\n"
                                                   "\\[Date \"[0-9]{4}\\.[0-9]{2}\\.[0-9]{2}\"\\]\r\n"
                                                   "\\[Round \"-\"\\]\r\n\\[Time \"")))
        << text;
    EXPECT_NE(text.find("\"]\r\n[TimeControl \"300+5\"]\r\n[CurrentPly \"4\"]\r\n[White \"Human\"]\r\n"
                        "[Black \"CPU\"]\r\n[Result \"1-0\"]\r\n\r\n"
                        "1. e2-e4   \r\ne7-e5   \r\n2. Ng1-f3  \r\n\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("[FEN"), std::string::npos);

    char path[] = "/tmp/tavisk-enginegame-XXXXXX";
    close(mkstemp(path));
    engineSession.engineColour = EnginePlaysWhite;
    ASSERT_EQ(appendEngineGame(3, path, 0), 1);
    ASSERT_EQ(appendEngineGame(3, path, 1), 1);
    std::string file(16384, '\0');
    FILE* in = std::fopen(path, "r");
    file.resize(std::fread(file.data(), 1, file.size(), in));
    std::fclose(in);
    std::remove(path);
    const std::string game =
        "[TimeControl \"300+5\"]\n[CurrentPly \"4\"]\n[White \"CPU\"]\n[Black \"Human\"]\n"
        "[Result \"1/2-1/2\"]\n\n1. e2-e4   e7-e5   \n2. Ng1-f3  1/2-1/2\n\n";
    EXPECT_EQ(file.rfind("[Event \"Markvane Game\"]\n[Site \"?\"]\n[Date \"", 0), 0u);
    EXPECT_NE(file.find("\"]\n[Round \"-\"]\n[Time \""), std::string::npos);
    ASSERT_NE(file.find(game), std::string::npos) << file;
    EXPECT_NE(file.find(game, file.find(game) + 1), std::string::npos) << "appended a second time";
    EXPECT_EQ(appendEngineGame(3, "/nonexistent-folder/x.pgn", 1), 0);

    // A game that starts with Black to move has an empty first ply.
    Position start;
    const char* blackFirst = "4k3/8/8/8/8/8/4P3/4K3 b - -";
    ASSERT_EQ(readFen(start, blackFirst, std::strlen(blackFirst)), 1);
    resetEngineGame();
    engineSession.startPosition = engineSession.gamePosition = start;
    play("e8d7 e2e4");
    text = written();
    EXPECT_NE(text.find("[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 1 1\"]\r\n[SetUp \"1\"]\r\n\r\n"
                        "1.  \r\nKe8-d7  \r\n2. e2-e4   \r\n\r\n\r\n"),
              std::string::npos);
}

// Written, then read back: the same record, start and position.
TEST_F(GameTextTest, WrittenGamesReadBackToTheSameGame) {
    struct Row {
        const char* fen; // null: the initial position
        const char* moves;
        int backTo; // "Current Ply" below the record's end, 0 for none
    };
    const Row rows[] = {
        {nullptr, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5c6 d7c6 e1g1 f7f6", 0},
        {nullptr, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5c6 d7c6 e1g1 f7f6", 5},
        {nullptr, "d2d4 d7d5 c2c4 d5c4", 1},
        {"r3k2r/6P1/8/8/8/8/1p6/R3K2R b KQkq -", "e8c8 g7h8q d8h8 e1g1 b2b1q f1b1", 0},
        {"r3k2r/6P1/8/8/8/8/1p6/R3K2R b KQkq -", "e8c8 g7h8q d8h8 e1g1 b2b1q f1b1", 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.moves);
        newGame();
        if (row.fen) {
            Position start;
            ASSERT_EQ(readFen(start, row.fen, std::strlen(row.fen)), 1);
            resetEngineGame();
            engineSession.startPosition = engineSession.gamePosition = start;
        }
        play(row.moves);
        if (row.backTo) goToPly(engineSession.gamePosition, row.backTo);
        GameRecord record = gameRecord;
        Position position = engineSession.gamePosition;
        Position start = engineSession.startPosition;
        std::string text = written();
        newGame();
        ASSERT_EQ(loadGameText(text.c_str()), 1);
        ASSERT_EQ(gameRecord.plyCount, record.plyCount);
        for (int i = 0; i < record.plyCount; ++i) EXPECT_STREQ(gameRecord.longTexts[i], record.longTexts[i]);
        EXPECT_TRUE(samePosition(engineSession.startPosition, start));
        EXPECT_TRUE(samePosition(engineSession.gamePosition, position));
    }
}

// The caller's buffer is never overrun; the text stops after the last ply that fits.
TEST_F(GameTextTest, LongGameIsBoundedToTheBuffer) {
    for (int i = 0; i < 120; ++i) play("g1f3 g8f6 f3g1 f6g8");
    GameRecord record = gameRecord;
    for (size_t size : {1, 16, 400, 4096}) {
        SCOPED_TRACE(size);
        std::vector<char> buffer(size + 64, '#');
        int n = writeGameText(4, buffer.data(), size);
        ASSERT_LT(static_cast<size_t>(n), size);
        EXPECT_EQ(std::strlen(buffer.data()), static_cast<size_t>(n));
        for (size_t k = size; k < buffer.size(); ++k) ASSERT_EQ(buffer[k], '#') << "overrun at " << k;
        if (size < 400) continue;
        std::string text(buffer.data(), n);
        EXPECT_EQ(text.substr(text.size() - 6), "\r\n\r\n\r\n");
        gameRecord = record;
        loadGameText(text.c_str());
        ASSERT_GT(gameRecord.plyCount, 0);
        EXPECT_LT(gameRecord.plyCount, record.plyCount);
        for (int i = 0; i < gameRecord.plyCount; ++i)
            EXPECT_STREQ(gameRecord.longTexts[i], record.longTexts[i]);
        gameRecord = record;
    }
}

TEST_F(GameTextTest, MoveTextsPlayWhatCanBePlayed) {
    struct Row {
        const char* text;
        int plies;
        const char* fen; // the game position afterwards
    };
    const Row rows[] = {
        {"1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0", 6,
         "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq -"},
        {"1. e4 {best by test} e5 (1... c5 2. Nf3) 2. Nf3 $1 Nc6", 4,
         "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -"},
        {"1.e4 e5 2.d4 exd4 3.Qxd4 {a {nested} comment} Nc6 (2... d6 (2... f6)) 4.Qe3 *", 7,
         "r1bqkbnr/pppp1ppp/2n5/8/4P3/4Q3/PPP2PPP/RNB1KBNR b KQkq -"},
        {"1. e4 1... e5 2. Nf3 2...Nc6 3. Ke3 Bb4", 4,
         "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -"},
        // A token cut at 39 characters still makes its move.
        {"1. e2e4!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! e7e5 2. Nf3", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        // Unclosed sections end the text.
        {"1. e4 e5 2. Nf3 {never closed Nc6 3. Bb5", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        {"1. d4 (1. e4 (1. c4", 1, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq -"},
        // What PGN allows besides: ";" and "%" lines, a comment right before a
        // variation, a ")" inside a variation's comment, move suffixes, moves
        // without numbers, and the result ending the moves.
        {"1. e4 ; 2... c5 is not played\ne5\n% 2. d4 escaped\n2. Nf3", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        {"1. e4 {c}(1. d4 {a ) b} d5) e5 2. Nf3! Nc6?! $14 3. Bb5 a6 1-0 4. Ba4", 6,
         "r1bqkbnr/1ppp1ppp/p1n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq -"},
        {"e4 e5 Nf3", 3, "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        newGame();
        playGameText(row.text, gameRecord);
        EXPECT_EQ(gameRecord.plyCount, row.plies);
        EXPECT_EQ(fen(), row.fen);
    }
    // A FEN with Black to move, and a rejected FEN that leaves the initial position.
    loadGameText(
        "[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -\"]\r\n\r\n1... e5 2. Nf3\r\n");
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_STREQ(gameRecord.longTexts[1], "e7-e5  ");
    EXPECT_EQ(fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -");
    loadGameText("[FEN \"8/8/8/8/8/8/8/8 w - -\"]\n[Current Ply \"1\"]\n\n1. d4 d5\n");
    EXPECT_EQ(gameRecord.plyCount, 2);
    EXPECT_EQ(fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    // A byte-order mark and blank lines before the tags; "1...e5" as the first
    // token of a game with Black to move; the current ply under its PGN name.
    EXPECT_EQ(loadGameText(
                  "\xEF\xBB\xBF\r\n\r\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -\"]\r\n"
                  "[CurrentPly \"3\"]\r\n\r\n1...e5 2. Nf3 *\r\n"),
              1);
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_EQ(fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
    // A null move cannot be replayed: the game is refused and the one loaded stays.
    EXPECT_EQ(loadGameText("[White \"W\"]\n\n1. d4 -- 2. c4 *\n"), 0);
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_EQ(fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
}

TEST_F(GameTextTest, TagsAreReadIntoBoundedFields) {
    const std::string longText(300, 'n');
    struct Row {
        std::string text;
        std::string white, black, result;
        int currentPly;
    };
    const Row rows[] = {
        {"[White \"W\"]\r\n[Black \"B\"]\r\n[Result \"1-0\"]\r\n[Current Ply \"7\"]\r\n\r\n1. e4", "W", "B",
         "1-0", 7},
        {"[WhiteElo \"2000\"]\n[White \"W\"]\n[BlackElo \"1900\"]\n", "W", "X", "X", -1},
        {"[White \"" + longText + "\"]\r\n[Result \"" + longText + "\"]\r\n", longText.substr(0, 127), "X",
         longText.substr(0, 31), -1},
        {"[White \"open\r\n[Black \"closed\"]\r\n", "open", "closed", "X", -1}, // missing quote
        {"[White \"W\"]\r\n\r\n[Black \"B\"]\r\n", "W", "X", "X", -1}, // tags end at the first other line
        {"[Black \"" + std::string(5000, 'b') + "\"]\r\n[White \"W\"]", "W", std::string(127, 'b'), "X", -1},
        {"[Black \"no end", "X", "no end", "X", -1},
        {"\xEF\xBB\xBF\r\n \r\n% escaped\r\n[White \"W\"]\r\n[CurrentPly \"9\"]\r\n", "W", "X", "X", 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        GameHeader header;
        clearHeader(header);
        readTags(row.text.c_str(), header);
        EXPECT_EQ(header.white, row.white);
        EXPECT_EQ(header.black, row.black);
        EXPECT_EQ(header.result, row.result);
        EXPECT_EQ(header.currentPly, row.currentPly);
    }
    // The date in both forms comes out in PGN's.
    for (const char* line : {"[Date \"12/9/2026\"]", "[Date \"2026.12.09\"]"}) {
        GameHeader header;
        clearHeader(header);
        readTagLine(line, static_cast<int>(std::strlen(line)), header);
        EXPECT_STREQ(header.date, "2026.12.09") << line;
    }
}

TEST_F(GameTextTest, FilesAreReadGameByGameWithinTheirBounds) {
    static char buffer[GameBufferSize];
    GameHeader header;
    FILE* file = streamOf("[Event \"one\"]\n[White \"Sicilian Defence\"]\n\n1. e4 c5 *\n\n"
                          "[Event \"two\"]\n[Black \"Winawer\"]\n1. e4 e6 2. d4 d5 *\n");
    ASSERT_EQ(readNextGame(file, buffer, header), 1);
    EXPECT_STREQ(header.white, "Sicilian Defence");
    EXPECT_EQ(std::fgetc(file), '[');
    std::ungetc('[', file);
    EXPECT_EQ(readNextGame(file, buffer, header), 0);
    EXPECT_STREQ(header.black, "Winawer");
    playGameText(buffer, gameRecord); // no empty line after the tags: the moves are still there
    EXPECT_EQ(gameRecord.plyCount, 4);
    std::fclose(file);

    // A 3 MB tag line without an end.
    file = streamOf("[White \"" + std::string(3 << 20, 'w'));
    EXPECT_EQ(readNextGame(file, buffer, header), 0);
    EXPECT_EQ(std::strlen(header.white), 127u);
    std::fclose(file);

    // Megabytes of one game, zero bytes in it, then another game: the first is
    // cut to the buffer and the second is still found.
    std::string text = "[Event \"big\"]\n\n1. e4 e5 2. Nf3 ";
    while (text.size() < (4u << 20)) text += std::string("{comment") + '\0' + "} ";
    file = streamOf(text + "\n[Event \"next\"]\n[White \"N\"]\n\n1. d4 *\n");
    EXPECT_EQ(readNextGame(file, buffer, header), 1);
    EXPECT_EQ(std::strlen(buffer), static_cast<size_t>(GameTextSize));
    newGame();
    playGameText(buffer, gameRecord);
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_EQ(readNextGame(file, buffer, header), 0);
    EXPECT_STREQ(header.white, "N");
    std::fclose(file);

    // A byte-order mark and blank lines before the first game, games without an
    // Event tag, and a comment whose line begins with '['.
    file = streamOf("\xEF\xBB\xBF\n\n[White \"A\"]\n\n1. e4 {\n[%clk 0:01:00]} e5 1-0\n\n"
                    "[White \"B\"]\n[Black \"C\"]\n\n1. d4 d5 2. c4 0-1\n");
    ASSERT_EQ(readNextGame(file, buffer, header), 1);
    EXPECT_STREQ(header.white, "A");
    newGame();
    playGameText(buffer, gameRecord);
    EXPECT_EQ(gameRecord.plyCount, 2);
    EXPECT_EQ(readNextGame(file, buffer, header), 0);
    EXPECT_STREQ(header.white, "B");
    EXPECT_STREQ(header.black, "C");
    newGame();
    playGameText(buffer, gameRecord);
    EXPECT_EQ(gameRecord.plyCount, 3);
    std::fclose(file);
}

} // namespace
