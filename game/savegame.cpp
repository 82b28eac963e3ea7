// The game in files: "autosave.pgn" at every start, after every change and at
// every shut-down, and the user's own ".pgn" files. Every text the controller
// writes ends with CR, LF and the result mark of its Result tag ("*" while the
// game goes on), so that other readers keep the result.

#include <algorithm>
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
#include "game/gamelist.h"

namespace {

constexpr std::size_t TrailerSize = 2 + 7; // CR, LF and the longest result mark, "1/2-1/2"

// The clocks travel in two tags of their own, which other PGN readers pass
// over: the time each side has been to move, as hours, minutes and seconds.
constexpr const char* ClockTagNames[2] = {"WhiteTimeUsed", "BlackTimeUsed"};
constexpr std::size_t ClockTagsRoom = 64;

std::string clockTag(const char* name, std::int32_t ms) {
    const long seconds = ms > 0 ? ms / 1000 : 0;
    char line[48];
    std::snprintf(line, sizeof line, "[%s \"%ld:%02ld:%02ld\"]\r\n", name, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return line;
}

std::string gameText(std::int32_t whiteMs, std::int32_t blackMs) {
    std::vector<char> buffer(GameTextBufferSize);
    // Room for the clock tags and the trailer stays free whatever the writer makes of the game.
    const int result = gameController().gameResultCode();
    const int length = writeGameText(result, buffer.data(), buffer.size() - ClockTagsRoom - TrailerSize);
    std::string text(buffer.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    // The clock tags close the tag section, before its empty line.
    const std::size_t tagsEnd = text.find("\r\n\r\n");
    if (tagsEnd != std::string::npos)
        text.insert(tagsEnd + 2, clockTag(ClockTagNames[0], whiteMs) + clockTag(ClockTagNames[1], blackMs));
    text += "\r\n";
    text += resultText(result);
    return text;
}

bool writeGame(const char* path, std::int32_t whiteMs, std::int32_t blackMs) {
    const std::string text = gameText(whiteMs, blackMs);
    return replaceFile(path, text.data(), text.size());
}

// The value of a clock tag of the text's tag section in milliseconds; 0 when
// the tag is missing or not a time.
std::int32_t readClockTag(const std::string& text, const char* name) {
    const std::string key = std::string("[") + name + " \"";
    for (std::size_t line = 0; line < text.size() && text[line] == '['; ) {
        if (text.compare(line, key.size(), key) == 0) {
            long hours = 0, minutes = 0, seconds = 0;
            if (std::sscanf(text.c_str() + line + key.size(), "%ld:%ld:%ld", &hours, &minutes, &seconds) == 3 &&
                hours >= 0 && hours < 1000 && minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60)
                return static_cast<std::int32_t>(std::min(((hours * 60 + minutes) * 60 + seconds) * 1000L,
                                                          static_cast<long>(ClockLimitMs)));
            return 0;
        }
        const std::size_t next = text.find('\n', line);
        if (next == std::string::npos) break;
        line = next + 1;
    }
    return 0;
}

// Loads a game text and brings back the clocks it carries. A game the engine
// cannot replay (a null move) is refused as a whole, and nothing changes.
bool loadGame(GameController& controller, const std::string& text) {
    if (loadGameText(text.c_str()) != 1) return false;
    controller.setClocks(readClockTag(text, ClockTagNames[0]), readClockTag(text, ClockTagNames[1]));
    return true;
}

// The result the text's Result tag gives (4 when none or "*").
int resultTag(const std::string& text) {
    GameHeader header;
    clearHeader(header);
    readTags(text.c_str(), header);
    for (int code : {WhiteWon, BlackWon, Drawn})
        if (std::strcmp(header.result, resultText(code)) == 0) return code;
    return GameInProgress;
}

// The file's start, at most the buffer's size; false when it does not open.
bool readFileStart(const char* path, std::string& text) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<char> buffer(GameTextBufferSize);
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size() - 1, file);
    std::fclose(file);
    // The text ends at its first zero byte, as a zero-terminated text does.
    text.assign(buffer.data(), strnlen(buffer.data(), count));
    return true;
}

} // namespace

// The clocks as last settled (at most a second ago).
std::string autosaveText() {
    const GameController& controller = gameController();
    return gameText(controller.whiteClockMs, controller.blackClockMs);
}

bool GameController::saveAutosave() {
    // The writer thread writes the same file.
    waitForAutosave();
    settleClocks();
    return writeGame(gameFile(AutosaveFileName).c_str(), whiteClockMs, blackClockMs);
}

// A loaded game is judged afresh by the rules of its position; when they let it
// go on, a decided result its file records for the end of its record (a
// resignation, an agreed draw) ends it as it was saved.
static void judgeLoadedGame(GameController& controller, int fileResult) {
    controller.judgeGame(false);
    if (controller.gameDecided() || fileResult == GameInProgress) return;
    if (engineSession.gamePosition.ply <= recordLength()) return; // shown before its last move
    controller.concludeGame(EndRecordedResult, fileResult, false);
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
    std::string text;
    if (!fileIsPresent(path.c_str()) || !readFileStart(path.c_str(), text) || !loadGame(*this, text))
        return false;
    clockTimerStarted = false;
    forgetPreviousGame();
    takeTheSideToMove(*this);
    judgeLoadedGame(*this, resultTag(text));
    return true;
}

bool GameController::writeGameToFile(const char* path) {
    settleClocks();
    return writeGame(path, whiteClockMs, blackClockMs);
}

bool GameController::readGameFromFile(const char* path, int gameIndex) {
    // A file of several games gives the chosen one; their texts must not run into one game.
    const std::vector<GameListEntry> games = listGames(path);
    std::string text;
    if (games.size() > 1) {
        if (gameIndex < 0 || gameIndex >= static_cast<int>(games.size())) return false;
        text = gameTextAt(path, games[gameIndex], GameTextBufferSize - 1);
        text.resize(strnlen(text.c_str(), text.size()));
    } else if (gameIndex != 0 || !readFileStart(path, text)) {
        return false;
    }
    stopEngine();
    if (!loadGame(*this, text)) {
        // The game stays as it was: a stopped engine thinks again.
        if (engineBusy) letEngineMove();
        return false;
    }
    engineBusy = false;
    // Nothing of the previous game stays on the screen or in the tutor.
    forgetPreviousGame();
    takeTheSideToMove(*this);
    judgeLoadedGame(*this, resultTag(text));
    // The level as the settings give it (reading the game reset the engine's game).
    engineBridge().setLevel(static_cast<int>(settings.levelMode), static_cast<long>(settings.levelValue));
    return true;
}
