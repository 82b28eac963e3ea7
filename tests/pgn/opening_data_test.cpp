// The shipped opening book source ("opening.pgn" in the program folder): every
// line plays move by move, its tags fit the book's name slots, and the book built
// from it stores every position of every line within its table limits.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/search/book.h"
#include "engine/session/session.h"

namespace {

using PositionKey = std::pair<uint32_t, uint32_t>;  // hashKey, hashLock

struct BookLine {
  std::string white;
  std::string black;
  std::vector<std::string> moves;   // the move tokens of the text
  int readerPlies = 0;              // moves the game-text reader plays
};

bool isMoveNumber(const std::string& token) {
  size_t digits = 0;
  while (digits < token.size() && std::isdigit(static_cast<unsigned char>(token[digits]))) ++digits;
  return digits > 0 && digits < token.size() && token.find_first_not_of('.', digits) == std::string::npos;
}

bool isResult(const std::string& token) {
  return token == "*" || token == "1-0" || token == "0-1" || token == "1/2-1/2";
}

// Reads the file game by game with the book's own reader and plays each line
// token by token; every token that is not a move number or a result must play.
class OpeningData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    initSession();
    char path[512];
    programFilePath(path, sizeof path, "opening.pgn");
    FILE* file = std::fopen(path, "r");
    ASSERT_NE(file, nullptr) << "no " << path;
    std::vector<char> text(GameBufferSize);
    GameHeader header;
    int more = 1;
    while (more) {
      more = readNextGame(file, text.data(), header);
      BookLine line;
      line.white = header.white;
      line.black = header.black;
      std::istringstream tokens(text.data());
      std::string token;
      while (tokens >> token) {
        if (token[0] == '[' || isMoveNumber(token) || isResult(token)) continue;
        line.moves.push_back(token);
      }
      Position scratch;
      setInitialPosition(scratch);
      line.readerPlies = playMoves(text.data(), scratch, nullptr, BookMaxPlies, nullptr, nullptr);
      lines().push_back(line);
    }
    std::fclose(file);
  }

  static std::vector<BookLine>& lines() {
    static std::vector<BookLine> all;
    return all;
  }
};

TEST_F(OpeningData, EveryLinePlaysWithNamesThatFitTheBook) {
  const std::vector<BookLine>& all = lines();
  ASSERT_GE(all.size(), 500u);
  std::set<std::string> openings;
  for (size_t g = 0; g < all.size(); ++g) {
    const BookLine& line = all[g];
    const std::string where = "game " + std::to_string(g + 1) + " (" + line.white + ": " + line.black + ")";
    // Both tags present (the reader's default is "X") and short enough for a name slot.
    EXPECT_NE(line.white, "X") << where;
    EXPECT_NE(line.black, "X") << where;
    EXPECT_LT(line.white.size(), static_cast<size_t>(BookNameSize)) << where;
    EXPECT_LT(line.black.size(), static_cast<size_t>(BookNameSize)) << where;
    EXPECT_GE(line.moves.size(), 6u) << where;
    EXPECT_LE(line.moves.size(), 16u) << where;
    openings.insert(line.white);

    Position position;
    setInitialPosition(position);
    for (const std::string& move : line.moves) {
      if (playMoveText(move.c_str(), position, 0, nullptr) != 1) {
        ADD_FAILURE() << where << ": " << move << " cannot be played";
        break;
      }
    }
    // The book's reader plays the same moves from the same text.
    EXPECT_EQ(line.readerPlies, static_cast<int>(line.moves.size())) << where;
  }
  // A broad book, not a handful of openings repeated.
  EXPECT_GE(openings.size(), 60u);
}

TEST_F(OpeningData, BookHoldsEveryPositionWithinItsLimits) {
  const std::vector<BookLine>& all = lines();
  std::set<PositionKey> distinct;
  for (const BookLine& line : all) {
    Position position;
    setInitialPosition(position);
    for (const std::string& move : line.moves) {
      ASSERT_EQ(playMoveText(move.c_str(), position, 0, nullptr), 1) << line.white << ": " << move;
      distinct.emplace(computeHashKey(position), computeHashLock(position));
    }
  }

  auto book = std::make_unique<OpeningBook>();
  EXPECT_EQ(buildOrLoad(*book, "opening.pgn"), static_cast<int>(distinct.size()));
  // Nothing was dropped for want of chain links, and every game got its names.
  EXPECT_LT(book->overflowUsed, BookOverflowCount);
  EXPECT_EQ(book->positionCount, static_cast<int>(distinct.size()));
  ASSERT_EQ(book->nameCount, static_cast<int>(2 * all.size()));
  ASSERT_LE(book->nameCount, BookNameCount);
  std::printf("opening book: %zu lines, %d positions, %d of %d overflow links, %d names\n", all.size(),
              book->positionCount, book->overflowUsed, BookOverflowCount, book->nameCount);

  for (size_t g = 0; g < all.size(); ++g) {
    const BookLine& line = all[g];
    EXPECT_EQ(line.white, book->names[2 * g]) << "game " << g + 1;
    EXPECT_EQ(line.black, book->names[2 * g + 1]) << "game " << g + 1;
    Position position;
    setInitialPosition(position);
    for (const std::string& move : line.moves) {
      playMoveText(move.c_str(), position, 0, nullptr);
      int name = -1;
      ASSERT_EQ(lookupByKeys(*book, computeHashKey(position), computeHashLock(position), name), 0)
          << line.white << ": " << line.black << " after " << move;
      // Named by this game or an earlier one that reached the position first.
      EXPECT_GE(name, 0);
      EXPECT_LE(name, static_cast<int>(2 * g + 1));
    }
  }
}

}  // namespace
