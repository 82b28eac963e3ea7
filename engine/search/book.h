#pragma once
// The opening book: a set of positions keyed by the two position keys, built at
// engine start from a PGN file of opening lines (or its binary ".bin" form) and
// consulted by the root search before it searches.

#include <cstdint>

struct Position;

constexpr int BookSlotCount = 16384; // primary entries, indexed by hashKey & BookSlotMask
constexpr uint32_t BookSlotMask = 16383;
constexpr int BookOverflowCount = 2500; // further chain links, handed out in order
constexpr int BookNameCount = 8192;     // name texts (two per book game)
constexpr int BookNameSize = 64;        // bytes per name text, terminating zero included
constexpr int BookMaxGames = 99999;     // games read from the text source at most
constexpr int BookMaxPlies = 198;       // plies of a book game that are used
constexpr int BookMaxPly = 70;          // the book is consulted only below this ply
constexpr int NoBookValue = -30000;     // empty entry / no book move
constexpr int BookNoLink = -1;          // end of a chain
constexpr int BookMaxMoves = 256;       // book moves of one position at most

// One stored position.
struct BookEntry {
    uint32_t check;   // hashLock of the position
    int32_t next;     // index into overflow of the next chain link, BookNoLink for none
    uint16_t keyHigh; // hashKey >> 16
    int16_t value;    // NoBookValue = empty; book value from White's view
    int16_t name;     // index into names, -1 for none
};

struct OpeningBook {
    BookEntry slots[BookSlotCount];          // primary entries
    BookEntry overflow[BookOverflowCount];   // chain links
    int32_t overflowUsed;                    // overflow entries in use
    int32_t positionCount;                   // positions stored
    char names[BookNameCount][BookNameSize]; // opening and variation names
    int32_t nameCount;                       // names stored
    int32_t currentName;                     // name index of the last book move played, -1 for none
};

// A legal move of the side to move that leads to a book position.
struct BookMove {
    int32_t move; // move word
    int value;    // book value of the resulting position
    int name;     // its name index
};

// The engine's book, filled once at engine start.
extern OpeningBook openingBook;

// Empties the book: every slot empty, no names, no current name.
void clearBook(OpeningBook& book);

// Builds the book from the text file fileName (a path); if it cannot be opened,
// loads the file of the same name with ".bin" in place of its extension.
// Returns the number of positions stored.
int buildOrLoad(OpeningBook& book, const char* fileName);

// Builds the book from PGN text in memory (the same steps as the file source).
int buildFromText(OpeningBook& book, const char* text);

// Loads the binary form from a buffer of size bytes; records beyond a
// malformed name table or a partial last record are ignored.
int loadBinary(OpeningBook& book, const unsigned char* data, long size);

// The book value of the position (keys computed from scratch) or NoBookValue,
// and its name index (-1 when not found).
int lookup(const OpeningBook& book, const Position& position, int& nameIndex);

// The same by the position's keys.
int lookupByKeys(const OpeningBook& book, uint32_t hashKey, uint32_t hashLock, int& nameIndex);

// Stores or updates a position by its keys; drops it silently when the chains
// are full (quiet: the loader's mode; nothing is reported either way).
void addPosition(OpeningBook& book, uint32_t hashKey, uint32_t hashLock, int value, int nameIndex, int quiet);

// Removes the position from the book; 1 if it was there.
int removePosition(OpeningBook& book, const Position& position);
int removeByKeys(OpeningBook& book, uint32_t hashKey, uint32_t hashLock);

// Fills moves with the legal moves of the side to move that lead to book positions
// not seen before in the game; returns their number (at most maxMoves).
int bookMoves(const OpeningBook& book, const Position& position, BookMove* moves, int maxMoves);

// Chooses a book move for the position: records it in the game record, plays it on
// the position, stores it in move and returns its value; NoBookValue when there is none.
int chooseBookMove(OpeningBook& book, Position& position, int32_t& move);

// After a lost game (result 1 = White won, 2 = Black won): cuts the engine's losing
// book line back to its last branching point.
void learnFromLoss(OpeningBook& book, int result);

// The name of the opening being played, or an empty text.
const char* currentOpeningName(const OpeningBook& book);

// Forgets the opening name (a new game).
void resetOpeningName(OpeningBook& book);
