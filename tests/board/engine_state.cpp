// Engine state the board tests set directly; no Qt here (the book's record has
// a field named like a Qt keyword).
#include "engine/search/book.h"

void forgetOpeningName() { openingBook.currentName = -1; }
