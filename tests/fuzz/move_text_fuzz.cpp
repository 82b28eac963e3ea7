// Move texts on a few positions: the first byte picks the position, the rest
// (cut at the first zero) is the text. A failed move leaves the position as it
// was; a played one leaves a valid position with the other side to move.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

namespace {

const char* const Positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/pPppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",  // castling, promotion
    "r3k2r/8/8/8/3pP3/8/8/R3K2R b KQkq e3 0 1",                                // en passant, Black
    "8/P6k/8/8/8/8/6Kp/8 w - - 0 1",                                            // promotions both sides
    "4k3/8/8/8/8/8/4q3/4K3 w - - 0 1",                                          // in check
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  initSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char* fen = Positions[data[0] % (sizeof Positions / sizeof Positions[0])];
  Position position;
  FUZZ_CHECK(readFen(position, fen, std::strlen(fen)), "seed position");
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text = text.c_str();  // the readers take zero-terminated texts

  ParsedMove parsed = parseMoveText(text.c_str(), position);
  FUZZ_CHECK(parsed.toColumn >= -1 && parsed.toColumn <= 7 && parsed.toRow >= -1 && parsed.toRow <= 7 &&
                 parsed.fromColumn >= -1 && parsed.fromColumn <= 7 && parsed.fromRow >= -1 && parsed.fromRow <= 7,
             "parsed squares out of range");

  const Position before = position;
  GameRecord* record = new GameRecord();
  int played = playMoveText(text.c_str(), position, 1, record);
  if (!played) {
    FUZZ_CHECK(std::memcmp(&position, &before, sizeof position) == 0, "unplayed move changed the position");
    FUZZ_CHECK(record->plyCount == 0, "unplayed move was recorded");
  } else {
    FUZZ_CHECK(position.sideToMove != before.sideToMove, "played move left the side to move");
    if (std::strncmp(text.c_str(), "Null", 4) != 0) {
      const char* why = nullptr;
      FUZZ_CHECK(positionIsValid(position, false, &why), why ? why : "invalid position after a move");
      FUZZ_CHECK(record->plyCount == before.ply, "played move not recorded at its ply");
    }
  }
  delete record;
  return 0;
}
