// The binary opening book of any content: loading stays within the book's
// tables, every name is terminated, and lookups on the loaded book work.
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/position.h"
#include "engine/search/book.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

namespace {

std::unique_ptr<OpeningBook> book;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  initSession();
  book = std::make_unique<OpeningBook>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int count = loadBinary(*book, data, static_cast<long>(size));
  FUZZ_CHECK(count == book->positionCount, "returned count");
  FUZZ_CHECK(count >= 0 && count <= BookSlotCount + BookOverflowCount, "position count");
  FUZZ_CHECK(book->overflowUsed >= 0 && book->overflowUsed <= BookOverflowCount, "overflow in use");
  FUZZ_CHECK(book->nameCount >= 0 && book->nameCount <= BookNameCount, "name count");
  for (int i = 0; i < book->nameCount; ++i) {
    FUZZ_CHECK(std::memchr(book->names[i], '\0', BookNameSize) != nullptr, "name not terminated");
  }
  // Every stored entry is found again by its keys; its name is in range.
  int found = 0;
  for (const BookEntry& entry : book->slots) {
    if (entry.value == NoBookValue) continue;
    FUZZ_CHECK(entry.name >= -1 && entry.name < book->nameCount, "entry name index");
    FUZZ_CHECK(entry.next == BookNoLink || (entry.next >= 0 && entry.next < book->overflowUsed), "chain link");
    ++found;
  }
  FUZZ_CHECK(found <= count, "more primary entries than positions");

  Position position;
  setInitialPosition(position);
  int name = 0;
  lookup(*book, position, name);
  BookMove moves[BookMaxMoves];
  int n = bookMoves(*book, position, moves, BookMaxMoves);
  FUZZ_CHECK(n >= 0 && n <= BookMaxMoves, "book move count");
  return 0;
}
