// The game in files: "autosave.pgn" at every start, after every change and at
// every shut-down, and the user's own ".pgn" files. Every text the controller
// writes ends with CR, LF and the result mark of its Result tag ("*" while the
// game goes on), so that other readers keep the result.

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/controller.h"
#include "game/gamefiles.h"

namespace {

constexpr std::size_t TrailerSize = 2 + 7; // CR, LF and the longest result mark, "1/2-1/2"

std::string gameText() {
    std::vector<char> buffer(GameTextBufferSize);
    // Room for the trailer stays free whatever the writer makes of the game.
    const int result = engineSession.gameResult;
    const int length = writeGameText(result, buffer.data(), buffer.size() - TrailerSize);
    std::size_t used = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (used > buffer.size() - TrailerSize) used = buffer.size() - TrailerSize;
    buffer[used++] = '\r';
    buffer[used++] = '\n';
    for (const char* mark = resultText(result); *mark; ++mark) buffer[used++] = *mark;
    return std::string(buffer.data(), used);
}

bool writeGame(const char* path) {
    const std::string text = gameText();
    return replaceFile(path, text.data(), text.size());
}

// Reads the file's start into a zero-terminated text and loads the game.
bool readGame(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<char> buffer(GameTextBufferSize);
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size() - 1, file);
    std::fclose(file);
    buffer[count] = 0;
    // A game the engine cannot replay (a null move) is refused as a whole.
    return loadGameText(buffer.data()) == 1;
}

} // namespace

std::string autosaveText() {
    return gameText();
}

bool GameController::saveAutosave() {
    // The writer thread writes the same file.
    waitForAutosave();
    return writeGame(gameFile(AutosaveFileName).c_str());
}

// After a load the side to move is the user's and the engine waits.
static void takeTheSideToMove(GameController& controller) {
    if (engineSession.gamePosition.sideToMove == White) {
        controller.userColour = White;
        controller.settings.userPlaysWhite = 1;
    } else {
        controller.userColour = Black;
        controller.settings.userPlaysWhite = 0;
    }
    // In the engine's coding the same number means the other colour.
    engineSession.engineColour = static_cast<std::uint8_t>(controller.userColour);
    engineBridge().computeMovablePieces(controller.userColour);
}

bool GameController::loadAutosave() {
    const std::string path = gameFile(AutosaveFileName);
    if (!fileIsPresent(path.c_str()) || !readGame(path.c_str())) return false;
    clockTimerStarted = false;
    takeTheSideToMove(*this);
    return true;
}

bool GameController::writeGameToFile(const char* path) {
    return writeGame(path);
}

bool GameController::readGameFromFile(const char* path) {
    if (!readGame(path)) return false;
    takeTheSideToMove(*this);
    engineBusy = false;
    return true;
}
