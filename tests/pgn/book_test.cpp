// The opening book: building from game texts and the binary form, chains and
// limits, the choice of a book move, and learning from a lost game.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/position.h"
#include "engine/search/book.h"
#include "engine/session/session.h"

namespace {

class BookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        initSession();
        newGame();
        book = std::make_unique<OpeningBook>();
        clearBook(*book);
    }

    // The position after the move texts, from the initial position.
    static Position after(const char* moves) {
        Position position;
        setInitialPosition(position);
        char token[16];
        const char* at = moves;
        while (*at) {
            while (*at == ' ') ++at;
            size_t n = 0;
            while (at[n] && at[n] != ' ') ++n;
            if (n == 0) break;
            std::memcpy(token, at, n);
            token[n] = '\0';
            EXPECT_EQ(playMoveText(token, position, 0, nullptr), 1) << token;
            at += n;
        }
        return position;
    }

    // Plays the moves on the game, recorded.
    static void playGame(const char* moves) {
        newGame();
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

    int valueOf(const char* moves, int* name = nullptr) {
        int index;
        int value = lookup(*book, after(moves), index);
        if (name) *name = index;
        return value;
    }

    // The destination text of a book choice on the game position.
    std::string choose() {
        int32_t move = 0;
        int value = chooseBookMove(*book, engineSession.gamePosition, move);
        if (value == NoBookValue) return "none";
        return gameRecord.longTexts[gameRecord.plyCount - 1];
    }

    std::unique_ptr<OpeningBook> book;
};

const char* const TwoOpenings =
    "[Event \"1\"]\n[White \"Open Game\"]\n[Black \"?\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n"
    "[Event \"2\"]\n[White \"Reti Opening\"]\n[Black \"Transposed\"]\n\n1. Nf3 Nc6 2. e4 e5 *\n\n"
    "[Event \"3\"]\n[White \"Queen's Gambit\"]\n[Black \"Declined\"]\n\n1. d4 d5 2. c4 e6 3. Kd3 *\n";

TEST_F(BookTest, BuildsPositionsWithTheirNames) {
    EXPECT_EQ(buildFromText(*book, TwoOpenings), 4 + 3 + 4); // Kd3 cannot be played
    EXPECT_EQ(book->nameCount, 6);
    struct Row {
        const char* moves;
        const char* name;
    };
    const Row rows[] = {
        {"e2e4", "Open Game"},
        {"e2e4 e7e5", "Open Game"}, // Black "?" takes White's name
        {"g1f3", "Reti Opening"},
        {"g1f3 b8c6", "Transposed"},
        {"e2e4 e7e5 g1f3 b8c6", "Open Game"}, // the transposition keeps the first game's name
        {"d2d4 d7d5 c2c4 e7e6", "Declined"},  // the unplayable move was skipped
    };
    for (const Row& row : rows) {
        int name;
        EXPECT_EQ(valueOf(row.moves, &name), 0) << row.moves;
        ASSERT_GE(name, 0) << row.moves;
        EXPECT_STREQ(book->names[name], row.name) << row.moves;
    }
    EXPECT_EQ(valueOf(""), NoBookValue);
}

TEST_F(BookTest, ChainsUpdatesRemovalsAndLimits) {
    // Three positions in one slot: same low 14 bits of the index key.
    const uint32_t keys[] = {0x00010005u, 0x00024005u, 0x00038005u};
    for (int i = 0; i < 3; ++i) addPosition(*book, keys[i], 100u + i, 10 * i, i, 1);
    EXPECT_EQ(book->positionCount, 3);
    EXPECT_EQ(book->overflowUsed, 2);
    int name;
    // 101 counts an entry above 100 up, leaves others alone; any other value replaces.
    addPosition(*book, keys[2], 102u, 150, 7, 1);
    addPosition(*book, keys[2], 102u, 101, 7, 1);
    addPosition(*book, keys[1], 101u, 101, 7, 1);
    EXPECT_EQ(lookupByKeys(*book, keys[2], 102u, name), 151);
    EXPECT_EQ(name, 2);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 101u, name), 10);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 999u, name), NoBookValue); // the lock differs
    // Removing the primary entry and a middle link keeps the rest reachable.
    EXPECT_EQ(removeByKeys(*book, keys[0], 100u), 1);
    EXPECT_EQ(lookupByKeys(*book, keys[0], 100u, name), NoBookValue);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 101u, name), 10);
    EXPECT_EQ(lookupByKeys(*book, keys[2], 102u, name), 151);
    EXPECT_EQ(removeByKeys(*book, keys[1], 101u), 1);
    EXPECT_EQ(removeByKeys(*book, keys[1], 101u), 0);
    EXPECT_EQ(lookupByKeys(*book, keys[2], 102u, name), 151);
    EXPECT_EQ(book->positionCount, 1);

    // Far more positions than the book holds: the extra ones are dropped, none is lost.
    clearBook(*book);
    const uint32_t total = 30000;
    for (uint32_t i = 0; i < total; ++i) addPosition(*book, i * 2654435761u, i, 1, -1, 1);
    EXPECT_EQ(book->overflowUsed, BookOverflowCount);
    EXPECT_LE(book->positionCount, BookSlotCount + BookOverflowCount);
    int found = 0;
    for (uint32_t i = 0; i < total; ++i) found += lookupByKeys(*book, i * 2654435761u, i, name) == 1;
    EXPECT_EQ(found, book->positionCount);
}

TEST_F(BookTest, ChoiceKeepsMovesGoodForTheMoverAndNeverRepeats) {
    buildFromText(*book, "[Event \"a\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. e4 e5 *\n\n"
                         "[Event \"c\"]\n[White \"C\"]\n[Black \"D\"]\n\n1. d4 d5 *\n\n"
                         "[Event \"e\"]\n[White \"E\"]\n[Black \"F\"]\n\n1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 *\n");
    // e4 is marked bad for White: the choice is always one of the others.
    Position afterE4 = after("e2e4");
    addPosition(*book, computeHashKey(afterE4), computeHashLock(afterE4), -5, 0, 1);
    for (int i = 0; i < 20; ++i) {
        newGame();
        std::string move = choose();
        EXPECT_TRUE(move == "d2-d4  " || move == "Ng1-f3 ") << move;
        EXPECT_EQ(gameRecord.plyCount, 1);
        EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
        EXPECT_STREQ(currentOpeningName(*book), move == "d2-d4  " ? "C" : "E");
    }
    resetOpeningName(*book);
    EXPECT_STREQ(currentOpeningName(*book), "");

    // After 1. Nf3 Nf6 2. Ng1 Ng8 the book's 3. Nf3 would repeat; d4 does not.
    playGame("g1f3 g8f6 f3g1 f6g8");
    for (int i = 0; i < 10; ++i) {
        Position saved = engineSession.gamePosition;
        EXPECT_EQ(choose(), "d2-d4  ");
        engineSession.gamePosition = saved;
        gameRecord.plyCount = 4;
    }
    // Only a repeating move left: no book move.
    addPosition(*book, computeHashKey(after("d2d4")), computeHashLock(after("d2d4")), -3, 2, 1);
    EXPECT_EQ(choose(), "none");
    EXPECT_EQ(gameRecord.plyCount, 4);

    // The book is not consulted from ply 70 on.
    newGame();
    engineSession.gamePosition.ply = BookMaxPly;
    EXPECT_EQ(choose(), "none");
    engineSession.gamePosition.ply = BookMaxPly - 2;
    EXPECT_NE(choose(), "none");
}

TEST_F(BookTest, LossAsBlackCutsTheLineBackToItsLastBranch) {
    buildFromText(*book, "[Event \"a\"]\n[White \"A\"]\n[Black \"B\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 *\n\n"
                         "[Event \"c\"]\n[White \"C\"]\n[Black \"D\"]\n\n1. e4 c5 2. Nf3 *\n");
    playGame("e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4");
    engineSession.engineColour = EnginePlaysBlack;
    learnFromLoss(*book, WhiteWon);
    EXPECT_EQ(valueOf("e2e4 e7e5 g1f3 b8c6"), NoBookValue);
    EXPECT_EQ(valueOf("e2e4 e7e5"), NoBookValue);
    EXPECT_EQ(valueOf("e2e4 e7e5 g1f3"), 0); // the winner's moves stay
    EXPECT_EQ(valueOf("e2e4 e7e5 g1f3 b8c6 f1b5"), 0);
    EXPECT_EQ(valueOf("e2e4 c7c5"), 0); // the branch point and its other line stay
    EXPECT_EQ(valueOf("e2e4"), 0);
    // From the branch point Black now only finds the other line.
    playGame("e2e4");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(choose(), "c7-c5  ");
        playGame("e2e4");
    }
}

// Little-endian writers for the binary form.
void put32(std::vector<unsigned char>& bytes, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& bytes, uint32_t v) {
    bytes.push_back(static_cast<unsigned char>(v));
    bytes.push_back(static_cast<unsigned char>(v >> 8));
}
void putName(std::vector<unsigned char>& bytes, const std::string& name) {
    bytes.push_back(static_cast<unsigned char>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
}
void putRecord(std::vector<unsigned char>& bytes, const Position& position, int value, int name) {
    uint32_t key = computeHashKey(position);
    put32(bytes, computeHashLock(position));
    put16(bytes, key >> 16);
    put16(bytes, static_cast<uint16_t>(value));
    put16(bytes, key & 0xFFFF);
    put16(bytes, static_cast<uint16_t>(name));
}

TEST_F(BookTest, BinaryFormIsReadAsLaidOut) {
    std::vector<unsigned char> bytes;
    put32(bytes, 2);
    putName(bytes, "Sicilian Defence");
    putName(bytes, "Najdorf");
    putRecord(bytes, after("e2e4"), 2, 0);
    putRecord(bytes, after("e2e4 c7c5"), -1, 1);
    putRecord(bytes, after("d2d4"), -30000, 0); // an empty marker, not a position
    putRecord(bytes, after("c2c4"), 4, 77);     // a name index beyond the names
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5}); // a partial last record
    EXPECT_EQ(loadBinary(*book, bytes.data(), static_cast<long>(bytes.size())), 3);
    int name;
    EXPECT_EQ(valueOf("e2e4", &name), 2);
    EXPECT_STREQ(book->names[name], "Sicilian Defence");
    EXPECT_EQ(valueOf("e2e4 c7c5", &name), -1);
    EXPECT_STREQ(book->names[name], "Najdorf");
    EXPECT_EQ(valueOf("d2d4"), NoBookValue);
    EXPECT_EQ(valueOf("c2c4", &name), 4);
    EXPECT_EQ(name, -1);

    // Malformed name tables end the file cleanly.
    struct Bad {
        std::vector<unsigned char> bytes;
    };
    std::vector<unsigned char> huge;
    put32(huge, 0xFFFFFFFFu);
    putName(huge, "only one");
    std::vector<unsigned char> longName;
    put32(longName, 1);
    longName.push_back(120);
    longName.insert(longName.end(), 121, 'x');
    putRecord(longName, after("e2e4"), 2, 0);
    const Bad bad[] = {{{}}, {{1, 2}}, {huge}, {longName}};
    for (const Bad& b : bad) {
        loadBinary(*book, b.bytes.data(), static_cast<long>(b.bytes.size()));
        EXPECT_LE(book->nameCount, 1);
        for (int i = 0; i < book->nameCount; ++i) EXPECT_LT(std::strlen(book->names[i]), 64u);
    }
    EXPECT_EQ(valueOf("e2e4", &name), 2); // the last one: a long name cut to its slot
    EXPECT_EQ(std::string(book->names[name]), std::string(63, 'x'));
}

TEST_F(BookTest, MissingTextFallsBackToTheBinaryFile) {
    char folder[] = "/tmp/tavisk-book-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string text = std::string(folder) + "/lines.pgn";
    std::string binary = std::string(folder) + "/lines.bin";
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 0); // neither file: an empty book
    EXPECT_EQ(valueOf("e2e4"), NoBookValue);

    std::vector<unsigned char> bytes;
    put32(bytes, 0);
    putRecord(bytes, after("e2e4"), 2, -1);
    FILE* file = std::fopen(binary.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 1);
    EXPECT_EQ(valueOf("e2e4"), 2);

    file = std::fopen(text.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("[White \"W\"]\n[Black \"B\"]\n\n1. d4 d5 *\n", file);
    std::fclose(file);
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 2); // the text source wins
    EXPECT_EQ(valueOf("e2e4"), NoBookValue);
    EXPECT_EQ(valueOf("d2d4 d7d5"), 0);
    std::remove(text.c_str());
    std::remove(binary.c_str());
    rmdir(folder);
}

} // namespace
