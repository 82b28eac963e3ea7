#include "ui/board/bookname.h"

#include "engine/search/book.h"

const char* currentBookOpening() {
    return currentOpeningName(openingBook);
}
