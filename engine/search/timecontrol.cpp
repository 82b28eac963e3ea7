#include "engine/search/timecontrol.h"

#include <cstdio>
#include <cstdlib>

#include "engine/core/notation.h"
#include "engine/search/ordering.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/session/session.h"

std::atomic<uint32_t> searchStartTick{0};
int rootTrouble = 0;
int rootDrop = 0;
int timeExtended = 0;
int currentRootMove = NoMove;
int currentRootMoveNumber = 1;
int lastReportedBestMove = NoMove;
std::atomic<uint32_t> nodeLimit{0};

namespace {
constexpr uint32_t TimeCheckInterval = 25000; // nodes between two looks at the clock
constexpr uint32_t InfoLineDelayMs = 1000;    // no progress line during the first second
} // namespace

void allocateTime(float secondsLeft, int increment) {
    EngineSession& s = engineSession;
    int f = s.gamePosition.ply / 2;
    int ply = s.gamePosition.ply;
    float d = secondsLeft - 0.5f;
    // 1. Share of the time left by the stage of the game, plus the increment.
    if (increment == 0 && d < 20.0f) d -= 0.5f;
    float target;
    if (ply < 24)
        target = d / (45 - f);
    else if (ply < 60)
        target = d / (56 - f);
    else if (ply < 132)
        target = d / (88 - f);
    else if (ply < 200)
        target = d / (118 - f);
    else
        target = d * 0.0285714f;
    target += increment;
    if (increment != 0) {
        s.targetTime = target;
        return;
    }
    // 2. Without an increment the reserve comes from what is left.
    if (target + 1.0f > d) target = d * 0.4f;
    if (target < 0.01f) target = 0.01f;
    float extension = target * 3.1f;
    while (extension + target + 6.0f > d && extension > 0.5f) extension *= 0.5f;
    if (extension < 0.5f) extension = 0.0f;
    s.targetTime = target;
    s.extensionTime = extension;
}

void allocateTimeForMoves(float secondsLeft, int increment, int movesToGo) {
    EngineSession& s = engineSession;
    if (movesToGo < 1) movesToGo = 1;
    float d = secondsLeft - 0.5f;
    if (d < 0.02f) d = 0.02f;
    // One share more than the moves left keeps a reserve for the last move of
    // the control; the reserve may go to a move in trouble.
    float share = d / static_cast<float>(movesToGo + 1);
    s.targetTime = share + increment * 0.9f;
    s.extensionTime = movesToGo > 1 ? share : 0.0f;
}

uint32_t firstTimeCheck(uint32_t interval) {
    uint32_t limit = nodeLimit;
    return limit != 0 && limit < interval ? limit : interval;
}

int timeIsUp() {
    EngineSession& s = engineSession;
    nextTimeCheck = nodeCount + TimeCheckInterval;
    // A node budget ends the search near its count, pondering or not.
    uint32_t limit = nodeLimit;
    if (limit != 0) {
        if (nodeCount >= limit && rootDepth > 1) return 1; // the first iteration always ends
        if (nextTimeCheck > limit) nextTimeCheck = limit;
    }
    int64_t now = tickCount();
    // Trouble at the root lets the search run on into the reserve.
    if (rootTrouble == 1)
        now -= static_cast<int64_t>(s.extensionTime.load() * 1000.0f);
    else if (rootTrouble == 2)
        now -= static_cast<int64_t>(s.extensionTime.load() * 0.2f * 1000.0f);
    if (s.ponderState == 1) return 0; // pondering or analysing: no limit
    return now - static_cast<int64_t>(searchStartTick.load()) >
           static_cast<int64_t>(s.targetTime.load() * 1000.0f);
}

void rootTroubleTest(int score) {
    if (std::abs(score) >= 19000) return;
    int previous = engineSession.rootScore;
    int margin = std::abs(previous) < 300 ? 25 : 40;
    if (searchPosition.sideToMove == White) {
        if (previous > -800 && score < 550 && score < previous - margin) {
            rootDrop = std::abs(previous - score);
            rootTrouble = score < previous - 2 * margin ? 1 : 2;
        }
    } else {
        if (previous < 800 && score > -550 && score > previous + margin) {
            rootDrop = std::abs(score - previous);
            rootTrouble = score > previous + 2 * margin ? 1 : 2;
        }
    }
}

void reportRootMove(int index, int move, int bestScore, int bestMove) {
    currentRootMoveNumber = index + 1;
    currentRootMove = move;
    if (engineSession.uciMode == 1) {
        uint32_t elapsed = tickCount() - searchStartTick;
        if (elapsed > InfoLineDelayMs) {
            char text[16];
            coordinateText(text, move);
            unsigned nps = static_cast<unsigned>(static_cast<double>(nodeCount) * 1000.0 / elapsed);
            std::printf("info currmove %s currmovenumber %d depth %d nodes %u time %d nps %u \n", text,
                        currentRootMoveNumber, rootDepth.load(), nodeCount, static_cast<int>(elapsed), nps);
            std::fflush(stdout);
        }
    }
    rootBestScore = bestScore;
    lastReportedBestMove = bestMove;
}

void extendTimeAfterIteration(int previousScore, int score) {
    EngineSession& s = engineSession;
    float t = (tickCount() - searchStartTick) * 0.001f;
    // 1. The first root move fell clearly: take most of the reserve.
    if (rootTrouble == 1 && rootDrop > 84 && t > s.targetTime * 0.33f && !timeExtended) {
        float x = s.extensionTime * 0.6f;
        s.targetTime = s.targetTime + x;
        s.extensionTime = s.extensionTime - x;
        timeExtended = 1;
    }
    // 2. The score swung in a balanced position: take part of it.
    if (std::abs(previousScore - score) > 94 && std::abs(previousScore) < 400 && t > s.targetTime * 0.27f &&
        !timeExtended) {
        float x = s.extensionTime * 0.4f;
        s.targetTime = s.targetTime + x;
        s.extensionTime = s.extensionTime - x;
        timeExtended = 1;
    }
}

int iterationStopRule(int nextDepth) {
    EngineSession& s = engineSession;
    if (nextDepth <= 4 || s.ponderState != 0) return 0;
    float t = (tickCount() - searchStartTick) * 0.001f;
    if (rootLegalMoves == 1 && !analysisSearch) return 1;
    if (s.targetTime - t < 0.0f) return 1;
    // Easy recapture: the best move takes back what the opponent just took.
    int recapture = s.expectedRecapture;
    if (rootMove != NoMove && recapture != 0 && moveDestination(rootMove) == recapture &&
        completedIterations >= 4 && rootTrouble != 1) {
        int victim = searchPosition.board[recapture];
        if (orderValue(victim) > 200 && t > s.targetTime * 0.2f) return 1;
    }
    return 0;
}

void creditPonderTime() {
    EngineSession& s = engineSession;
    s.targetTime = s.targetTime + (tickCount() - searchStartTick) * 0.000333f;
}
