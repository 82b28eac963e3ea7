// A storm of commands against the engine program while its worker searches:
// random interleavings of searches, stops, takebacks, moves, new positions and
// analysis, with a "ping" every few commands. The engine must stay alive and
// answer every "ping N" with "pong N" within the bound.
// TAVISK_STORM_COMMANDS sets the number of commands (a longer run),
// TAVISK_STORM_SEED the random seed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/session/engine_process.h"

namespace {

constexpr int PongBoundMs = 10000;  // generous: the test run shares its cores

long setting(const char* name, long fallback) {
  const char* value = std::getenv(name);
  long number = value ? std::atol(value) : 0;
  return number > 0 ? number : fallback;
}

const char* const Moves[] = {
    "e2e4", "e7e5", "g1f3", "b8c6", "d2d4", "d7d5", "c2c4", "g8f6", "f1c4", "e1g1", "e8g8",
    "e1c1", "e7e8q", "a7a8n", "h2h1q", "e2e5", "z9z9", "a1a1",
};
const char* const Fens[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "4k3/P7/8/8/8/8/7p/4K3 w - - 0 1",
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",      // stalemate
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",  // mate in one
    "8/8/8/8/8/8/8/8 w - - 0 1",            // no kings: refused
    "rnbqkbnr/pppppppp/8 w",                // cut short: refused
};

TEST(Storm, EveryPingIsAnsweredWithinTheBound) {
  const long commands = setting("TAVISK_STORM_COMMANDS", 600);
  const unsigned seed = static_cast<unsigned>(setting("TAVISK_STORM_SEED", 20261209));
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

  EngineProcess engine;
  ASSERT_TRUE(engine.started());
  engine.send("xboard");
  engine.send("new");
  engine.send("sd 4");

  long sent = 0;
  int pings = 0;
  long longestMs = 0;
  while (sent < commands) {
    std::string line;
    switch (pick(14)) {
      case 0: case 1: line = "go"; break;
      case 2: line = "?"; break;
      case 3: line = "force"; break;
      case 4: line = "new"; break;
      case 5: line = pick(2) ? "undo" : "remove"; break;
      case 6: case 7: line = Moves[pick(sizeof Moves / sizeof Moves[0])]; break;
      case 8: line = std::string("setboard ") + Fens[pick(sizeof Fens / sizeof Fens[0])]; break;
      case 9: line = "analyze"; break;
      case 10: line = "exit"; break;
      case 11: line = "sd " + std::to_string(1 + pick(5)); break;
      case 12: line = pick(2) ? "hard" : "easy"; break;
      default: line = "ping " + std::to_string(++pings); break;
    }
    engine.send(line);
    ++sent;
    if (line.rfind("ping ", 0) == 0) {
      auto start = std::chrono::steady_clock::now();
      std::string answer = engine.readUntil("pong", PongBoundMs);
      long ms = static_cast<long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
      ASSERT_EQ(answer, "pong " + std::to_string(pings)) << "after " << sent << " commands, seed " << seed;
      if (ms > longestMs) longestMs = ms;
      engine.seen.clear();
    }
  }
  // A last ping after everything, then the program ends on "quit".
  engine.send("ping 0");
  ASSERT_EQ(engine.readUntil("pong", PongBoundMs), "pong 0");
  engine.send("quit");
  EXPECT_TRUE(engine.ended(5000));
  std::printf("storm: %ld commands, %d pings, longest ping answer %ld ms, seed %u\n", sent + 1, pings + 1,
              longestMs, seed);
}

}  // namespace
