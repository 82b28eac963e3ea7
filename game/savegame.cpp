// The game in files: "autosave.pgn" at every start, after every change and at
// every shut-down, and the user's own ".pgn" files. Every text the controller
// writes ends with CR, LF and the result mark of its Result tag ("*" while the
// game goes on), so that other readers keep the result.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/search/results.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/controller.h"
#include "game/gamefiles.h"

namespace {

constexpr std::size_t TrailerSize = 2 + 7; // CR, LF and the longest result mark, "1/2-1/2"

std::string gameText(int result) {
    std::vector<char> buffer(GameTextBufferSize);
    // Room for the trailer stays free whatever the writer makes of the game.
    const int length = writeGameText(result, buffer.data(), buffer.size() - TrailerSize);
    std::size_t used = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (used > buffer.size() - TrailerSize) used = buffer.size() - TrailerSize;
    buffer[used++] = '\r';
    buffer[used++] = '\n';
    for (const char* mark = resultText(result); *mark; ++mark) buffer[used++] = *mark;
    return std::string(buffer.data(), used);
}

bool writeGame(const char* path, int result) {
    const std::string text = gameText(result);
    return replaceFile(path, text.data(), text.size());
}

// Reads the file's start into a zero-terminated text and loads the game; the
// result its Result tag gives (4 when none or "*").
bool readGame(const char* path, int& result) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<char> buffer(GameTextBufferSize);
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size() - 1, file);
    std::fclose(file);
    buffer[count] = 0;
    // A game the engine cannot replay (a null move) is refused as a whole.
    if (loadGameText(buffer.data()) != 1) return false;
    GameHeader header;
    clearHeader(header);
    readTags(buffer.data(), header);
    result = GameInProgress;
    for (int code : {WhiteWon, BlackWon, Drawn})
        if (std::strcmp(header.result, resultText(code)) == 0) result = code;
    return true;
}

} // namespace

std::string autosaveText() {
    return gameText(gameController().gameResultCode());
}

bool GameController::saveAutosave() {
    // The writer thread writes the same file.
    waitForAutosave();
    return writeGame(gameFile(AutosaveFileName).c_str(), gameResultCode());
}

// A loaded game is judged afresh; a result its file gives for the end of its
// record (a resignation, an agreed draw) stands when the rules give none.
static void judgeLoadedGame(GameController& controller, int fileResult) {
    controller.judgeGame(false);
    const Position& position = engineSession.gamePosition;
    if (!controller.gameDecided() && fileResult != GameInProgress && position.ply > recordLength()) {
        controller.gameEnd = EndRecordedResult;
        controller.gameEndResult = fileResult;
    }
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
    int result = GameInProgress;
    if (!fileIsPresent(path.c_str()) || !readGame(path.c_str(), result)) return false;
    clockTimerStarted = false;
    forgetPreviousGame();
    takeTheSideToMove(*this);
    judgeLoadedGame(*this, result);
    return true;
}

bool GameController::writeGameToFile(const char* path) {
    return writeGame(path, gameResultCode());
}

bool GameController::readGameFromFile(const char* path) {
    int result = GameInProgress;
    std::FILE* probe = std::fopen(path, "rb");
    if (!probe) return false;
    std::fclose(probe);
    stopEngine();
    if (!readGame(path, result)) {
        // The game stays as it was: a stopped engine thinks again.
        if (engineBusy) letEngineMove();
        return false;
    }
    engineBusy = false;
    // Nothing of the previous game stays on the screen or in the tutor.
    forgetPreviousGame();
    takeTheSideToMove(*this);
    judgeLoadedGame(*this, result);
    // The level as the settings give it (reading the game reset the engine's game).
    engineBridge().setLevel(static_cast<int>(settings.levelMode), static_cast<long>(settings.levelValue));
    return true;
}
