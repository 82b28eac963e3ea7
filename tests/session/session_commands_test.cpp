// The command table acting on the engine's session, checked field by field.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/search/timecontrol.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"

namespace {

class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        startEngine();
        processCommand("new\n");
        processCommand("force\n");
    }
    void TearDown() override { processCommand("force\n"); }

    static std::string fen() {
        char text[FenBufferSize];
        writeFen(text, engineSession.gamePosition);
        return text;
    }
};

TEST_F(CommandTest, NameLevelAndOrderQuirks) {
    processCommand("sd 5\n");
    // "name" ends processing: the command words in the name do nothing.
    processCommand("name Kasparov new quit sd 9\n");
    EXPECT_STREQ(engineSession.opponentName, "Kasparov new quit sd 9");
    EXPECT_EQ(engineSession.depthLimit, 5);
    EXPECT_EQ(engineSession.sessionOpen, 1);
    const std::string longName = "name " + std::string(500, 'x') + "\n";
    processCommand(longName.c_str());
    EXPECT_EQ(std::strlen(engineSession.opponentName), static_cast<size_t>(OpponentNameSize - 1));

    struct Row {
        const char* line;
        int minutes;
        int increment;
    };
    const Row rows[] = {
        {"level 40 5 0\n", 5, 0},
        {"level 0 2 12\n", 2, 12},
        {"level\n", 0, 12},
        {"level 40 0:30 3\n", 0, 12}, // minutes:seconds is not read past the colon
    };
    for (const Row& row : rows) {
        processCommand(row.line);
        EXPECT_EQ(engineSession.baseMinutes, row.minutes) << row.line;
        EXPECT_EQ(engineSession.increment, row.increment) << row.line;
    }
    // Depth limits; nonsense leaves the limit, and it is never below one ply.
    const std::pair<const char*, int> depths[] = {
        {"sd 7\n", 7}, {"sd x\n", 7}, {"sd 0\n", 1}, {"sd -4\n", 1}};
    for (const auto& [line, depth] : depths) {
        processCommand(line);
        EXPECT_EQ(engineSession.depthLimit, depth) << line;
    }
    // Pondering: a line with both words ends with pondering off.
    processCommand("hard\n");
    EXPECT_EQ(engineSession.ponderEnabled, 1);
    processCommand("hard easy\n");
    EXPECT_EQ(engineSession.ponderEnabled, 0);
    // "quit" closes the session, "new" opens it again with its defaults.
    processCommand("quit\n");
    EXPECT_EQ(engineSession.sessionOpen, 0);
    processCommand("new\n");
    EXPECT_EQ(engineSession.sessionOpen, 1);
    EXPECT_EQ(engineSession.depthLimit, 28);
    EXPECT_EQ(engineSession.engineColour, EnginePlaysBlack);
    EXPECT_FLOAT_EQ(engineSession.targetTime, 2.6f);
}

TEST_F(CommandTest, ClocksFollowTimeAndOtim) {
    processCommand("level 40 5 0\n");
    engineSession.engineColour = EnginePlaysWhite;
    processCommand("time 12000\n");
    EXPECT_EQ(engineSession.whiteClock, 18000);
    processCommand("otim 6000\n");
    EXPECT_EQ(engineSession.blackClock, 24000);
    // Every later line applies the last "time" to the engine's colour of the moment.
    engineSession.engineColour = EnginePlaysBlack;
    processCommand("post\n");
    EXPECT_EQ(engineSession.blackClock, 18000);
    EXPECT_FLOAT_EQ(engineSession.lastTime, 12000.0f);
    EXPECT_FLOAT_EQ(engineSession.lastOtim, 6000.0f);
}

// Once the interface reports the clock, the engine's moves are budgeted from it.
TEST_F(CommandTest, ReportedClockBudgetsTheMove) {
    // No "time" since "new": the fixed target stays.
    processCommand("e2e4\n");
    EXPECT_FLOAT_EQ(engineSession.targetTime, 2.6f);

    struct Row {
        const char* level;
        const char* time;
        float seconds;
        int increment;
    };
    const Row rows[] = {
        {"level 40 1 0\n", "time 6000\n", 60.0f, 0},
        {"level 0 5 0\n", "time 30000\n", 300.0f, 0},
        {"level 0 2 3\n", "time 9000\n", 90.0f, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.time);
        processCommand("new\n");
        processCommand("force\n");
        processCommand(row.level);
        processCommand(row.time);
        processCommand("e2e4\n");
        float target = engineSession.targetTime;
        float extension = engineSession.extensionTime;
        engineSession.extensionTime = 2.0f; // the value "new" left
        allocateTime(row.seconds, row.increment);
        EXPECT_FLOAT_EQ(target, engineSession.targetTime);
        EXPECT_FLOAT_EQ(extension, engineSession.extensionTime);
        EXPECT_LT(target, row.seconds / 10);
    }
    // Little time left and a large increment: the move still fits the clock.
    processCommand("new\n");
    processCommand("force\n");
    processCommand("level 0 1 10\n");
    processCommand("time 150\n");
    processCommand("e2e4\n");
    EXPECT_GT(engineSession.targetTime, 0.0f);
    EXPECT_LE(engineSession.targetTime + engineSession.extensionTime, 0.5f);
}

TEST_F(CommandTest, MovesSetboardAndTakebacks) {
    const std::string initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
    processCommand("e2e4\n");
    processCommand("e7e5\n");
    processCommand("g1f3\n");
    EXPECT_EQ(recordLength(), 3);
    EXPECT_EQ(engineSession.searchState, 0); // playing neither side, the engine stays silent
    // Illegal, malformed and unknown lines change nothing.
    const std::string afterThree = fen();
    for (const char* line : {"e2e4\n", "a7a4\n", "h2h9\n", "1234\n", "xyzzy\n", "time\n"}) {
        processCommand(line);
        EXPECT_EQ(fen(), afterThree) << line;
    }
    EXPECT_EQ(recordLength(), 3);
    processCommand("undo\n");
    EXPECT_EQ(fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
    processCommand("remove\n");
    EXPECT_EQ(fen(), initial);
    EXPECT_EQ(recordLength(), 3); // the record keeps the plies taken back

    // "setboard": a new game from the position; a rejected text changes nothing.
    processCommand("setboard 8/8/8/8/8/8/8/K6k b - -\n");
    EXPECT_EQ(fen(), "8/8/8/8/8/8/8/K6k b - -");
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_TRUE(samePosition(engineSession.gamePosition, engineSession.startPosition));
    EXPECT_EQ(recordLength(), 0);
    for (const char* line : {"setboard 8/8/8/8/8/8/8/8 w - -\n", "setboard\n", "setboard 4k3/8/8 w\n",
                             "setboard 4K3/4k3/8/8/8/8/8/8 w - -\n"}) {
        processCommand(line);
        EXPECT_EQ(fen(), "8/8/8/8/8/8/8/K6k b - -") << line;
    }
    // The keyword need not start the line; the reader never runs past its end.
    processCommand("xsetboard 4k3/8/8/8/8/8/8/4K2R w K -\n");
    EXPECT_EQ(fen(), "4k3/8/8/8/8/8/8/4K2R w K -");
    processCommand("e1g1\n");
    EXPECT_EQ(fen(), "4k3/8/8/8/8/8/8/5RK1 b - -");
    EXPECT_STREQ(gameRecord.longTexts[0], "O-O    ");
}

TEST_F(CommandTest, ResultsSetTheGameResult) {
    struct Row {
        const char* line;
        int result;
    };
    const Row rows[] = {{"result 1-0 {White mates}\n", WhiteWon},
                        {"result 0-1 {Black resigns}\n", BlackWon},
                        {"result 1/2-1/2 {Draw by repetition}\n", Drawn},
                        {"result * {unfinished}\n", Drawn}};
    for (const Row& row : rows) {
        processCommand("new\n");
        processCommand(row.line);
        EXPECT_EQ(engineSession.gameResult, row.result) << row.line;
    }
    // "go" and a move entered bring the game back in progress.
    processCommand("force\n");
    processCommand("e2e4\n");
    EXPECT_EQ(engineSession.gameResult, GameInProgress);
}

} // namespace
