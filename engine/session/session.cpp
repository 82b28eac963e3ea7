#include "engine/session/session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"

EngineSession engineSession;
EngineOptions engineOptions;
std::atomic<void (*)()> stopSearchHook{nullptr};

namespace {

const EngineOptions optionsTemplate = {1, 1, 1, "opening.pgn"};

} // namespace

uint32_t tickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {
char programFolderOverride[4096];
} // namespace

void setProgramFolder(const char* folder) {
    if (!folder) folder = "";
    std::snprintf(programFolderOverride, sizeof programFolderOverride, "%s", folder);
}

const char* programFolder() {
    if (programFolderOverride[0]) return programFolderOverride;
    static const char* folder = [] {
        static char path[4096];
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        if (n <= 0) {
            std::strcpy(path, "./");
            return static_cast<const char*>(path);
        }
        path[n] = '\0';
        char* slash = std::strrchr(path, '/');
        if (slash)
            slash[1] = '\0';
        else
            std::strcpy(path, "./");
        return static_cast<const char*>(path);
    }();
    return folder;
}

namespace {

// The files the engine writes. An installed program's folder is not the user's; they
// then go to the user's state folder ($XDG_STATE_HOME/tavisk, else ~/.local/state/tavisk).
bool isWrittenFile(const char* name) {
    return std::strcmp(name, "errorlog.txt") == 0 || std::strcmp(name, "WinboardGames.pgn") == 0;
}

const char* userStateFolder() {
    static char folder[4096];
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    int n = 0;
    if (state && state[0] == '/')
        n = std::snprintf(folder, sizeof folder, "%s/tavisk/", state);
    else if (home && home[0] == '/')
        n = std::snprintf(folder, sizeof folder, "%s/.local/state/tavisk/", home);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof folder) return nullptr;
    for (char* slash = std::strchr(folder + 1, '/'); slash; slash = std::strchr(slash + 1, '/')) {
        *slash = '\0';
        mkdir(folder, 0755);
        *slash = '/';
    }
    return folder;
}

// The program writes beside itself only in a folder of its own: one it can write that
// no installation has marked as shared.
bool folderTakesWrites(const char* folder) {
    if (access(folder, W_OK) != 0) return false;
    char marker[4200];
    std::snprintf(marker, sizeof marker, "%s%s", folder, InstalledMarkerFile);
    return access(marker, F_OK) != 0;
}

} // namespace

int programFilePath(char* buffer, size_t size, const char* name) {
    if (!buffer || size == 0) return 0;
    const char* folder = programFolder();
    if (name && isWrittenFile(name) && !folderTakesWrites(folder)) {
        if (const char* user = userStateFolder()) folder = user;
    }
    int n = std::snprintf(buffer, size, "%s%s", folder, name ? name : "");
    return n >= 0 && static_cast<size_t>(n) < size;
}

void initSession() {
    initTables();
    engineOptions = optionsTemplate;
    EngineSession& s = engineSession;
    setInitialPosition(s.gamePosition);
    s.startPosition = s.gamePosition;
    clearPosition(s.ponderPosition);
    s.engineColour = EnginePlaysBlack;
    s.gameResult = GameInProgress;
    s.stopRequest = NoStop;
    s.searchState = 0;
    s.analyzeMode = 0;
    s.uciMode = 0;
    s.sessionOpen = 1;
    s.ponderEnabled = 0;
    s.workerRequest = 0;
    s.ponderState = 0;
    s.clockStarted = 0;
    s.depthLimit = 28;
    s.baseMinutes = 5;
    s.increment = 5;
    s.targetTime = 10.0f;
    s.extensionTime = 1.0f;
    s.whiteClock = 0;
    s.blackClock = 0;
    s.lastTime = 0.0f;
    s.lastOtim = 0.0f;
    s.lastRecordTick = tickCount();
    std::snprintf(s.opponentName, sizeof s.opponentName, "%s", "Human");
    s.engineName = "CPU";
    s.drawAcceptable = 0;
    s.promotionChoice = 6;
    s.disambiguationFlag = 0;
    s.expectedRecapture = 0;
    s.rootScore = 0;
    s.engineMove = 0;
    s.expectedReply = 0;
    clearRecord(&gameRecord);
}

void resetEngineGame() {
    if (void (*stop)() = stopSearchHook.load()) stop();
    EngineSession& s = engineSession;
    setInitialPosition(s.gamePosition);
    clearPosition(s.ponderPosition);
    s.startPosition = s.gamePosition;
    clearRecord(&gameRecord);
    s.gameResult = GameInProgress;
    s.whiteClock = 0;
    s.blackClock = 0;
    s.lastRecordTick = tickCount();
}

void newGame() {
    resetEngineGame();
    EngineSession& s = engineSession;
    s.targetTime = 2.6f;
    s.drawAcceptable = 0;
    s.gameResult = GameInProgress;
    s.depthLimit = 28;
    s.extensionTime = 2.0f;
    s.sessionOpen = 1;
    s.engineColour = EnginePlaysBlack;
}
