// Self-play through the command language in one process: every engine move is a
// legal move of the position before it, every game ends by the rules or at the
// record's limit, and the process does not grow from game to game.
// TAVISK_SOAK_GAMES sets the number of games (a longer run).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>

#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/position.h"
#include "engine/search/results.h"
#include "engine/search/worker.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"

#if defined(__SANITIZE_ADDRESS__)
#define TAVISK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVISK_ASAN 1
#endif
#endif

namespace {

int gamesToPlay() {
  const char* value = std::getenv("TAVISK_SOAK_GAMES");
  int games = value ? std::atoi(value) : 0;
#ifdef TAVISK_ASAN
  constexpr int CiGames = 50;  // the sanitizer build plays several times slower
#else
  constexpr int CiGames = 200;
#endif
  return games > 0 ? games : CiGames;
}

long residentKilobytes() {
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (!file) return 0;
  long pages = 0, resident = 0;
  if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(file);
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool workerIdle() {
  return engineSession.searchState == 0 && idleEvent.isSet() && !wakeEvent.isSet();
}

bool waitForWorker(int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!workerIdle()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// Why a game that gameOver ended has ended.
std::string ending(const Position& pos) {
  int side = pos.sideToMove;
  int legal = countLegalMoves(pos, side);
  if (legal == Checkmated) return "mate";
  if (legal == Stalemated) return "stalemate";
  if (pos.ply - pos.lastIrreversiblePly >= 100) return "fifty moves";
  if (pos.whitePawnCount == 0 && pos.blackPawnCount == 0 && pos.whitePieceCount <= 2 && pos.blackPieceCount <= 2)
    return "material";
  return "repetition";
}

// Engine replies would flood the test log; they go to /dev/null meanwhile.
class QuietOutput {
 public:
  QuietOutput() {
    std::fflush(stdout);
    saved_ = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietOutput() {
    std::fflush(stdout);
    dup2(saved_, 1);
    close(saved_);
  }

 private:
  int saved_;
};

TEST(Soak, SelfPlayGamesAreLegalAndEnd) {
  const int games = gamesToPlay();
  std::map<std::string, int> endings;
  long plies = 0;
  long memoryAfterWarmUp = 0;
  long memoryAtEnd = 0;
  {
    QuietOutput quiet;
    startEngine();
    for (int game = 0; game < games; ++game) {
      processCommand("new\n");
      processCommand("easy\n");
      processCommand("force\n");
      processCommand("sd 2\n");
      engineOptions.resignAllowed = 0;
      engineOptions.drawOffersAllowed = 0;
      engineOptions.saveEngineGames = 0;
      for (;;) {
        Position& pos = engineSession.gamePosition;
        if (gameOver(pos)) {
          ++endings[ending(pos)];
          break;
        }
        if (gameRecord.plyCount >= RecordStopPly) {
          ++endings["record limit"];
          break;
        }
        const Position before = pos;
        processCommand("go\n");
        ASSERT_TRUE(waitForWorker(20000)) << "game " << game << ": no move after 20 s";
        // One ply recorded, and that text plays the same move from the position before.
        ASSERT_EQ(pos.ply, before.ply + 1) << "game " << game;
        ASSERT_EQ(gameRecord.plyCount, before.ply) << "game " << game;
        Position replay = before;
        const char* text = gameRecord.longTexts[before.ply - 1];
        ASSERT_EQ(playMoveText(text, replay, 0, nullptr), 1) << "game " << game << ": " << text;
        ASSERT_EQ(std::memcmp(replay.board, pos.board, sizeof pos.board), 0) << "game " << game << ": " << text;
        ASSERT_EQ(replay.sideToMove, pos.sideToMove);
        const char* why = nullptr;
        ASSERT_TRUE(positionIsValid(pos, false, &why)) << why;
        ++plies;
      }
      if (game == 4) memoryAfterWarmUp = residentKilobytes();
    }
    memoryAtEnd = residentKilobytes();
  }
  std::string summary;
  for (const auto& [reason, count] : endings) summary += reason + " " + std::to_string(count) + ", ";
  std::printf("soak: %d games, %ld plies: %s\n", games, plies, summary.c_str());
  int ended = 0;
  for (const auto& entry : endings) ended += entry.second;
  EXPECT_EQ(ended, games);
#ifndef TAVISK_ASAN
  // The engine keeps its state in fixed tables; games must not add to it.
  EXPECT_LT(memoryAtEnd - memoryAfterWarmUp, 2048) << memoryAfterWarmUp << " kB after five games, "
                                                    << memoryAtEnd << " kB at the end";
#endif
}

}  // namespace
