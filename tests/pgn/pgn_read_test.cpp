// Reading game texts: the tag section, the move reader's skipping rules, and
// every bound on fields, lines, tokens and files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/session.h"

namespace {

class GameReadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initSession();
        newGame();
    }

    static std::string fenOfGame() {
        char fen[FenBufferSize];
        writeFen(fen, engineSession.gamePosition);
        return fen;
    }

    // A stream over a copy of the text.
    static FILE* streamOf(const std::string& text) {
        FILE* file = std::tmpfile();
        std::fwrite(text.data(), 1, text.size(), file);
        std::rewind(file);
        return file;
    }
};

TEST_F(GameReadTest, MoveTextsPlayWhatCanBePlayed) {
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
        {"1. e2-e4   \r\ne7-e5   \r\n2. Ng1-f3  \r\n", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        {"1.e4 e5 2.d4 exd4 3.Qxd4 {nested {comment}} Nc6 (2... d6 (2... f6)) 4.Qe3 *", 7,
         "r1bqkbnr/pppp1ppp/2n5/8/4P3/4Q3/PPP2PPP/RNB1KBNR b KQkq -"},
        {"1. e4 1... e5 2. Nf3 2...Nc6 3. Zz9 Bb4", 4,
         "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -"},
        {"1. e4 e5 2. Ke3 O-O 3. d4", 3, "rnbqkbnr/pppp1ppp/8/4p3/3PP3/8/PPP2PPP/RNBQKBNR b KQkq -"},
        // A token cut at 39 characters: its first characters still make the move.
        {"1. e2e4!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! e7e5 2. Nf3", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        // Unclosed sections end the text; nothing is read beyond it.
        {"1. e4 e5 2. Nf3 {never closed Nc6 3. Bb5", 3,
         "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -"},
        {"1. d4 (1. e4 (1. c4", 1, "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq -"},
        {"", 0, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        newGame();
        playGameText(row.text, gameRecord);
        EXPECT_EQ(gameRecord.plyCount, row.plies);
        EXPECT_EQ(fenOfGame(), row.fen);
    }
}

TEST_F(GameReadTest, LoadingAppliesTheFenAndTheCurrentPly) {
    // A FEN start with Black to move.
    loadGameText("[Event \"x\"]\r\n[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -\"]\r\n"
                 "[SetUp \"1\"]\r\n\r\n1... e5 2. Nf3\r\n");
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_EQ(gameRecord.longTexts[0][0], '\0');
    EXPECT_STREQ(gameRecord.longTexts[1], "e7-e5  ");
    EXPECT_STREQ(gameRecord.longTexts[2], "Ng1-f3 ");
    EXPECT_EQ(fenOfGame(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -");

    // "Current Ply" 1: the start position, the whole game still recorded.
    loadGameText("[Current Ply \"1\"]\n[White \"a\"]\n\n1. e4 e5 2. Nf3 *\n");
    EXPECT_EQ(gameRecord.plyCount, 3);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, engineSession.startPosition));

    // A rejected FEN leaves the initial position.
    loadGameText("[FEN \"8/8/8/8/8/8/8/8 w - -\"]\r\n\r\n1. d4\r\n");
    EXPECT_EQ(fenOfGame(), "rnbqkbnr/pppppppp/8/8/3P4/8/PPP1PPPP/RNBQKBNR b KQkq -");
    EXPECT_EQ(engineSession.clockStarted, 0);
}

TEST_F(GameReadTest, TagsAreReadIntoBoundedFields) {
    const std::string longName(300, 'n');
    struct Row {
        std::string text;
        std::string white, black, result, event, timeControl;
        int currentPly;
    };
    const Row rows[] = {
        {"[Event \"E\"]\r\n[White \"W\"]\r\n[Black \"B\"]\r\n[Result \"1-0\"]\r\n"
         "[TimeControl \"300+5\"]\r\n[Current Ply \"7\"]\r\n\r\n1. e4",
         "W", "B", "1-0", "E", "300+5", 7},
        // LF line ends, Elo tags that must not be taken for the names.
        {"[WhiteElo \"2000\"]\n[White \"W\"]\n[BlackElo \"1900\"]\n", "W", "X", "X", "", "X", -1},
        // A value longer than its field is cut to the field.
        {"[White \"" + longName + "\"]\r\n[Result \"" + longName + "\"]\r\n", longName.substr(0, 127), "X",
         longName.substr(0, 31), "", "X", -1},
        // A missing closing quote ends the value at the line's end.
        {"[White \"open\r\n[Black \"closed\"]\r\n", "open", "closed", "X", "", "X", -1},
        // A tag section without any line end ends at the text's end.
        {"[Event \"no end", "X", "X", "X", "no end", "X", -1},
        // Reading stops at the first line that is not a tag.
        {"[White \"W\"]\r\n\r\n[Black \"B\"]\r\n", "W", "X", "X", "", "X", -1},
        // A tag line longer than the line buffer keeps its first part.
        {"[Event \"" + std::string(5000, 'e') + "\"]\r\n[White \"W\"]\r\n", "W", "X", "X",
         std::string(127, 'e'), "X", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 60));
        GameHeader header;
        clearHeader(header);
        readTags(row.text.c_str(), header);
        EXPECT_EQ(header.white, row.white);
        EXPECT_EQ(header.black, row.black);
        EXPECT_EQ(header.result, row.result);
        EXPECT_EQ(header.event, row.event);
        EXPECT_EQ(header.timeControl, row.timeControl);
        EXPECT_EQ(header.currentPly, row.currentPly);
        EXPECT_EQ(header.fen[0], '\0');
    }
}

TEST_F(GameReadTest, FileGamesAreReadOneAfterTheOther) {
    FILE* file =
        streamOf("[Event \"one\"]\n[White \"Sicilian Defence\"]\n[Black \"?\"]\n\n1. e4 c5 *\n\n"
                 "[Event \"two\"]\n[White \"French Defence\"]\n[Black \"Winawer\"]\n\n1. e4 e6 2. d4 d5 *\n");
    static char buffer[GameBufferSize];
    GameHeader header;
    ASSERT_EQ(readNextGame(file, buffer, header), 1);
    EXPECT_STREQ(header.white, "Sicilian Defence");
    EXPECT_STREQ(header.black, "?");
    EXPECT_EQ(std::fgetc(file), '[');
    std::ungetc('[', file);
    newGame();
    playGameText(buffer, gameRecord);
    EXPECT_EQ(gameRecord.plyCount, 2);

    EXPECT_EQ(readNextGame(file, buffer, header), 0);
    EXPECT_STREQ(header.event, "two");
    EXPECT_STREQ(header.black, "Winawer");
    newGame();
    playGameText(buffer, gameRecord);
    EXPECT_EQ(gameRecord.plyCount, 4);
    std::fclose(file);
}

TEST_F(GameReadTest, HugeFilesAndEndlessLinesAreReadSafely) {
    static char buffer[GameBufferSize];
    GameHeader header;
    // A tag line of 3 MB without any line end: one tag, nothing else.
    {
        std::string text = "[White \"" + std::string(3 << 20, 'w');
        FILE* file = streamOf(text);
        EXPECT_EQ(readNextGame(file, buffer, header), 0);
        EXPECT_EQ(std::strlen(header.white), 127u);
        EXPECT_EQ(buffer[0], '\0');
        std::fclose(file);
    }
    // A game of several megabytes of moves with zero bytes in it, then another
    // game: the first is cut to the buffer, the second is still found.
    {
        std::string moves = "1. e4 e5 2. Nf3 ";
        std::string text = "[Event \"big\"]\n\n" + moves;
        while (text.size() < (4u << 20)) text += std::string("{comment") + '\0' + "} ";
        text += "\n[Event \"next\"]\n[White \"N\"]\n\n1. d4 *\n";
        FILE* file = streamOf(text);
        EXPECT_EQ(readNextGame(file, buffer, header), 1);
        EXPECT_EQ(std::strlen(buffer), static_cast<size_t>(GameTextSize));
        newGame();
        playGameText(buffer, gameRecord);
        EXPECT_EQ(gameRecord.plyCount, 3);
        EXPECT_EQ(readNextGame(file, buffer, header), 0);
        EXPECT_STREQ(header.white, "N");
        std::fclose(file);
    }
}

} // namespace
