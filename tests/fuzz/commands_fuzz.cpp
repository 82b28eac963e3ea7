// The command language fed a sequence of lines (the input, cut at line ends)
// while the worker thread runs: no crash, no hang, and once the engine is told
// to stop, the game position is valid.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/position.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

namespace {

constexpr size_t MaxLines = 32;        // lines of one input
constexpr size_t MaxLineLength = 200;  // longer lines are cut
unsigned inputs = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Replies would drown the fuzzer's own output.
  if (!std::freopen("/dev/null", "w", stdout)) return 0;
  startEngine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A shallow search keeps each input quick; the input may change it.
  processCommand("new\n");
  processCommand("sd 2\n");
  size_t lines = 0;
  size_t at = 0;
  while (at < size && lines < MaxLines) {
    size_t end = at;
    while (end < size && data[end] != '\n') ++end;
    std::string line(reinterpret_cast<const char*>(data + at), std::min(end - at, MaxLineLength));
    line = line.c_str();  // a zero byte ends the command
    line += '\n';
    processCommand(line.c_str());
    ++lines;
    at = end + 1;
  }
  // Stop whatever runs, then the game must be a valid position.
  processCommand("force\n");
  FUZZ_CHECK(engineSession.searchState == 0, "worker still searching after force");
  const char* why = nullptr;
  FUZZ_CHECK(positionIsValid(engineSession.gamePosition, false, &why), why ? why : "invalid game position");
  processCommand("new\n");
  // "result" appends finished games to the engine's games file; keep it small.
  if (++inputs % 1000 == 0) {
    char path[512];
    programFilePath(path, sizeof path, "WinboardGames.pgn");
    std::remove(path);
  }
  return 0;
}
