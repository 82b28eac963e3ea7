#pragma once
// The game as PGN text, in the two dialects the program writes: the user-interface
// form (CR LF, into a caller's buffer) and the engine form (LF, appended to a file).
// Both carry the "CurrentPly" tag and write moves in the record's long form.

#include <cstddef>

// "1-0", "0-1", "1/2-1/2" for the result codes 1, 2, 3; "*" for any other value.
const char* resultText(int result);

// Writes the game (tags, then one ply per line) into buffer, which holds
// bufferSize bytes. The text always ends with a zero inside the buffer; when the
// whole game does not fit, the text stops after the last ply line that fits and
// still carries the closing empty lines when room allows. Returns the number of
// characters written, the zero not counted.
int writeGameText(int result, char* buffer, size_t bufferSize);

// Appends (append = 1, else overwrites) the game in the engine form to fileName.
// Returns 1 on success, 0 when the file does not open.
int appendEngineGame(int result, const char* fileName, int append);
