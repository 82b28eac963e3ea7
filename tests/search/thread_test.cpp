// The worker thread: thinking, pondering with a hit and with a miss, analysis
// and "?" run to their ends through the same protocol the command interpreter
// uses (events, stopRequest, searchState, notifications).
#include "tests/search/search_fixture.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/core/notation.h"
#include "engine/search/worker.h"

using namespace searchtest;

namespace {

// What the main window would have been told, in order.
struct Notifications {
    std::mutex mutex;
    std::condition_variable changed;
    int moves = 0;               // 0x401
    std::vector<int> depths;     // 0x402
    size_t depthsAtMove[8] = {}; // iterations reported when each move came
};
Notifications notes;

intptr_t mainWindowStandIn(unsigned message, intptr_t wParam, intptr_t lParam) {
    if (message == DisambiguateMessage)
        return disambiguationNeeded(static_cast<int32_t>(wParam), *reinterpret_cast<const Position*>(lParam));
    std::lock_guard<std::mutex> lock(notes.mutex);
    if (message == EngineMovedMessage && notes.moves < 8)
        notes.depthsAtMove[notes.moves++] = notes.depths.size();
    if (message == IterationDoneMessage) notes.depths.push_back(static_cast<int>(wParam));
    notes.changed.notify_all();
    return 0;
}

template <class Condition> bool waitUntil(Condition condition, int seconds = 30) {
    std::unique_lock<std::mutex> lock(notes.mutex);
    return notes.changed.wait_for(lock, std::chrono::seconds(seconds), condition);
}

bool pollUntil(bool (*condition)(), int seconds = 30) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class SearchThread : public ::testing::Test {
  protected:
    void SetUp() override {
        startWorker();
        ASSERT_EQ(idleEvent.wait(5000), 1); // the worker of an earlier test must be idle first
        freshEngine();
        {
            std::lock_guard<std::mutex> lock(notes.mutex);
            notes.moves = 0;
            notes.depths.clear();
            for (size_t& n : notes.depthsAtMove) n = 0;
        }
        mainWindow = &mainWindowStandIn;
    }

    void TearDown() override {
        engineSession.engineColour = EnginePlaysNone;
        engineSession.ponderEnabled = 0;
        stopSearch();
        EXPECT_EQ(idleEvent.wait(10000), 1);
        mainWindow = nullptr;
        engineSession.stopRequest = NoStop;
    }

    // The interpreter's way of entering the opponent's move.
    static void opponentPlays(int32_t move) {
        commitGuard.wait(1000);
        int from = moveOrigin(move), to = moveDestination(move);
        ASSERT_EQ(playMove(engineSession.gamePosition, columnOf(from), rowOf(from), columnOf(to), rowOf(to),
                           engineSession.gamePosition.sideToMove, 0, 1, nullptr, nullptr, nullptr),
                  1);
        afterOpponentMove();
    }

    int movesSoFar() {
        std::lock_guard<std::mutex> lock(notes.mutex);
        return notes.moves;
    }
};

const char* const openingFen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -";

TEST_F(SearchThread, ThinkPlaysOneMoveAndWaits) {
    setGame(openingFen);
    engineSession.engineColour = EnginePlaysWhite;
    engineSession.depthLimit = 4;
    startSearch(0);
    ASSERT_TRUE(waitUntil([] { return notes.moves == 1; }));
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(engineSession.searchState.load(), 0);
    EXPECT_EQ(movesSoFar(), 1);
    EXPECT_EQ(recordLength(), 1);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    EXPECT_EQ(engineSession.clockStarted.load(), 1);
    // Requests while idle and it is not the engine's turn do nothing.
    startSearch(0);
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(movesSoFar(), 1);
}

TEST_F(SearchThread, PonderHitAnswersWithoutStartingAgain) {
    setGame(openingFen);
    EngineSession& s = engineSession;
    s.engineColour = EnginePlaysWhite;
    s.ponderEnabled = 1;
    s.depthLimit = 28;
    s.targetTime = 0.2f;
    startSearch(0);
    ASSERT_TRUE(waitUntil([] { return notes.moves == 1; }));
    // The engine ponders on its predicted reply; let it get a few iterations deep.
    ASSERT_TRUE(pollUntil([] { return engineSession.ponderState.load() == 1; }));
    size_t seen;
    {
        std::lock_guard<std::mutex> lock(notes.mutex);
        seen = notes.depths.size();
    }
    ASSERT_TRUE(waitUntil([seen] { return notes.depths.size() >= seen + 3; }));
    int32_t legal[256];
    int count = legalMoves(s.gamePosition, legal);
    int32_t predicted = NoMove;
    for (int i = 0; i < count; ++i)
        if (samePosition(after(s.gamePosition, legal[i]), s.ponderPosition)) predicted = legal[i];
    ASSERT_NE(predicted, NoMove);
    {
        std::lock_guard<std::mutex> lock(notes.mutex);
        seen = notes.depths.size();
    }
    opponentPlays(predicted);
    ASSERT_TRUE(waitUntil([] { return notes.moves == 2; }));
    {
        // The pondering search went on: no iteration started again from depth 1
        // before the reply (the next ponder search may have begun since).
        std::lock_guard<std::mutex> lock(notes.mutex);
        for (size_t i = seen; i < notes.depthsAtMove[1]; ++i) EXPECT_GT(notes.depths[i], 1);
    }
    commitGuard.wait(5000);
    EXPECT_EQ(recordLength(), 3);
    EXPECT_EQ(s.gamePosition.sideToMove, Black);
}

TEST_F(SearchThread, PonderMissThinksOnTheRealPosition) {
    setGame(openingFen);
    EngineSession& s = engineSession;
    s.engineColour = EnginePlaysWhite;
    s.ponderEnabled = 1;
    s.depthLimit = 28;
    s.targetTime = 0.2f;
    startSearch(0);
    ASSERT_TRUE(waitUntil([] { return notes.moves == 1; }));
    ASSERT_TRUE(pollUntil([] { return engineSession.ponderState.load() == 1; }));
    int32_t legal[256];
    int count = legalMoves(s.gamePosition, legal);
    int32_t other = NoMove;
    for (int i = 0; i < count && other == NoMove; ++i)
        if (!samePosition(after(s.gamePosition, legal[i]), s.ponderPosition)) other = legal[i];
    ASSERT_NE(other, NoMove);
    size_t seen;
    {
        std::lock_guard<std::mutex> lock(notes.mutex);
        seen = notes.depths.size();
    }
    opponentPlays(other);
    ASSERT_TRUE(waitUntil([] { return notes.moves == 2; }));
    {
        // A new search: its iterations start at depth 1.
        std::lock_guard<std::mutex> lock(notes.mutex);
        ASSERT_GT(notes.depthsAtMove[1], seen);
        bool restarted = false;
        for (size_t i = seen; i < notes.depthsAtMove[1]; ++i) restarted |= notes.depths[i] == 1;
        EXPECT_TRUE(restarted);
    }
    commitGuard.wait(5000);
    EXPECT_EQ(recordLength(), 3);
}

TEST_F(SearchThread, AnalysisRunsToItsDepthAndNeverPlays) {
    // Bare kings: every iteration is quick, so the analysis reaches its full depth.
    Position start = setGame("8/8/3k4/8/8/8/2K5/8 w - -");
    engineSession.engineColour = EnginePlaysNone;
    engineSession.analyzeMode = 1;
    engineSession.targetTime = 1200.0f;
    startSearch(1);
    ASSERT_TRUE(waitUntil([] { return !notes.depths.empty() && notes.depths.back() == AnalysisDepth; }));
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(movesSoFar(), 0);
    EXPECT_EQ(recordLength(), 0);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, start));

    // A long analysis ends only when stopped.
    {
        std::lock_guard<std::mutex> lock(notes.mutex);
        notes.depths.clear();
    }
    setGame(openingFen);
    startSearch(1);
    ASSERT_TRUE(waitUntil([] { return notes.depths.size() >= 3; }));
    EXPECT_EQ(engineSession.searchState.load(), 1);
    stopSearch();
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(engineSession.searchState.load(), 0);
    EXPECT_EQ(movesSoFar(), 0);
    EXPECT_EQ(recordLength(), 0);
    engineSession.analyzeMode = 0;
}

TEST_F(SearchThread, QuestionMarkPlaysTheBestMoveAtOnce) {
    setGame(openingFen);
    engineSession.engineColour = EnginePlaysWhite;
    engineSession.depthLimit = 28;
    engineSession.targetTime = 1000.0f;
    startSearch(0);
    ASSERT_TRUE(waitUntil([] { return notes.depths.size() >= 4; }));
    EXPECT_EQ(movesSoFar(), 0);
    engineSession.stopRequest = StopAndPlay;
    ASSERT_TRUE(waitUntil([] { return notes.moves == 1; }));
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(recordLength(), 1);
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
}

TEST_F(SearchThread, StopSearchAbortsWithoutPlaying) {
    setGame(openingFen);
    Position before = engineSession.gamePosition;
    engineSession.engineColour = EnginePlaysWhite;
    engineSession.depthLimit = 28;
    engineSession.targetTime = 1000.0f;
    startSearch(0);
    ASSERT_TRUE(waitUntil([] { return notes.depths.size() >= 3; }));
    stopSearch();
    ASSERT_EQ(idleEvent.wait(10000), 1);
    EXPECT_EQ(movesSoFar(), 0);
    EXPECT_EQ(recordLength(), 0);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, before));
    // Idle, a stop returns at once.
    stopSearch();
    EXPECT_EQ(idleEvent.isSet(), 1);
}

} // namespace
