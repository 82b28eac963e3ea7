#pragma once
// The games of a PGN file: where each one's text lies and the tags a list of
// them shows, so that "Load" can offer the games of a file with several.

#include <string>
#include <vector>

struct GameListEntry {
    long start;         // byte offset of the game's text in the file
    long end;           // offset just after it
    std::string white;  // the tags shown, "?" for a missing name or result
    std::string black;
    std::string result;
    std::string date;
    std::string event;
};

// Every game of the file in order; a file that holds only blanks has none.
// Empty when the file does not open.
std::vector<GameListEntry> listGames(const char* path);

// The text of one game of the file, at most limit bytes of it.
std::string gameTextAt(const char* path, const GameListEntry& game, std::size_t limit);
