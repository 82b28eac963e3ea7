// A whole file of any content opened by "Load": the controller reads its start
// into the game and gives the user the side to move. The engine's game is then
// a valid position whose record replays to it, the engine waits, and the game
// written back reads in again as the same game. A refused file changes nothing.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/session.h"
#include "fuzz_check.h"
#include "game/autosave.h"
#include "game/controller.h"

namespace {
std::string path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    path = "fuzz-load-" + std::to_string(getpid()) + ".pgn";
    initSession();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);

    GameController& game = gameController();
    // No worker runs in this target: an engine marked busy would make the load wait
    // its whole patience (3 s) for a worker that never comes to rest.
    game.engineBusy = false;
    const Position previous = engineSession.gamePosition;
    if (!game.readGameFromFile(path.c_str())) {
        // A game the engine cannot replay (a null move) is refused and changes nothing.
        FUZZ_CHECK(samePosition(previous, engineSession.gamePosition), "a refused file changed the game");
        std::remove(path.c_str());
        return 0;
    }
    const Position& position = engineSession.gamePosition;
    const char* why = nullptr;
    FUZZ_CHECK(positionIsValid(position, false, &why), why ? why : "invalid game position");
    FUZZ_CHECK(game.userColour == position.sideToMove, "the user does not have the side to move");
    FUZZ_CHECK(!game.engineBusy, "the engine is still marked busy");
    FUZZ_CHECK(gameRecord.plyCount >= 0 && gameRecord.plyCount <= RecordCapacity, "record length");
    Position replay;
    goToPly(replay, position.ply);
    FUZZ_CHECK(samePosition(replay, position), "the record does not replay to the game position");

    // Saved and loaded again: the same position and the same number of plies.
    const Position before = position;
    const int plies = gameRecord.plyCount;
    // The text a save writes, read as a load reads it (in memory: the files' own
    // writing waits for the disk).
    FUZZ_CHECK(loadGameText(autosaveText().c_str()) == 1, "the written game was refused");
    FUZZ_CHECK(std::memcmp(before.board, engineSession.gamePosition.board, sizeof before.board) == 0,
               "the written game reads back to another board");
    FUZZ_CHECK(before.sideToMove == engineSession.gamePosition.sideToMove,
               "side to move after the round trip");
    FUZZ_CHECK(gameRecord.plyCount == plies, "record length after the round trip");
    std::remove(path.c_str());
    return 0;
}
