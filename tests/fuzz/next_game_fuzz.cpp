// A multi-game file read game by game, as the opening book reads its source:
// every call ends, the tag fields stay terminated within their sizes, and the
// move text of each game plays on a fresh position.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

namespace {

bool terminated(const char* field, size_t size) { return std::memchr(field, '\0', size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  initSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::tmpfile();
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::rewind(file);
  std::vector<char> buffer(GameBufferSize);
  GameHeader header;
  // Each further game starts at an Event tag, so a file of n bytes holds at
  // most n / 6 + 1 of them.
  const size_t maxGames = size / 6 + 2;
  size_t games = 0;
  int more = 1;
  while (more) {
    more = readNextGame(file, buffer.data(), header);
    FUZZ_CHECK(terminated(buffer.data(), GameBufferSize), "move text not terminated");
    FUZZ_CHECK(terminated(header.white, sizeof header.white) && terminated(header.black, sizeof header.black) &&
                   terminated(header.event, sizeof header.event) && terminated(header.result, sizeof header.result) &&
                   terminated(header.timeControl, sizeof header.timeControl) &&
                   terminated(header.fen, sizeof header.fen),
               "tag field not terminated");
    Position position;
    setInitialPosition(position);
    playMoves(buffer.data(), position, nullptr, 198, nullptr, nullptr);
    const char* why = nullptr;
    FUZZ_CHECK(positionIsValid(position, false, &why), why ? why : "invalid position after a book game");
    FUZZ_CHECK(++games <= maxGames, "reader does not advance through the file");
  }
  std::fclose(file);
  return 0;
}
