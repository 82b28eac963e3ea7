// FEN text of any bytes: a rejected text leaves the target untouched; an
// accepted one gives a valid position whose written form reads back the same.
#include <cstdint>
#include <cstring>

#include "engine/core/fen.h"
#include "engine/core/position.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Position position;
  setInitialPosition(position);
  const Position before = position;
  if (!readFen(position, reinterpret_cast<const char*>(data), size)) {
    FUZZ_CHECK(std::memcmp(&position, &before, sizeof position) == 0, "rejected FEN changed the target");
    return 0;
  }
  const char* why = nullptr;
  FUZZ_CHECK(positionIsValid(position, true, &why), why ? why : "accepted FEN gave an invalid position");
  char text[FenBufferSize];
  int length = writeFen(text, position);
  FUZZ_CHECK(length > 0 && length < FenBufferSize, "written FEN length");
  Position again;
  FUZZ_CHECK(readFen(again, text, static_cast<size_t>(length)), "written FEN does not read back");
  char second[FenBufferSize];
  writeFen(second, again);
  FUZZ_CHECK(std::strcmp(text, second) == 0, "FEN round trip differs");
  return 0;
}
