#include "engine/search/book.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/search/ttable.h"
#include "engine/session/session.h"

OpeningBook openingBook;

namespace {

constexpr int BinaryRecordSize = 12;

BookEntry emptyEntry() {
    return BookEntry{0, BookNoLink, 0, static_cast<int16_t>(NoBookValue), -1};
}

bool isEmpty(const BookEntry& entry) {
    return entry.value == NoBookValue;
}

bool matches(const BookEntry& entry, uint32_t hashLock, uint16_t keyHigh) {
    return entry.check == hashLock && entry.keyHigh == keyHigh;
}

BookEntry* linkOf(OpeningBook& book, int32_t link) {
    return link >= 0 && link < book.overflowUsed ? &book.overflow[link] : nullptr;
}

const BookEntry* linkOf(const OpeningBook& book, int32_t link) {
    return link >= 0 && link < book.overflowUsed ? &book.overflow[link] : nullptr;
}

void storeName(OpeningBook& book, int index, const char* text) {
    std::snprintf(book.names[index], BookNameSize, "%.*s", BookNameSize - 1, text);
}

// Adding the positions of one book game as they are played.
struct BookGame {
    OpeningBook* book;
    int whiteName; // name index of White's positions
    int blackName; // name index of Black's positions
};

void addPlayedPosition(const Position& position, void* context) {
    BookGame& game = *static_cast<BookGame*>(context);
    // The side to move is the one that did not just move.
    int name = position.sideToMove == Black ? game.whiteName : game.blackName;
    addPosition(*game.book, computeHashKey(position), computeHashLock(position), 0, name, 1);
}

int buildFromFile(OpeningBook& book, FILE* file) {
    static char text[GameBufferSize];
    GameHeader header;
    for (int g = 0; g < BookMaxGames; ++g) {
        int more = readNextGame(file, text, header);
        bool hasGame =
            text[0] != '\0' || std::strcmp(header.white, "X") != 0 || std::strcmp(header.black, "X") != 0;
        if (hasGame) {
            // Two names per game while the name table has room; later games add
            // their positions without a name.
            BookGame game{&book, -1, -1};
            if (book.nameCount + 2 <= BookNameCount) {
                game.whiteName = book.nameCount;
                game.blackName = book.nameCount + 1;
                storeName(book, game.whiteName, header.white);
                storeName(book, game.blackName, header.black);
                book.nameCount += 2;
                if (header.black[0] == '?') game.blackName = game.whiteName;
            }
            Position position;
            setInitialPosition(position);
            playMoves(text, position, nullptr, BookMaxPlies, addPlayedPosition, &game);
        }
        if (!more) break;
    }
    return book.positionCount;
}

// Reads the binary form: the name table, then 12-byte position records to the end.
int loadBinaryFile(OpeningBook& book, FILE* file) {
    unsigned char word[4];
    if (std::fread(word, 1, 4, file) != 4) return book.positionCount;
    uint32_t names = word[0] | (word[1] << 8) | (word[2] << 16) | (static_cast<uint32_t>(word[3]) << 24);
    for (uint32_t i = 0; i < names; ++i) {
        int length = std::fgetc(file);
        if (length == EOF) return book.positionCount;
        int bytes = static_cast<signed char>(length) + 1; // the text and its zero
        if (bytes < 0) bytes = 0;
        char text[256];
        if (bytes > 0 && std::fread(text, 1, bytes, file) != static_cast<size_t>(bytes)) {
            return book.positionCount;
        }
        text[bytes > 0 ? bytes - 1 : 0] = '\0';
        if (book.nameCount < BookNameCount) storeName(book, book.nameCount++, text);
    }
    unsigned char record[BinaryRecordSize];
    while (std::fread(record, 1, BinaryRecordSize, file) == BinaryRecordSize) {
        uint32_t lock =
            record[0] | (record[1] << 8) | (record[2] << 16) | (static_cast<uint32_t>(record[3]) << 24);
        uint32_t keyHigh = record[4] | (record[5] << 8);
        int value = static_cast<int16_t>(record[6] | (record[7] << 8));
        uint32_t keyLow = record[8] | (record[9] << 8);
        int name = static_cast<int16_t>(record[10] | (record[11] << 8));
        if (value == NoBookValue) continue; // would read as an empty slot
        if (name < 0 || name >= book.nameCount) name = -1;
        addPosition(book, (keyHigh << 16) | keyLow, lock, value, name, 1);
    }
    return book.positionCount;
}

// The ".bin" name: the file name with everything from its first '.' replaced.
void binaryName(char* buffer, size_t size, const char* path) {
    std::snprintf(buffer, size, "%s", path);
    char* name = std::strrchr(buffer, '/');
    name = name ? name + 1 : buffer;
    char* dot = std::strchr(name, '.');
    size_t at = dot ? static_cast<size_t>(dot - buffer) : std::strlen(buffer);
    if (at + 5 <= size) std::memcpy(buffer + at, ".bin", 5);
}

bool goodForMover(int value, int colour) {
    return colour == White ? value >= 0 : value <= 0;
}

} // namespace

void clearBook(OpeningBook& book) {
    for (BookEntry& entry : book.slots) entry = emptyEntry();
    for (BookEntry& entry : book.overflow) entry = emptyEntry();
    book.overflowUsed = 0;
    book.positionCount = 0;
    std::memset(book.names, 0, sizeof book.names);
    book.nameCount = 0;
    book.currentName = -1;
}

int buildOrLoad(OpeningBook& book, const char* fileName) {
    clearBook(book);
    char path[BookFileNameSize + 256];
    if (std::strchr(fileName, '/')) {
        std::snprintf(path, sizeof path, "%s", fileName);
    } else {
        programFilePath(path, sizeof path, fileName);
    }
    FILE* file = std::fopen(path, "r");
    if (file) {
        buildFromFile(book, file);
        std::fclose(file);
        resetEngineGame();
        return book.positionCount;
    }
    char binary[sizeof path];
    binaryName(binary, sizeof binary, path);
    file = std::fopen(binary, "rb");
    if (file) {
        loadBinaryFile(book, file);
        std::fclose(file);
    }
    return book.positionCount;
}

int buildFromText(OpeningBook& book, const char* text) {
    clearBook(book);
    FILE* file = fmemopen(const_cast<char*>(text), std::strlen(text), "r");
    if (!file) return 0;
    buildFromFile(book, file);
    std::fclose(file);
    return book.positionCount;
}

int loadBinary(OpeningBook& book, const unsigned char* data, long size) {
    clearBook(book);
    if (size <= 0) return 0;
    FILE* file = fmemopen(const_cast<unsigned char*>(data), size, "rb");
    if (!file) return 0;
    loadBinaryFile(book, file);
    std::fclose(file);
    return book.positionCount;
}

void addPosition(OpeningBook& book, uint32_t hashKey, uint32_t hashLock, int value, int nameIndex,
                 int quiet) {
    (void)quiet;
    uint16_t keyHigh = static_cast<uint16_t>(hashKey >> 16);
    BookEntry* entry = &book.slots[hashKey & BookSlotMask];
    for (;;) {
        if (isEmpty(*entry)) {
            *entry = BookEntry{hashLock, BookNoLink, keyHigh, static_cast<int16_t>(value),
                               static_cast<int16_t>(nameIndex)};
            ++book.positionCount;
            return;
        }
        if (matches(*entry, hashLock, keyHigh)) {
            // 101 counts a position up; the name of the first game that reached it stays.
            if (value == 101) {
                if (entry->value > 100 && entry->value < 32767) ++entry->value;
            } else {
                entry->value = static_cast<int16_t>(value);
            }
            return;
        }
        BookEntry* next = linkOf(book, entry->next);
        if (!next) break;
        entry = next;
    }
    // End of the chain: a new link, or the position is dropped when none is left.
    if (book.overflowUsed >= BookOverflowCount) return;
    int32_t link = book.overflowUsed++;
    book.overflow[link] = BookEntry{hashLock, BookNoLink, keyHigh, static_cast<int16_t>(value),
                                    static_cast<int16_t>(nameIndex)};
    entry->next = link;
    ++book.positionCount;
}

int lookupByKeys(const OpeningBook& book, uint32_t hashKey, uint32_t hashLock, int& nameIndex) {
    nameIndex = -1;
    uint16_t keyHigh = static_cast<uint16_t>(hashKey >> 16);
    for (const BookEntry* entry = &book.slots[hashKey & BookSlotMask]; entry && !isEmpty(*entry);
         entry = linkOf(book, entry->next)) {
        if (matches(*entry, hashLock, keyHigh)) {
            nameIndex = entry->name;
            return entry->value;
        }
    }
    return NoBookValue;
}

int lookup(const OpeningBook& book, const Position& position, int& nameIndex) {
    return lookupByKeys(book, computeHashKey(position), computeHashLock(position), nameIndex);
}

int removePosition(OpeningBook& book, const Position& position) {
    return removeByKeys(book, computeHashKey(position), computeHashLock(position));
}

int removeByKeys(OpeningBook& book, uint32_t hashKey, uint32_t hashLock) {
    uint16_t keyHigh = static_cast<uint16_t>(hashKey >> 16);
    BookEntry* primary = &book.slots[hashKey & BookSlotMask];
    BookEntry* previous = nullptr;
    for (BookEntry* entry = primary; entry && !isEmpty(*entry); entry = linkOf(book, entry->next)) {
        if (!matches(*entry, hashLock, keyHigh)) {
            previous = entry;
            continue;
        }
        if (previous) {
            previous->next = entry->next; // unlink an overflow entry
            *entry = emptyEntry();
        } else if (BookEntry* successor = linkOf(book, entry->next)) {
            *entry = *successor; // the primary entry takes over its successor
            *successor = emptyEntry();
        } else {
            *entry = emptyEntry();
        }
        --book.positionCount;
        return 1;
    }
    return 0;
}

int bookMoves(const OpeningBook& book, const Position& position, BookMove* moves, int maxMoves) {
    int colour = position.sideToMove;
    engineSession.promotionChoice = Queen;
    MoveList list;
    generateMovesWithCheck(position, list, colour);
    int found = 0;
    int total = list.count();
    for (int k = 0; k < total && found < maxMoves; ++k) {
        int32_t move = list.move(k);
        Position next = position;
        uint32_t changed, former;
        makeMove(next, move, changed, former, Queen);
        if (inCheck(next, colour)) continue;
        int name;
        int value = lookup(book, next, name);
        if (value == NoBookValue) continue;
        // A book move never repeats an earlier position of the game.
        next.hashKey = computeHashKey(next);
        next.hashLock = computeHashLock(next);
        if (repetitionCount(fullIndexKey(next), next) != 0) continue;
        moves[found++] = BookMove{move, value, name};
    }
    return found;
}

int chooseBookMove(OpeningBook& book, Position& position, int32_t& move) {
    // 1. No name until a move is played.
    book.currentName = -1;
    if (position.ply >= BookMaxPly) return NoBookValue;
    std::srand(tickCount());
    // 2. The book moves that are good for the side to move.
    BookMove all[BookMaxMoves];
    int count = bookMoves(book, position, all, BookMaxMoves);
    BookMove good[BookMaxMoves];
    int goodCount = 0;
    for (int i = 0; i < count; ++i) {
        if (goodForMover(all[i].value, position.sideToMove)) good[goodCount++] = all[i];
    }
    if (goodCount == 0) return NoBookValue;
    // 3. Up to three draws, which favour moves of value 2 and avoid value 0.
    const BookMove* chosen = &good[std::rand() % goodCount];
    if (chosen->value != 2 && chosen->value != -2) chosen = &good[std::rand() % goodCount];
    if (chosen->value == 0) chosen = &good[std::rand() % goodCount];
    // 4. Record it, name the opening, play it.
    engineSession.promotionChoice = Queen;
    recordMove(&gameRecord, chosen->move, position);
    book.currentName = chosen->name;
    uint32_t changed, former;
    makeMove(position, chosen->move, changed, former, Queen);
    move = chosen->move;
    return chosen->value;
}

void learnFromLoss(OpeningBook& book, int result) {
    if (result != WhiteWon && result != BlackWon) return;
    int winner = result == WhiteWon ? White : Black;
    int start = engineSession.gamePosition.ply - 1;
    if (start > 60) start = 60;
    BookMove moves[BookMaxMoves];
    for (int ply = start; ply >= 1; --ply) {
        Position position;
        goToPly(position, ply);
        if (position.sideToMove == winner) {
            removePosition(book, position); // the engine's move led here
        } else if (bookMoves(book, position, moves, BookMaxMoves) > 0) {
            return; // the last point where the book still branches
        }
    }
}

const char* currentOpeningName(const OpeningBook& book) {
    if (book.currentName < 0 || book.currentName >= book.nameCount) return "";
    return book.names[book.currentName];
}

void resetOpeningName(OpeningBook& book) {
    book.currentName = -1;
}
