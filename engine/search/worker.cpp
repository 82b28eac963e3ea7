#include "engine/search/worker.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/search/novice.h"
#include "engine/search/results.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/search/timecontrol.h"
#include "engine/search/ttable.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"

Event& wakeEvent = *new Event(false);
Event& idleEvent = *new Event(true);
Event& commitGuard = *new Event(true);
std::timed_mutex& commitMutex = *new std::timed_mutex;
std::atomic<int> requestPending{0};
std::atomic<int> idleNoticeWanted{0};

namespace {

constexpr int GuardWaitMs = 1000;

std::once_flag workerStarted;

// The ponder search's own position: the game after the predicted reply.
Position ponderWork;

// The "bestmove" line of a UCI search that must wait for "stop" or "ponderhit".
std::mutex bestMoveMutex;
bool bestMoveHeld = false;
char heldBestMove[40] = "";

// Guards the hand-over of a running ponder search: the caller's hit-or-miss
// decision (which reads ponderPosition) and the worker's end of the ponder
// (which clears it) must not interleave.
std::mutex ponderMutex;

void resetClocks() {
    EngineSession& s = engineSession;
    s.whiteClock = 0;
    s.blackClock = 0;
    s.lastRecordTick = tickCount();
}

// The move the opponent is expected to play in the game position: the table's
// move for it, else the second move of the last variation.
int predictedReply(const Position& game) {
    Position keyed = game;
    keyed.hashKey = computeHashKey(keyed);
    keyed.hashLock = computeHashLock(keyed);
    int move = hashMoveOf(keyed);
    if (move != NoMove) return move;
    if (pvTable[1][0] >= 2) {
        int second = pvTable[1][2] & 0x7FFFFF;
        if (second >= 256) return second; // marker words are below 256
    }
    return NoMove;
}

// Plays a move word on the position through the legality-checked entry by squares.
bool playPredicted(Position& pos, int move) {
    int origin = moveOrigin(move), destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) origin = origin <= CastleWhiteQueenSide ? E1 : E8;
    if (destination < A8 || destination > H1 || origin < A8 || origin > H1) return false;
    if (columnOf(destination) > 7 || columnOf(origin) > 7) return false;
    return playMove(pos, columnOf(origin), rowOf(origin), columnOf(destination), rowOf(destination),
                    pos.sideToMove, pos.board[origin], 0, nullptr, nullptr, nullptr) == 1;
}

void ponder() {
    EngineSession& s = engineSession;
    // 1.
    {
        std::lock_guard<std::timed_mutex> commit(commitMutex);
        ponderWork = s.gamePosition;
    }
    int move = predictedReply(ponderWork);
    // 2.
    s.promotionChoice = Queen;
    // 3., 4.
    if (move != NoMove && playPredicted(ponderWork, move)) {
        // The entry of the position before the opponent's move, written now so
        // that recording that move finds it unchanged while the search reads it.
        Position keyed = s.gamePosition;
        keyed.hashKey = computeHashKey(keyed);
        recordRepetition(keyed.ply, fullIndexKey(keyed));
        {
            std::lock_guard<std::mutex> lock(ponderMutex);
            s.ponderPosition = ponderWork;
            s.searchState = 2;
            s.ponderState = 1;
        }
        rootSearch(ponderWork, PonderMode, s.depthLimit);
        // 5., 6.
        std::lock_guard<std::timed_mutex> commit(commitMutex);
        std::lock_guard<std::mutex> lock(ponderMutex);
        int state = s.ponderState;
        if (state == 2 && s.stopRequest == 0) {
            s.ponderState = 0;
            // A search left behind by a move out of turn after the hit has nothing to give.
            if (!lastSearchAborted) s.gamePosition = ponderWork;
            wakeEvent.set();
        } else if (state == 3 && s.stopRequest == 0) {
            wakeEvent.set();
        }
        // 7.
        s.searchState = 0;
        s.ponderState = 0;
        clearPosition(s.ponderPosition);
        return;
    }
    std::lock_guard<std::mutex> lock(ponderMutex);
    s.searchState = 0;
    s.ponderState = 0;
    clearPosition(s.ponderPosition);
}

void workerLoop() {
    EngineSession& s = engineSession;
    for (;;) {
        // 1. Wait for a request.
        commitGuard.set();
        idleEvent.set();
        // Cleared after the post: a caller that sees it clear with idleEvent set knows
        // the notice, if one was wanted, is on its way.
        if (idleNoticeWanted.load() != 0) {
            notifyMainWindow(WorkerIdleMessage, 0, 0);
            idleNoticeWanted = 0;
        }
        wakeEvent.wait();
        idleEvent.reset();
        commitGuard.reset();
        requestPending = 0;

        // 2. Analyse.
        if (s.workerRequest == 1) {
            s.searchState = 1;
            s.ponderState = 1;
            rootSearch(s.gamePosition, AnalyseMode, AnalysisDepth);
            s.searchState = 0;
            s.ponderState = 0;
            continue;
        }

        // 3. Think while it is the engine's turn.
        if (s.ponderState != 0) continue;
        s.searchState = 1;
        for (;;) {
            int engineColour = s.engineColour;
            if (engineColour == s.gamePosition.sideToMove || s.gameResult != GameInProgress ||
                engineColour == EnginePlaysNone)
                break;
            const int movedBefore = s.gamePosition.ply;
            rootSearch(s.gamePosition, ThinkMode, s.depthLimit);
            if (lastSearchAborted) break; // aborted without a move: do not start again
            // A position in which the search finds nothing to play (a set-up no
            // game can reach) would only be searched again and again.
            // A UCI interface still waits for its "bestmove".
            if (s.gamePosition.ply == movedBefore) {
                if (s.uciMode == 1) playEngineMove();
                break;
            }
        }
        s.searchState = 0;
        s.ponderState = 0;

        // 4. Think on the opponent's time.
        int engineColour = s.engineColour;
        // A beginner level answers at once and has nothing to ponder.
        if (s.ponderEnabled == 1 && noviceLevel == 0 && s.stopRequest != StopAndAbort &&
            (engineColour == EnginePlaysBlack || engineColour == EnginePlaysWhite) &&
            s.gameResult == GameInProgress)
            ponder();
    }
}

} // namespace

void Event::set() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = true;
    if (manual_)
        cv_.notify_all();
    else
        cv_.notify_one();
}

void Event::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
}

int Event::wait(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (timeoutMs < 0)
        cv_.wait(lock, [this] { return signalled_; });
    else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; }))
        return 0;
    if (!manual_) signalled_ = false;
    return 1;
}

int Event::isSet() {
    std::lock_guard<std::mutex> lock(mutex_);
    return signalled_ ? 1 : 0;
}

void startWorker() {
    std::call_once(workerStarted, [] {
        stopSearchHook = &stopSearch;
        // Runs for the whole program; nobody joins it.
        std::thread(workerLoop).detach();
    });
}

void startSearch(int request) {
    EngineSession& s = engineSession;
    if (s.ponderState > 0 || s.searchState != 0) return;
    if (request == 0 && s.engineColour != EnginePlaysNone && s.clockStarted == 0) {
        if (s.sessionOpen == 0) resetClocks();
        s.clockStarted = 1;
    }
    // Busy from now on, not only once the worker has woken: a stopSearch or a
    // wait for the commit guard right after this call must wait for the worker.
    requestPending = 1;
    idleEvent.reset();
    commitGuard.reset();
    s.workerRequest = request;
    wakeEvent.set();
}

void stopSearch() {
    commitGuard.wait(GuardWaitMs);
    engineSession.stopRequest = StopAndAbort;
    idleEvent.wait(GuardWaitMs);
}

void afterOpponentMove() {
    EngineSession& s = engineSession;
    // 1.
    if (s.clockStarted == 0) {
        if (s.sessionOpen == 0) resetClocks();
        s.clockStarted = 1;
    }
    // 2.
    s.gameResult = GameInProgress;
    // 3. Ponder hit or miss.
    bool finished;
    {
        std::lock_guard<std::mutex> lock(ponderMutex);
        if (s.ponderState == 1) {
            if (samePosition(s.gamePosition, s.ponderPosition)) {
                s.ponderState = 2;
                creditPonderTime();
            } else {
                s.ponderState = 3;
            }
        }
        // 4. A game ended by the opponent's move gets no reply, not even a pondered one.
        finished = gameOver(s.gamePosition) != 0;
        if (finished && s.ponderState == 2) s.ponderState = 3;
    }
    if (finished) {
        printResult(s.gamePosition);
        return;
    }
    // 5.
    startSearch(0);
}

void commitPonderPosition(const Position& pos) {
    std::lock_guard<std::mutex> lock(ponderMutex);
    engineSession.gamePosition = pos;
}

void playEngineMove() {
    EngineSession& s = engineSession;
    if (s.uciMode == 1) {
        // A UCI interface waits for "bestmove"; when the engine is still to move
        // nothing was committed.
        char text[8] = "0000";
        char reply[8] = "";
        if (s.engineColour == s.gamePosition.sideToMove) {
            int n = coordinateTextLower(text, s.engineMove);
            // The promotion piece is the one the record wrote ("e7-e8=Q").
            const char* recorded = std::strchr(lastMoveText(), '=');
            if (recorded && recorded[1] != '\0') {
                text[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(recorded[1])));
                text[n] = '\0';
            }
            // The opponent's expected answer, for the interface to let us ponder on.
            int expected = s.expectedReply;
            if (expected >= 256) {
                n = coordinateTextLower(reply, expected);
                int row = rowOf(moveDestination(expected));
                static const char letters[4] = {0, 'n', 'r', 'q'};
                char letter = letters[movePromotionBits(expected)];
                if (!isCastling(expected) && (row == 0 || row == 7) && letter) {
                    reply[n++] = letter;
                    reply[n] = '\0';
                }
            }
        }
        char line[sizeof heldBestMove];
        if (reply[0])
            std::snprintf(line, sizeof line, "bestmove %s ponder %s\n", text, reply);
        else
            std::snprintf(line, sizeof line, "bestmove %s\n", text);
        std::lock_guard<std::mutex> lock(bestMoveMutex);
        if (bestMoveHeld) {
            std::memcpy(heldBestMove, line, sizeof line);
            return;
        }
        std::fputs(line, stdout);
        std::fflush(stdout);
        return;
    }
    // A full game record no longer records moves; its last text would be an
    // older move, so the move is then given in coordinates.
    if (recordLength() == s.gamePosition.ply - 1) {
        std::printf("move %s\n", lastMoveText());
    } else {
        char text[8];
        coordinateTextLower(text, s.engineMove);
        std::printf("move %s\n", text);
    }
    std::fflush(stdout);
    notifyMainWindow(EngineMovedMessage, 0, 0);
}

void holdBestMove(bool hold) {
    std::lock_guard<std::mutex> lock(bestMoveMutex);
    bestMoveHeld = hold;
    heldBestMove[0] = '\0';
}

void releaseBestMove() {
    std::lock_guard<std::mutex> lock(bestMoveMutex);
    bestMoveHeld = false;
    if (heldBestMove[0] != '\0') {
        std::fputs(heldBestMove, stdout);
        std::fflush(stdout);
        heldBestMove[0] = '\0';
    }
}
