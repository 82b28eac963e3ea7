// The command language fed an input cut at its line ends, for the targets of the
// interpreter: one command per line, each ended by its line end as a reader gives it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/core/position.h"
#include "engine/search/timecontrol.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"
#include "fuzz_check.h"

namespace fuzzsession {

constexpr size_t MaxLines = 32;       // lines of one input
constexpr size_t MaxLineLength = 200; // longer lines are cut
// Nodes a search may spend once its first iteration is done. An analysis (which has
// no time limit) or a deep "sd" would otherwise search on through every later line
// of the input; the interpreter, not the search, is under test here.
constexpr uint32_t NodeBudget = 500;

// `after` (when not null) follows every line that holds "new", which puts the
// engine's depth limit back to its default.
inline void feedLines(const uint8_t* data, size_t size, const char* afterNew = nullptr) {
    size_t lines = 0;
    size_t at = 0;
    while (at < size && lines < MaxLines) {
        size_t end = at;
        while (end < size && data[end] != '\n') ++end;
        std::string line(reinterpret_cast<const char*>(data + at), std::min(end - at, MaxLineLength));
        line = line.c_str(); // a zero byte ends the command
        line += '\n';
        nodeLimit = NodeBudget;
        processCommand(line.c_str());
        nodeLimit = NodeBudget; // "go" clears it before it starts the search
        if (afterNew && line.find("new") != std::string::npos) processCommand(afterNew);
        ++lines;
        at = end + 1;
    }
}

// Once the engine has been told to stop, nothing searches and the game is a valid position.
inline void checkAtRest(const char* stopCommand) {
    processCommand(stopCommand);
    FUZZ_CHECK(engineSession.searchState == 0, "worker still searching after the stop");
    const char* why = nullptr;
    FUZZ_CHECK(positionIsValid(engineSession.gamePosition, false, &why), why ? why : "invalid game position");
}

// "result" and the end of a game append to the engine's games file; keep it small.
inline void trimGamesFile(unsigned inputs) {
    if (inputs % 1000 != 0) return;
    char path[512];
    programFilePath(path, sizeof path, "WinboardGames.pgn");
    std::remove(path);
}

} // namespace fuzzsession
