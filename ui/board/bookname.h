#pragma once
// The opening book's name for the current game, for the status area. Kept in a
// file of its own without Qt: the book's record has a field named like one of
// Qt's keywords.

// The name of the opening of the game in progress; empty when out of the book.
const char* currentBookOpening();
