#pragma once
// Time controls of the New Game dialog and the two clock lines of the panel.

#include <cstddef>
#include <cstdint>

class GameController;

constexpr int TimeTableSize = 10;
// Milliseconds per engine move ("Turn In"); labels "1 sec" .. "5 min".
extern const std::int32_t perMoveTimes[TimeTableSize];
// Milliseconds for the whole game ("Game In"); labels "1 min" .. "90 min".
extern const std::int32_t gameTimes[TimeTableSize];

// Index of a value in a time table, -1 if it is none of its entries.
int timeTableIndex(const std::int32_t table[TimeTableSize], std::int64_t milliseconds);

// One clock line: the three-character label, ": ", the colour letter and the
// time as minutes and two-digit seconds right-aligned from two characters
// after the letter ("You: W  5:07", "You: W 12:07"). Returns the length.
int formatClockLine(char* out, std::size_t size, const char* label, const char* colourLetter, int clockMs);

// Both lines, the user's first: the user's shows the clock of userColour,
// the computer's the other. The words are the localised "You", "CPU", "W", "B".
void clockLines(const GameController& controller, const char* youWord, const char* cpuWord,
                const char* whiteLetter, const char* blackLetter, char* userLine, char* engineLine,
                std::size_t size);
