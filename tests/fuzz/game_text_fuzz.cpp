// A whole game text in memory, as a loaded file or "autosave.pgn" gives it: the
// engine's game afterwards is a valid position whose record replays to it.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  initSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);  // zero-terminated copy
  loadGameText(text.c_str());
  const char* why = nullptr;
  FUZZ_CHECK(positionIsValid(engineSession.gamePosition, false, &why), why ? why : "invalid game position");
  FUZZ_CHECK(gameRecord.plyCount >= 0 && gameRecord.plyCount <= RecordCapacity, "record length");
  // Replaying the record to its end reaches a valid position as well.
  Position replay;
  goToPly(replay, gameRecord.plyCount + 1);
  FUZZ_CHECK(positionIsValid(replay, false, &why), why ? why : "invalid replayed position");
  return 0;
}
