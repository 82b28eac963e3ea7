// The opening book: building from game texts and from the binary form, its
// chains and limits, the choice of a book move, and learning from a lost game.

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

    // Plays space-separated move texts on the position (recorded when it is the game's).
    static void play(Position& position, const std::string& moves) {
        size_t at = 0;
        bool game = &position == &engineSession.gamePosition;
        while ((at = moves.find_first_not_of(' ', at)) != std::string::npos) {
            size_t end = moves.find(' ', at);
            std::string token = moves.substr(at, end - at);
            ASSERT_EQ(playMoveText(token.c_str(), position, game, game ? &gameRecord : nullptr), 1) << token;
            at = end;
        }
    }
    static Position after(const std::string& moves) {
        Position position;
        setInitialPosition(position);
        play(position, moves);
        return position;
    }
    static void newGameWith(const std::string& moves) {
        newGame();
        play(engineSession.gamePosition, moves);
    }

    int valueOf(const std::string& moves, std::string* name = nullptr) {
        int index;
        int value = lookup(*book, after(moves), index);
        if (name) *name = index >= 0 ? book->names[index] : "-";
        return value;
    }

    // The long text of the book move chosen on the game position, or "none".
    std::string choose() {
        int32_t move = 0;
        if (chooseBookMove(*book, engineSession.gamePosition, move) == NoBookValue) return "none";
        return gameRecord.longTexts[gameRecord.plyCount - 1];
    }

    void mark(const std::string& moves, int value) {
        Position position = after(moves);
        addPosition(*book, computeHashKey(position), computeHashLock(position), value, 0, 1);
    }

    std::unique_ptr<OpeningBook> book;
};

TEST_F(BookTest, BuildsPositionsWithTheirNames) {
    EXPECT_EQ(buildFromText(
                  *book,
                  "[Event \"1\"]\n[White \"Open Game\"]\n[Black \"?\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n"
                  "[Event \"2\"]\n[White \"Reti Opening\"]\n[Black \"Transposed\"]\n\n1. Nf3 Nc6 2. e4 e5\n\n"
                  "[Event \"3\"]\n[White \"Queen's Gambit\"]\n[Black \"Declined\"]\n\n1. d4 d5 2. Kd3 *\n"),
              4 + 3 + 2);
    EXPECT_EQ(book->nameCount, 6);
    const std::pair<const char*, const char*> rows[] = {
        {"e2e4", "Open Game"},
        {"e2e4 e7e5", "Open Game"}, // a Black tag "?" takes White's name
        {"g1f3", "Reti Opening"},
        {"g1f3 b8c6", "Transposed"},
        {"e2e4 e7e5 g1f3 b8c6", "Open Game"}, // a transposition keeps the first game's name
        {"d2d4 d7d5", "Declined"},            // the move that cannot be played is skipped
    };
    for (const auto& [moves, expected] : rows) {
        std::string name;
        EXPECT_EQ(valueOf(moves, &name), 0) << moves;
        EXPECT_EQ(name, expected) << moves;
    }
    EXPECT_EQ(valueOf(""), NoBookValue);
}

TEST_F(BookTest, ChainsUpdatesRemovalsAndLimits) {
    // Three positions in one slot (the same low 14 bits of the index key).
    const uint32_t keys[] = {0x00010005u, 0x00024005u, 0x00038005u};
    for (int i = 0; i < 3; ++i) addPosition(*book, keys[i], 100u + i, 10 * i, i, 1);
    EXPECT_EQ(book->overflowUsed, 2);
    int name;
    // 101 counts an entry above 100 up and leaves others; other values replace; names stay.
    addPosition(*book, keys[2], 102u, 150, 7, 1);
    addPosition(*book, keys[2], 102u, 101, 7, 1);
    addPosition(*book, keys[1], 101u, 101, 7, 1);
    EXPECT_EQ(lookupByKeys(*book, keys[2], 102u, name), 151);
    EXPECT_EQ(name, 2);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 101u, name), 10);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 999u, name), NoBookValue);
    // Removing the primary entry, then the one that took its place, keeps the rest.
    EXPECT_EQ(removeByKeys(*book, keys[0], 100u), 1);
    EXPECT_EQ(lookupByKeys(*book, keys[0], 100u, name), NoBookValue);
    EXPECT_EQ(lookupByKeys(*book, keys[1], 101u, name), 10);
    EXPECT_EQ(removeByKeys(*book, keys[1], 101u), 1);
    EXPECT_EQ(removeByKeys(*book, keys[1], 101u), 0);
    EXPECT_EQ(lookupByKeys(*book, keys[2], 102u, name), 151);
    EXPECT_EQ(book->positionCount, 1);

    // Far more positions than the book holds: the extra ones are dropped, none is lost.
    clearBook(*book);
    const uint32_t total = 30000;
    for (uint32_t i = 0; i < total; ++i) addPosition(*book, i * 2654435761u, i, 1, -1, 1);
    EXPECT_EQ(book->overflowUsed, BookOverflowCount);
    int found = 0;
    for (uint32_t i = 0; i < total; ++i) found += lookupByKeys(*book, i * 2654435761u, i, name) == 1;
    EXPECT_EQ(found, book->positionCount);
    EXPECT_LE(found, BookSlotCount + BookOverflowCount);
}

TEST_F(BookTest, ChoiceKeepsGoodMovesThatDoNotRepeat) {
    buildFromText(*book, "[Event \"a\"]\n[White \"A\"]\n\n1. e4 e5 *\n\n"
                         "[Event \"c\"]\n[White \"C\"]\n\n1. d4 d5 *\n\n"
                         "[Event \"e\"]\n[White \"E\"]\n\n1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 *\n");
    mark("e2e4", -5); // bad for White
    for (int i = 0; i < 20; ++i) {
        newGame();
        std::string move = choose();
        ASSERT_TRUE(move == "d2-d4  " || move == "Ng1-f3 ") << move;
        EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
        EXPECT_STREQ(currentOpeningName(*book), move == "d2-d4  " ? "C" : "E");
    }
    resetOpeningName(*book);
    EXPECT_STREQ(currentOpeningName(*book), "");

    // After 1. Nf3 Nf6 2. Ng1 Ng8 the book's 3. Nf3 would repeat a position.
    for (int i = 0; i < 10; ++i) {
        newGameWith("g1f3 g8f6 f3g1 f6g8");
        EXPECT_EQ(choose(), "d2-d4  ");
    }
    mark("d2d4", -3);
    newGameWith("g1f3 g8f6 f3g1 f6g8");
    EXPECT_EQ(choose(), "none");
    EXPECT_EQ(gameRecord.plyCount, 4);

    // From ply 70 on the book is not consulted.
    newGame();
    engineSession.gamePosition.ply = BookMaxPly;
    EXPECT_EQ(choose(), "none");
    engineSession.gamePosition.ply = BookMaxPly - 2;
    EXPECT_EQ(choose(), "Ng1-f3 ");
}

TEST_F(BookTest, LossAsBlackCutsTheLineBackToItsLastBranch) {
    buildFromText(*book,
                  "[Event \"a\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 *\n\n[Event \"c\"]\n\n1. e4 c5 2. Nf3 *\n");
    newGameWith("e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4");
    learnFromLoss(*book, WhiteWon);
    EXPECT_EQ(valueOf("e2e4 e7e5 g1f3 b8c6"), NoBookValue); // Black's moves of the line are gone
    EXPECT_EQ(valueOf("e2e4 e7e5"), NoBookValue);
    EXPECT_EQ(valueOf("e2e4 e7e5 g1f3"), 0); // White's stay, and so does the other line
    EXPECT_EQ(valueOf("e2e4 c7c5"), 0);
    EXPECT_EQ(valueOf("e2e4"), 0);
    for (int i = 0; i < 10; ++i) {
        newGameWith("e2e4");
        EXPECT_EQ(choose(), "c7-c5  ");
    }
}

// Little-endian pieces of the binary form.
void put(std::vector<unsigned char>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}
void putName(std::vector<unsigned char>& bytes, const std::string& name) {
    bytes.push_back(static_cast<unsigned char>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
}
void putRecord(std::vector<unsigned char>& bytes, const Position& position, int value, int name) {
    uint32_t key = computeHashKey(position);
    put(bytes, computeHashLock(position), 4);
    put(bytes, key >> 16, 2);
    put(bytes, static_cast<uint16_t>(value), 2);
    put(bytes, key & 0xFFFF, 2);
    put(bytes, static_cast<uint16_t>(name), 2);
}

TEST_F(BookTest, BinaryFormIsReadAsLaidOutAndServesAsFallback) {
    std::vector<unsigned char> bytes;
    put(bytes, 3, 4);
    putName(bytes, "Sicilian Defence");
    putName(bytes, "Najdorf");
    bytes.push_back(120); // a name longer than its slot
    bytes.insert(bytes.end(), 121, 'x');
    putRecord(bytes, after("e2e4"), 2, 0);
    putRecord(bytes, after("e2e4 c7c5"), -1, 2);
    putRecord(bytes, after("d2d4"), -30000, 0); // an empty marker, not a position
    putRecord(bytes, after("c2c4"), 4, 77);     // a name index beyond the names
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5}); // a partial last record

    char folder[] = "/tmp/tavisk-book-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string text = std::string(folder) + "/lines.pgn", binary = std::string(folder) + "/lines.bin";
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 0); // neither file: an empty book
    FILE* file = std::fopen(binary.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 3);
    std::string name;
    EXPECT_EQ(valueOf("e2e4", &name), 2);
    EXPECT_EQ(name, "Sicilian Defence");
    EXPECT_EQ(valueOf("e2e4 c7c5", &name), -1);
    EXPECT_EQ(name, std::string(63, 'x'));
    EXPECT_EQ(valueOf("d2d4"), NoBookValue);
    EXPECT_EQ(valueOf("c2c4", &name), 4);
    EXPECT_EQ(name, "-");

    // Name tables that run past the end of the data.
    std::vector<unsigned char> huge;
    put(huge, 0xFFFFFFFFu, 4);
    putName(huge, "only one");
    for (const auto& bad : {std::vector<unsigned char>{}, std::vector<unsigned char>{1, 2}, huge}) {
        EXPECT_EQ(loadBinary(*book, bad.data(), static_cast<long>(bad.size())), 0);
        EXPECT_LE(book->nameCount, 1);
    }

    file = std::fopen(text.c_str(), "w");
    std::fputs("[White \"W\"]\n\n1. d4 d5 *\n", file);
    std::fclose(file);
    EXPECT_EQ(buildOrLoad(*book, text.c_str()), 2); // the text source wins
    EXPECT_EQ(valueOf("e2e4"), NoBookValue);
    std::remove(text.c_str());
    std::remove(binary.c_str());
    rmdir(folder);
}

} // namespace
