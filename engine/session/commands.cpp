#include "engine/session/commands.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/position.h"
#include "engine/eval/evaluate.h"
#include "engine/eval/pawns.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/search/book.h"
#include "engine/search/novice.h"
#include "engine/search/results.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/search/thinking.h"
#include "engine/search/timecontrol.h"
#include "engine/search/ttable.h"
#include "engine/search/worker.h"
#include "engine/session/session.h"

namespace {

constexpr int PollMilliseconds = 50;
constexpr int StopRepeatMilliseconds = 1;
constexpr int CommitWaitMilliseconds = 1000;
constexpr int MinDepthLimit = 1;
constexpr int MaxDepthLimit = 99;
constexpr int NewGameDepthLimit = 28;
constexpr float AnalysisTargetTime = 1200.0f;
constexpr float UnlimitedTime = 1000000.0f;
constexpr const char* EngineGamesFile = "WinboardGames.pgn";
constexpr long MinHashMegabytes = 2;
constexpr long MaxHashMegabytes = 196;

bool engineStarted = false;

// A "time" line has been received since the last "new": the engine then budgets
// its moves from the clock the interface reports instead of the fixed target.
bool clockReported = false;

void reply(const char* format, ...) __attribute__((format(printf, 1, 2)));
void reply(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

bool beginsWith(const char* line, const char* word) {
    return std::strncmp(line, word, std::strlen(word)) == 0;
}

bool contains(const char* line, const char* word) {
    return std::strstr(line, word) != nullptr;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A line that is one character followed by its end.
bool isSingle(const char* line, char c) {
    return line[0] == c && (line[1] == '\n' || line[1] == '\r' || line[1] == '\0');
}

// A clock value of "time" or "otim" (centiseconds) within some 115 days either way, so
// that "1e60" or "nan" still gives a whole number of centiseconds.
float boundedClock(float value) {
    constexpr float Limit = 1.0e9f;
    if (!(value > -Limit)) return -Limit;
    return value < Limit ? value : Limit;
}

// The control's base time less a reported clock value, in centiseconds, kept within
// what the clock fields hold whatever "level" gave.
int32_t clockLeft(float reported) {
    const int64_t left =
        static_cast<int64_t>(engineSession.baseMinutes) * 6000 - static_cast<int64_t>(reported);
    return static_cast<int32_t>(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
}

void sleepMilliseconds(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The worker is searching, or has a request it has not picked up yet.
bool workerBusy() {
    return engineSession.searchState != 0 || requestPending != 0 || wakeEvent.isSet() || !idleEvent.isSet();
}

// A moment of the stop protocol's polls, cut short when the worker goes idle. The
// callers repeat their stop request after each: a search that was woken but had
// not begun clears it when it begins, and must not keep the caller waiting for a
// whole poll period.
void waitForWorker(int milliseconds = StopRepeatMilliseconds) {
    if (idleEvent.wait(milliseconds) && workerBusy()) sleepMilliseconds(1);
}

// Asks for the best move found so far until the worker has finished, so that a
// request made just before is not missed.
void playNowAndWait() {
    while (workerBusy()) {
        engineSession.stopRequest = StopAndPlay;
        waitForWorker();
    }
}

// Polls until the worker is idle, repeating the abort: a search that was woken
// but had not begun clears the stop request when it begins.
void waitUntilIdle() {
    while (workerBusy()) {
        engineSession.stopRequest = StopAndAbort;
        waitForWorker();
    }
}

// Stops a running search without playing and waits until the worker is idle,
// so that the game position can be changed safely.
void abortSearch() {
    if (!workerBusy()) return;
    engineSession.stopRequest = StopAndAbort;
    waitUntilIdle();
}

// The running analysis gets one poll period to stop before the new one starts.
void restartAnalysis() {
    engineSession.targetTime = AnalysisTargetTime;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(PollMilliseconds);
    do {
        engineSession.stopRequest = StopAndAbort;
        waitForWorker();
    } while (workerBusy() && std::chrono::steady_clock::now() < end);
    startSearch(1);
}

// Keeps the target and its reserve within half of what is left above a safety margin.
void capToClock(float secondsLeft) {
    float limit = (secondsLeft - 0.5f) * 0.5f;
    if (limit < 0.01f) limit = 0.01f;
    float target = engineSession.targetTime;
    if (target > limit) target = limit;
    float extension = engineSession.extensionTime;
    if (target + extension > limit) extension = limit - target;
    if (extension < 0.0f) extension = 0.0f;
    engineSession.targetTime = target;
    engineSession.extensionTime = extension;
}

// Budgets the next move from the engine's remaining time (seconds) and
// increment. A target that would not leave a safe margin on the clock is cut.
void budgetFromClock(float secondsLeft, int incrementSeconds) {
    allocateTime(secondsLeft, incrementSeconds);
    capToClock(secondsLeft);
}

// "level <moves> <minutes> <increment>" with moves above 0: a control every that
// many moves, the clock filled up again at each.
int movesPerControl = 0;

// The engine's moves until the next control, counting its next one.
int movesToNextControl() {
    const Position& game = engineSession.gamePosition;
    int made = (game.ply - engineSession.startPosition.ply) / 2;
    if (made < 0) made = 0;
    return movesPerControl - made % movesPerControl;
}

void budgetFromReportedClock() {
    if (!clockReported) return;
    float seconds = engineSession.lastTime * 0.01f;
    if (movesPerControl > 0) {
        allocateTimeForMoves(seconds, engineSession.increment, movesToNextControl());
        capToClock(seconds);
    } else {
        budgetFromClock(seconds, engineSession.increment);
    }
}

// The move of the side the engine plays against (row 8).
void playOpponentMove(const char* line) {
    engineSession.gameResult = GameInProgress;
    commitGuard.wait(CommitWaitMilliseconds);
    {
        // A worker that never lets go (it waits for this thread) costs the move, not a hang.
        std::unique_lock<std::timed_mutex> commit(commitMutex, std::chrono::milliseconds(CommitWaitMilliseconds));
        if (!commit.owns_lock()) return;
        if (!playMoveText(line, engineSession.gamePosition, 1, &gameRecord)) return;
    }
    budgetFromReportedClock();
    afterOpponentMove();
}

void setEngineClock(int32_t value, bool engineSide) {
    bool white = (engineSession.engineColour == EnginePlaysWhite) == engineSide;
    if (white) {
        engineSession.whiteClock = value;
    } else {
        engineSession.blackClock = value;
    }
}

void startThinking() {
    engineSession.analyzeMode = 0;
    engineSession.engineColour =
        engineSession.gamePosition.sideToMove == Black ? EnginePlaysBlack : EnginePlaysWhite;
    engineSession.gameResult = GameInProgress;
    engineSession.stopRequest = StopAndAbort;
    if (gameOver(engineSession.gamePosition)) {
        // A UCI interface judges draws itself and still wants a move; only a
        // position without a legal move has none.
        if (engineSession.uciMode != 1) return;
        int legal = countLegalMoves(engineSession.gamePosition, engineSession.gamePosition.sideToMove);
        if (legal == Checkmated || legal == Stalemated) {
            releaseBestMove();
            reply("bestmove 0000\n");
            return;
        }
        engineSession.gameResult = GameInProgress;
    }
    startSearch(0);
}

// --- The lines a UCI interface adds to the language --------------------------

// "position startpos|fen <fen> [moves <m1> <m2> ...]": a new game from that start
// with the moves played and recorded. A FEN that is not valid changes nothing.
void uciPosition(const char* line) {
    const char* rest = line + std::strlen("position");
    const char* moves = std::strstr(rest, " moves");
    const char* fen = std::strstr(rest, "fen ");
    Position start;
    setInitialPosition(start);
    if (fen && (!moves || fen < moves)) {
        fen += 4;
        size_t length = moves ? static_cast<size_t>(moves - fen) : std::strlen(fen);
        if (!readFen(start, fen, length)) return;
    } else if (!std::strstr(rest, "startpos")) {
        return;
    }
    abortSearch();
    resetEngineGame();
    engineSession.startPosition = start;
    engineSession.gamePosition = start;
    engineSession.engineColour = EnginePlaysNone;
    if (!moves) return;
    const char* at = moves + std::strlen(" moves");
    char token[16];
    for (;;) {
        while (*at == ' ' || *at == '\t') ++at;
        if (*at == '\0' || *at == '\n' || *at == '\r') break;
        size_t n = 0;
        while (at[n] && at[n] != ' ' && at[n] != '\t' && at[n] != '\n' && at[n] != '\r') ++n;
        if (n >= sizeof token) break;
        std::memcpy(token, at, n);
        token[n] = '\0';
        at += n;
        engineSession.promotionChoice = Queen;
        if (!playMoveText(token, engineSession.gamePosition, 1, &gameRecord)) break;
    }
}

// Reads the number after the word in a "go" line; false when it is absent.
bool goValue(const char* line, const char* word, long& value) {
    size_t length = std::strlen(word);
    for (const char* at = std::strstr(line, word); at; at = std::strstr(at + 1, word)) {
        bool wordStart = at == line || at[-1] == ' ';
        if (wordStart && at[length] == ' ' && std::sscanf(at + length, "%ld", &value) == 1) return true;
    }
    return false;
}

// A word of a "go" line that stands alone ("infinite", "ponder").
bool goFlag(const char* line, const char* word) {
    size_t length = std::strlen(word);
    for (const char* at = std::strstr(line, word); at; at = std::strstr(at + 1, word)) {
        bool wordStart = at == line || at[-1] == ' ';
        char after = at[length];
        if (wordStart && (after == '\0' || after == ' ' || after == '\n' || after == '\r')) return true;
    }
    return false;
}

int clampDepth(long depth) {
    return depth < MinDepthLimit   ? MinDepthLimit
           : depth > MaxDepthLimit ? MaxDepthLimit
                                   : static_cast<int>(depth);
}

// The moves after "searchmoves", up to the next word that is not a move.
void readSearchMoves(const char* line) {
    searchMoveCount = 0;
    const char* at = std::strstr(line, " searchmoves ");
    if (!at) return;
    at += std::strlen(" searchmoves ");
    while (searchMoveCount < MaxSearchMoves) {
        while (*at == ' ') ++at;
        size_t n = 0;
        while (at[n] && at[n] != ' ' && at[n] != '\n' && at[n] != '\r') ++n;
        bool move = (n == 4 || n == 5) && at[0] >= 'a' && at[0] <= 'h' && isDigit(at[1]) && at[2] >= 'a' &&
                    at[2] <= 'h' && isDigit(at[3]);
        if (!move) break;
        std::memcpy(searchMoves[searchMoveCount], at, n);
        searchMoves[searchMoveCount][n] = '\0';
        ++searchMoveCount;
        at += n;
    }
}

// The budget a "go ponder" search gets once the interface says "ponderhit".
float ponderTarget = 0.0f;
float ponderExtension = 0.0f;
bool ponderSearch = false;

// "go [searchmoves m...] [ponder] [wtime t] [btime t] [winc i] [binc i]
// [movestogo n] [depth d] [nodes n] [mate m] [movetime t] [infinite]": every
// "go" sets all of its limits afresh, then the search for the side to move.
void uciGo(const char* line) {
    bool white = engineSession.gamePosition.sideToMove == White;
    long depth = 0, moveTime = 0, timeLeft = 0, inc = 0, nodes = 0, mate = 0, movesToGo = 0;
    bool infinite = goFlag(line, "infinite");
    bool ponder = goFlag(line, "ponder");
    bool bounded = false; // the search ends by depth, nodes or mate, not by time
    engineSession.depthLimit = NewGameDepthLimit;
    nodeLimit = 0;
    if (goValue(line, "depth", depth)) {
        engineSession.depthLimit = clampDepth(depth);
        bounded = true;
    }
    if (goValue(line, "mate", mate)) {
        // A mate in m moves lies 2m - 1 plies deep; the search stops when it finds one.
        engineSession.depthLimit = clampDepth(mate > 0 ? 2 * mate + 1 : 1);
        bounded = true;
    }
    if (goValue(line, "nodes", nodes)) {
        nodeLimit = nodes < 1 ? 1u : nodes > 4000000000L ? 4000000000u : static_cast<uint32_t>(nodes);
        bounded = true;
    }
    readSearchMoves(line);
    if (goValue(line, "movetime", moveTime)) {
        float seconds = moveTime * 0.001f;
        float target = seconds > 0.2f ? seconds - 0.1f : seconds * 0.5f;
        engineSession.targetTime = target > 0.01f ? target : 0.01f;
        engineSession.extensionTime = 0.0f;
    } else if (goValue(line, white ? "wtime" : "btime", timeLeft)) {
        goValue(line, white ? "winc" : "binc", inc);
        if (timeLeft < 0) timeLeft = 0;
        if (inc < 0) inc = 0;
        if (goValue(line, "movestogo", movesToGo) && movesToGo > 0) {
            float seconds = timeLeft * 0.001f;
            allocateTimeForMoves(seconds, static_cast<int>(inc / 1000), static_cast<int>(movesToGo));
            capToClock(seconds);
        } else {
            budgetFromClock(timeLeft * 0.001f, static_cast<int>(inc / 1000));
        }
        // An increment below a second still helps, as long as the cut above holds.
        float limit = (timeLeft * 0.001f - 0.5f) * 0.5f;
        float target = engineSession.targetTime + (inc % 1000) * 0.001f;
        if (target > limit) target = limit > 0.01f ? limit : 0.01f;
        engineSession.targetTime = target;
    } else if (infinite || bounded) {
        engineSession.targetTime = UnlimitedTime;
        engineSession.extensionTime = 0.0f;
    } else {
        // A bare "go": a move of the level's game.
        budgetFromClock(engineSession.baseMinutes * 60.0f, engineSession.increment);
    }
    if (infinite) {
        engineSession.targetTime = UnlimitedTime;
        engineSession.extensionTime = 0.0f;
    }
    // A ponder search runs without a limit; its budget counts from "ponderhit".
    ponderSearch = ponder && !infinite;
    if (ponderSearch) {
        ponderTarget = engineSession.targetTime;
        ponderExtension = engineSession.extensionTime;
        engineSession.targetTime = UnlimitedTime;
        engineSession.extensionTime = 0.0f;
    }
    holdBestMove(infinite || ponder);
    startThinking();
}

// The beginner level from its number (0 = the full search), clamped to the levels there are.
void setNoviceLevel(const char* number) {
    const int level = std::atoi(number);
    noviceLevel = level < 0 ? 0 : level > NoviceLevelCount ? NoviceLevelCount : level;
}

// The predicted move was played: the ponder search becomes the real one.
void uciPonderHit() {
    if (ponderSearch) {
        ponderSearch = false;
        float spent = static_cast<float>(tickCount() - searchStartTick) * 0.001f;
        engineSession.extensionTime = ponderExtension;
        engineSession.targetTime = spent + ponderTarget;
    }
    releaseBestMove();
}

// "setoption name <id> [value <x>]".
void uciSetOption(const char* line) {
    if (contains(line, "Clear Hash")) {
        abortSearch();
        initTranspositionTable();
    } else if (contains(line, "name Novice value ")) {
        setNoviceLevel(std::strstr(line, "value ") + 6);
    } else if (contains(line, "name Hash")) {
        long megabytes;
        const char* value = std::strstr(line, "value ");
        if (value && std::sscanf(value + 6, "%ld", &megabytes) == 1) {
            megabytes = megabytes < MinHashMegabytes   ? MinHashMegabytes
                        : megabytes > MaxHashMegabytes ? MaxHashMegabytes
                                                       : megabytes;
            abortSearch();
            resizeTranspositionTable(static_cast<int>(megabytes));
        }
    }
    // "Ponder" only tells the engine that the interface may send "go ponder".
}

// Handles a line of the UCI additions; false when the line is not one of them.
bool uciCommand(const char* line) {
    if (beginsWith(line, "isready")) {
        reply("readyok\n");
        return true;
    }
    if (beginsWith(line, "position ")) {
        uciPosition(line);
        return true;
    }
    if (beginsWith(line, "stop")) {
        ponderSearch = false;
        releaseBestMove();
        playNowAndWait();
        return true;
    }
    if (beginsWith(line, "ponderhit")) {
        uciPonderHit();
        return true;
    }
    if (beginsWith(line, "setoption")) {
        uciSetOption(line);
        return true;
    }
    if (engineSession.uciMode == 1 && beginsWith(line, "go")) {
        uciGo(line);
        return true;
    }
    return false;
}

void moveBack(int plies) {
    bool analysing = engineSession.analyzeMode == 1;
    if (analysing) engineSession.stopRequest = StopAndAbort;
    // A thinking worker would commit its move over the position taken back.
    abortSearch();
    goToPly(engineSession.gamePosition, engineSession.gamePosition.ply - plies);
    if (analysing) restartAnalysis();
}

} // namespace

int processCommand(const char* line) {
    if (line == nullptr) return 1;
    size_t lineLength = std::strlen(line);

    // 1. UCI handshake ("ucinewgame" and the like do nothing).
    if (beginsWith(line, "uci")) {
        if (!beginsWith(line, "ucinew")) {
            engineSession.uciMode = 1;
            reply("id name %s\n", engineSession.engineName);
            reply("id author Pellimor\n");
            reply("option name Hash type spin default 24 min 2 max 196\n");
            reply("option name Clear Hash type button\n");
            reply("option name Ponder type check default false\n");
            reply("uciok\n");
        }
        return 1;
    }
    // The lines a UCI interface adds; none of them is a line of the language above.
    if (uciCommand(line)) return 1;
    // The beginner levels, as an xboard option: "option Novice=N".
    if (beginsWith(line, "option Novice=")) {
        setNoviceLevel(line + std::strlen("option Novice="));
        return 1;
    }
    // 2. Feature acknowledgements.
    if (contains(line, "accepted")) return 1;
    // 3. The opponent's name.
    if (beginsWith(line, "name")) {
        const char* name = lineLength > 5 ? line + 5 : "";
        std::snprintf(engineSession.opponentName, OpponentNameSize, "%s", name);
        size_t n = std::strlen(engineSession.opponentName);
        if (n > 1 && engineSession.opponentName[n - 1] == '\n') engineSession.opponentName[n - 1] = '\0';
        return 1;
    }
    // 4. Protocol version 2 handshake.
    if (contains(line, "protover")) {
        reply("feature myname=\"%s\" name=1 setboard=1 ping=1\n", engineSession.engineName);
        reply("feature done=1\n");
    }
    // 5. "time": the engine's remaining time; the last value is applied on every line.
    if (std::strcmp(line, "time") != 0) {
        float value;
        if (std::sscanf(line, "time %f", &value) == 1) {
            value = boundedClock(value);
            engineSession.lastTime = value;
            clockReported = true;
        }
        setEngineClock(clockLeft(engineSession.lastTime), true);
    }
    // 6. "otim": the opponent's remaining time.
    if (contains(line, "otim")) {
        float value;
        if (std::sscanf(line, "otim %f", &value) == 1) engineSession.lastOtim = boundedClock(value);
        setEngineClock(clockLeft(engineSession.lastOtim), false);
    }
    // 7. "force": play neither side.
    if (contains(line, "force")) {
        engineSession.analyzeMode = 0;
        engineSession.engineColour = EnginePlaysNone;
        engineSession.stopRequest = StopAndAbort;
        waitUntilIdle();
    }
    // 8. A move such as e2e4 or e7e8q.
    if (lineLength >= 4 && isDigit(line[1]) && isDigit(line[3])) {
        bool analysing = engineSession.analyzeMode == 1;
        if (analysing) {
            engineSession.stopRequest = StopAndAbort;
            waitUntilIdle();
        }
        playOpponentMove(line);
        if (analysing) restartAnalysis();
    }
    // 9. "go": play the side to move.
    if (beginsWith(line, "go")) {
        nodeLimit = 0;
        searchMoveCount = 0;
        budgetFromReportedClock();
        startThinking();
    }
    // 10. "setboard <fen>": a new game from that position.
    if (const char* keyword = std::strstr(line, "setboard")) {
        bool analysing = engineSession.analyzeMode == 1;
        if (analysing) engineSession.stopRequest = StopAndAbort;
        const char* fen = keyword + 7;
        size_t available = lineLength - static_cast<size_t>(fen - line);
        size_t length = lineLength - 7 < available ? lineLength - 7 : available;
        Position position;
        if (readFen(position, fen, length)) {
            abortSearch();
            resetEngineGame();
            engineSession.startPosition = position;
            engineSession.gamePosition = position;
        }
        if (analysing) restartAnalysis();
    }
    // 11. "level <moves> <minutes> <increment>".
    if (contains(line, "level")) {
        int moves = 0, minutes = 0, inc = 0;
        int read = std::sscanf(line, "level %d %d %d", &moves, &minutes, &inc);
        engineSession.baseMinutes = read >= 2 ? minutes : 0;
        if (read >= 3) engineSession.increment = inc;
        movesPerControl = read >= 1 && moves > 0 ? moves : 0;
    }
    // 12, 13. "post" turns the thinking lines on, "nopost" off.
    if (contains(line, "post")) postThinking = contains(line, "nopost") ? 0 : 1;
    // 14, 15. Pondering on and off.
    if (contains(line, "hard")) engineSession.ponderEnabled = 1;
    if (contains(line, "easy")) engineSession.ponderEnabled = 0;
    // 16. A new game.
    if (contains(line, "new")) {
        newGame();
        clockReported = false;
    }
    // 17. "quit" closes the session; the engine itself keeps running.
    if (contains(line, "quit")) engineSession.sessionOpen = 0;
    // 18. Take one ply back.
    if (contains(line, "undo")) moveBack(1);
    // 19. The static evaluation.
    if (contains(line, "evaluate")) {
        reply("Evaluation: %d\n", static_cast<int>(evaluate(engineSession.gamePosition, -30000, 30000)));
    }
    // 20. Take two plies back.
    if (contains(line, "remove")) moveBack(2);
    // 21. The game's result, its record, and learning from a loss.
    if (contains(line, "result")) {
        int result = contains(line, "1-0") ? WhiteWon : contains(line, "0-1") ? BlackWon : Drawn;
        engineSession.gameResult = result;
        if (gameRecord.plyCount > 2 && engineOptions.saveEngineGames == 1) {
            char path[BookFileNameSize + 64];
            programFilePath(path, sizeof path, EngineGamesFile);
            appendEngineGame(result, path, 1);
        }
        engineSession.stopRequest = StopAndAbort;
        int colour = engineSession.engineColour;
        if ((result == WhiteWon && colour == EnginePlaysBlack) ||
            (result == BlackWon && colour == EnginePlaysWhite)) {
            learnFromLoss(openingBook, result);
        }
    }
    // 22. A draw offer: accepted by offering back.
    if (contains(line, "draw")) {
        if (engineSession.drawAcceptable == 1 && engineOptions.drawOffersAllowed == 1) {
            reply("offer draw\n");
        }
    }
    // 23. Analysis of the game position.
    if (contains(line, "analyze")) {
        engineSession.engineColour = EnginePlaysNone;
        engineSession.analyzeMode = 1;
        restartAnalysis();
    }
    // 24. "." is accepted.
    // 25. "sd <depth>": the depth limit.
    if (contains(line, "sd ")) {
        int depth;
        if (std::sscanf(line, "sd %d", &depth) == 1) {
            engineSession.depthLimit = depth < MinDepthLimit   ? MinDepthLimit
                                       : depth > MaxDepthLimit ? MaxDepthLimit
                                                               : depth;
        }
    }
    // 26. "?": play now.
    if (isSingle(line, '?')) engineSession.stopRequest = StopAndPlay;
    // 27. "ping <n>": answered once the worker is idle.
    // A search requested by an earlier line counts as running, so that "pong"
    // always follows the replies to every line before it.
    if (contains(line, "ping")) {
        playNowAndWait();
        int number = 0;
        std::sscanf(line, "ping %d", &number);
        reply("pong %d\n", number);
    }
    return 1;
}

void startEngine() {
    if (engineStarted) {
        abortSearch();
        initSession();
        clockReported = false;
        return;
    }
    engineStarted = true;
    initSession();
    initSearchTables();
    initTranspositionTable();
    clearPawnCache();
    buildOrLoad(openingBook, engineOptions.bookFileName);
    startWorker();
}
