// Engine state the board tests set directly; no Qt here (the book's record has
// a field named like a Qt keyword).
#include <cstdio>

#include "engine/search/book.h"

void forgetOpeningName() {
    resetOpeningName(openingBook);
}

void setOpeningName(const char* name) {
    std::snprintf(openingBook.names[0], sizeof openingBook.names[0], "%s", name);
    if (openingBook.nameCount < 1) openingBook.nameCount = 1;
    openingBook.currentName = 0;
}
