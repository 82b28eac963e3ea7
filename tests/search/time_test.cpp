// Time limits: the allocation formulas, the periodic time check, the root
// trouble test, the UCI progress line, and how searches end: by depth, by
// time, by a single legal move, by "?" and by an abort.
#include "tests/search/search_fixture.h"

#include <string>
#include <vector>

#include "engine/search/timecontrol.h"
#include "engine/search/worker.h"

using namespace searchtest;

namespace {

// Records the iteration depths the search reports and can raise a stop request
// after a chosen depth.
struct IterationLog {
    std::vector<int> depths;
    int stopAfterDepth = 0;
    int stopValue = 0;
    int moveAtStop = NoMove;
};
IterationLog iterationLog;

intptr_t recordIterations(unsigned message, intptr_t wParam, intptr_t) {
    if (message == IterationDoneMessage) {
        iterationLog.depths.push_back(static_cast<int>(wParam));
        if (wParam == iterationLog.stopAfterDepth) {
            iterationLog.moveAtStop = rootMove;
            engineSession.stopRequest = iterationLog.stopValue;
        }
    }
    return 0;
}

class SearchTime : public ::testing::Test {
  protected:
    void SetUp() override {
        freshEngine();
        iterationLog = IterationLog{};
        mainWindow = &recordIterations;
    }
    void TearDown() override { mainWindow = nullptr; }

    // Think on the game position; returns what was printed.
    std::string think(int maxDepth) {
        testing::internal::CaptureStdout();
        rootSearch(engineSession.gamePosition, ThinkMode, maxDepth);
        return testing::internal::GetCapturedStdout();
    }
};

const char* const middlegame = "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - -";

TEST_F(SearchTime, AllocationFollowsTheClockAndTheStageOfTheGame) {
    struct Case {
        float secondsLeft;
        int increment, ply;
        float target, extension;
    };
    const Case cases[] = {
        {300.0f, 0, 1, 299.5f / 45, 299.5f / 45 * 3.1f}, // five minutes, first move
        {10.0f, 0, 1, 0.2f, 0.62f},                      // below 20 s: half a second more off
        {60.0f, 0, 30, 59.5f / 41, 59.5f / 41 * 3.1f},   // move 15: divisor 56 - 15
        {60.0f, 0, 100, 59.5f / 38, 59.5f / 38 * 3.1f},  // divisor 88 - 50
        {8.0f, 0, 198, 7.0f / 19, 7.0f / 19 * 3.1f / 2}, // reserve halved until it fits
        {60.0f, 0, 250, 59.5f * 0.0285714f, 59.5f * 0.0285714f * 3.1f},
        {2.0f, 0, 1, 0.4f, 0.0f},                                  // target cut to 40 %, reserve dropped
        {0.0f, 5, 1, -0.5f / 45 + 5, 7.0f},                        // time per move: reserve kept
        {1000000.0f, 0, 1, 999999.5f / 45, 999999.5f / 45 * 3.1f}, // fixed depth: time never limits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.secondsLeft << " s, +" << c.increment << ", ply " << c.ply);
        engineSession.gamePosition.ply = static_cast<int16_t>(c.ply);
        engineSession.extensionTime = 7.0f;
        allocateTime(c.secondsLeft, c.increment);
        EXPECT_NEAR(engineSession.targetTime.load(), c.target, 1e-3f * c.target + 1e-4f);
        EXPECT_NEAR(engineSession.extensionTime.load(), c.extension, 1e-3f * c.extension + 1e-4f);
    }
    // Never below a hundredth of a second.
    engineSession.gamePosition.ply = 1;
    allocateTime(0.6f, 0);
    EXPECT_FLOAT_EQ(engineSession.targetTime.load(), 0.01f);
}

TEST_F(SearchTime, TimeCheckHonoursPonderingAndTheReserve) {
    EngineSession& s = engineSession;
    s.targetTime = 1.0f;
    s.extensionTime = 10.0f;
    searchStartTick = tickCount() - 5000;
    nodeCount = 100000;
    rootTrouble = 0;
    EXPECT_EQ(timeIsUp(), 1);
    EXPECT_EQ(nextTimeCheck, 125000u);
    rootTrouble = 2; // a little trouble: a fifth of the reserve
    EXPECT_EQ(timeIsUp(), 1);
    rootTrouble = 1; // clear trouble: the whole reserve
    EXPECT_EQ(timeIsUp(), 0);
    rootTrouble = 0;
    s.ponderState = 1; // pondering or analysing: never
    EXPECT_EQ(timeIsUp(), 0);
    s.ponderState = 0;
    s.targetTime = 100.0f;
    EXPECT_EQ(timeIsUp(), 0);

    // A ponder hit credits a third of the pondering time.
    s.targetTime = 1.0f;
    searchStartTick = tickCount() - 3000;
    creditPonderTime();
    EXPECT_NEAR(s.targetTime.load(), 2.0f, 0.05f);
}

TEST_F(SearchTime, RootTroubleMeasuresTheFallOfTheFirstMove) {
    struct Case {
        int side, previous, score, trouble, drop;
    };
    const Case cases[] = {
        {White, 100, 90, 0, 0},  // within the margin of 25
        {White, 100, 70, 2, 30}, // a little
        {White, 100, 40, 1, 60}, // clearly (more than twice the margin)
        {White, 700, 600, 0, 0}, // still winning: no trouble
        {Black, -100, -70, 2, 30}, {Black, -100, -20, 1, 80}, {White, 100, -19500, 0, 0}, // no score yet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.previous << " -> " << c.score);
        searchPosition.sideToMove = static_cast<uint8_t>(c.side);
        engineSession.rootScore = c.previous;
        rootTrouble = rootDrop = 0;
        rootTroubleTest(c.score);
        EXPECT_EQ(rootTrouble, c.trouble);
        EXPECT_EQ(rootDrop, c.drop);
    }
}

TEST_F(SearchTime, UciProgressLineOnlyAfterTheFirstSecond) {
    engineSession.uciMode = 1;
    rootDepth = 7;
    nodeCount = 5000;
    int move = makeMoveWord(E2, E4, 5, 3);
    searchStartTick = tickCount();
    testing::internal::CaptureStdout();
    reportRootMove(2, move, 35, move);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(rootBestScore, 35);
    EXPECT_EQ(currentRootMoveNumber, 3);
    searchStartTick = tickCount() - 2000;
    testing::internal::CaptureStdout();
    reportRootMove(2, move, 35, move);
    std::string line = testing::internal::GetCapturedStdout();
    EXPECT_EQ(line.rfind("info currmove e2e4  currmovenumber 3 depth 7 nodes 5000 time ", 0), 0u) << line;
    EXPECT_EQ(line.back(), '\n');
    EXPECT_NE(line.find(" nps "), std::string::npos);
    engineSession.uciMode = 0;
    testing::internal::CaptureStdout();
    reportRootMove(2, move, 35, move);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(SearchTime, ReserveMovesIntoTheTargetOnTroubleOrSwing) {
    EngineSession& s = engineSession;
    searchStartTick = tickCount() - 1000;
    s.targetTime = 2.0f;
    s.extensionTime = 10.0f;
    timeExtended = 0;
    rootTrouble = 1;
    rootDrop = 100;
    extendTimeAfterIteration(0, 0);
    EXPECT_FLOAT_EQ(s.targetTime.load(), 8.0f);
    EXPECT_FLOAT_EQ(s.extensionTime.load(), 4.0f);
    extendTimeAfterIteration(0, 200); // only once per search
    EXPECT_FLOAT_EQ(s.targetTime.load(), 8.0f);

    timeExtended = 0;
    rootTrouble = 0;
    s.targetTime = 2.0f;
    s.extensionTime = 10.0f;
    extendTimeAfterIteration(50, -50); // a swing of 100 near equality
    EXPECT_FLOAT_EQ(s.targetTime.load(), 6.0f);
    EXPECT_FLOAT_EQ(s.extensionTime.load(), 6.0f);
    timeExtended = 0;
    extendTimeAfterIteration(500, 300); // a swing in a won position: nothing
    EXPECT_FLOAT_EQ(s.targetTime.load(), 6.0f);
}

TEST_F(SearchTime, FixedDepthEndsAtTheDepthAndPlaysTheMove) {
    setGame(middlegame);
    allocateTime(1000000.0f, 0);
    std::string out = think(3);
    EXPECT_EQ(iterationLog.depths, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(recordLength(), 1);
    EXPECT_EQ(out, std::string("move ") + lastMoveText() + "\n");
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    EXPECT_EQ(engineSession.engineMove.load(), rootMove);
}

TEST_F(SearchTime, BookMoveIsPlayedWithoutIterations) {
    Position pos = setGame(InitialFen);
    Position next = after(pos, makeMoveWord(E2, E4, 4, 3));
    addPosition(openingBook, computeHashKey(next), computeHashLock(next), 2, -1, 1);
    EXPECT_EQ(think(10), "move e2-e4  \n");
    EXPECT_TRUE(iterationLog.depths.empty());
    EXPECT_EQ(engineSession.rootScore.load(), 20); // ten times the book value
    EXPECT_EQ(nodeCount, 0u);
    EXPECT_TRUE(moveIs(engineSession.engineMove, "e2e4"));
    // Analysis does not use the book.
    setGame(InitialFen);
    rootSearch(engineSession.gamePosition, AnalyseMode, 2);
    EXPECT_EQ(iterationLog.depths.size(), 2u);
    EXPECT_EQ(recordLength(), 0);
}

TEST_F(SearchTime, FullGameRecordStillReportsTheMovePlayed) {
    setGame("k7/8/8/8/8/8/6r1/7K w - -"); // the king must take the rook
    gameRecord.plyCount = RecordStopPly;
    // The game has gone past the record's last ply: this move is not recorded.
    engineSession.gamePosition.ply = RecordStopPly + 1;
    engineSession.gamePosition.lastIrreversiblePly = RecordStopPly + 1;
    // The capture leaves bare kings: the result line follows the move.
    EXPECT_EQ(think(2), "move h1g2\n1/2-1/2 {Draw by Insufficent Material to Mate}\n");
    EXPECT_EQ(engineSession.gamePosition.board[G2], WhiteKing);
}

TEST_F(SearchTime, TimeLevelsEndTheSearchWithAMove) {
    struct Level {
        float secondsLeft;
        int increment;
    };
    // Time per game with three seconds on the clock (a target of 0.044 s), and
    // one second per move (a target just under a second).
    for (Level level : {Level{3.0f, 0}, Level{0.0f, 1}}) {
        SCOPED_TRACE(testing::Message() << level.secondsLeft << " s +" << level.increment);
        setGame(middlegame);
        iterationLog.depths.clear();
        engineSession.extensionTime = 0.0f;
        allocateTime(level.secondsLeft, level.increment);
        EXPECT_LT(engineSession.targetTime.load(), 1.0f);
        think(30);
        ASSERT_FALSE(iterationLog.depths.empty());
        EXPECT_LT(iterationLog.depths.back(), 30);
        EXPECT_EQ(recordLength(), 1);
        EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    }
}

TEST_F(SearchTime, SingleLegalMoveStopsAfterIterationFour) {
    // The king in check has one square.
    Position pos = setGame("k7/8/8/8/8/8/6r1/7K w - -");
    int32_t legal[256];
    ASSERT_EQ(legalMoves(pos, legal), 1);
    think(30);
    EXPECT_EQ(iterationLog.depths, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(recordLength(), 1);
    EXPECT_EQ(engineSession.engineMove.load(), legal[0]);
    // In analysis the search goes on.
    iterationLog.depths.clear();
    rootSearch(pos, AnalyseMode, 6);
    EXPECT_EQ(iterationLog.depths.size(), 6u);
}

TEST_F(SearchTime, StopOnePlaysTheBestMoveSoFarAndStopThreePlaysNothing) {
    setGame(middlegame);
    Position before = engineSession.gamePosition;
    iterationLog.stopAfterDepth = 3;
    iterationLog.stopValue = StopAndPlay;
    think(12);
    EXPECT_EQ(iterationLog.depths, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(recordLength(), 1);
    EXPECT_EQ(engineSession.engineMove.load(), iterationLog.moveAtStop);
    EXPECT_EQ(lastSearchAborted, 0);

    setGame(middlegame);
    iterationLog = IterationLog{};
    iterationLog.stopAfterDepth = 2;
    iterationLog.stopValue = StopAndAbort;
    int moveBefore = engineSession.engineMove;
    std::string out = think(12);
    EXPECT_EQ(out, "");
    EXPECT_EQ(recordLength(), 0);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, before));
    EXPECT_EQ(engineSession.engineMove.load(), moveBefore);
    EXPECT_EQ(lastSearchAborted, 1);
    engineSession.stopRequest = NoStop;
}

} // namespace
