// The command language: the table acting on the session field by field, and
// scripted sessions with tavisk-engine whose output is compared line by line.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/search/novice.h"
#include "engine/search/thinking.h"
#include "engine/search/timecontrol.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"
#include "tests/session/engine_process.h"

namespace {

class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        startEngine();
        processCommand("new\n");
        processCommand("force\n");
    }
    static std::string fen() {
        char text[FenBufferSize];
        writeFen(text, engineSession.gamePosition);
        return text;
    }
};

TEST_F(CommandTest, TableRowsActInTheirOrder) {
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
        int minutes, increment, depth;
    };
    const Row rows[] = {
        {"level 40 5 0\n", 5, 0, 5}, {"level 0 2 12\n", 2, 12, 5},
        {"level\n", 0, 12, 5},       {"level 40 0:30 3\n", 0, 12, 5}, // not read past the colon
        {"sd 7\n", 0, 12, 7},        {"sd x\n", 0, 12, 7},
        {"sd 0\n", 0, 12, 1}, // never below one ply
    };
    for (const Row& row : rows) {
        processCommand(row.line);
        EXPECT_EQ(engineSession.baseMinutes, row.minutes) << row.line;
        EXPECT_EQ(engineSession.increment, row.increment) << row.line;
        EXPECT_EQ(engineSession.depthLimit, row.depth) << row.line;
    }
    processCommand("hard easy\n"); // both words: pondering ends up off
    EXPECT_EQ(engineSession.ponderEnabled, 0);
    // The clocks: "time" for the engine's colour, re-applied on every later line.
    processCommand("level 40 5 0\n");
    engineSession.engineColour = EnginePlaysWhite;
    processCommand("time 12000\n");
    processCommand("otim 6000\n");
    EXPECT_EQ(engineSession.whiteClock, 18000);
    EXPECT_EQ(engineSession.blackClock, 24000);
    engineSession.engineColour = EnginePlaysBlack;
    processCommand("post\n");
    EXPECT_EQ(engineSession.blackClock, 18000);
    EXPECT_EQ(postThinking, 1);
    processCommand("nopost\n");
    EXPECT_EQ(postThinking, 0);
    processCommand("quit\n");
    EXPECT_EQ(engineSession.sessionOpen, 0);
    processCommand("new\n");
    EXPECT_EQ(engineSession.sessionOpen, 1);
    EXPECT_EQ(engineSession.depthLimit, 28);
}

// Once the interface reports the clock, moves are budgeted from it.
TEST_F(CommandTest, ReportedClockBudgetsTheMove) {
    processCommand("e2e4\n");
    EXPECT_FLOAT_EQ(engineSession.targetTime, 2.6f); // no "time" since "new": the fixed target
    struct Row {
        const char* level;
        const char* time;
        float seconds;
        int increment;
        int movesToGo; // a level with moves per control shares the clock out over them
    };
    const Row rows[] = {{"level 40 1 0\n", "time 6000\n", 60.0f, 0, 40},
                        {"level 0 5 0\n", "time 30000\n", 300.0f, 0, 0},
                        {"level 0 2 3\n", "time 9000\n", 90.0f, 3, 0}};
    for (const Row& row : rows) {
        for (const char* line : {"new\n", "force\n", row.level, row.time, "e2e4\n"}) processCommand(line);
        float target = engineSession.targetTime, extension = engineSession.extensionTime;
        engineSession.extensionTime = 2.0f; // what "new" left
        if (row.movesToGo > 0)
            allocateTimeForMoves(row.seconds, row.increment, row.movesToGo);
        else
            allocateTime(row.seconds, row.increment);
        EXPECT_FLOAT_EQ(target, engineSession.targetTime) << row.time;
        EXPECT_FLOAT_EQ(extension, engineSession.extensionTime) << row.time;
    }
    // Little time left and a large increment: the move still fits the clock.
    for (const char* line : {"new\n", "force\n", "level 0 1 10\n", "time 150\n", "e2e4\n"})
        processCommand(line);
    EXPECT_GT(engineSession.targetTime, 0.0f);
    EXPECT_LE(engineSession.targetTime + engineSession.extensionTime, 0.5f);
    // The last move before the control may take half of what is left, the first of forty a forty-first.
    for (const char* line : {"new\n", "force\n", "level 1 1 0\n", "time 1000\n", "e2e4\n"})
        processCommand(line);
    EXPECT_FLOAT_EQ(engineSession.targetTime, 4.75f);
    for (const char* line : {"new\n", "force\n", "level 40 1 0\n", "time 1000\n", "e2e4\n"})
        processCommand(line);
    EXPECT_FLOAT_EQ(engineSession.targetTime, 9.5f / 41);
}

TEST_F(CommandTest, BeginnerLevelOptionInBothProtocols) {
    const struct {
        const char* line;
        int level;
    } rows[] = {
        {"option Novice=2\n", 2},
        {"option Novice=9\n", 3}, // clamped to the levels there are
        {"setoption name Novice value 1\n", 1},
        {"setoption name Novice value -4\n", 0},
        {"option Novice=3\n", 3},
        {"setoption name Novice value 0\n", 0},
    };
    for (const auto& row : rows) {
        processCommand(row.line);
        EXPECT_EQ(noviceLevel, row.level) << row.line;
    }
    EXPECT_EQ(engineSession.depthLimit, 28); // no other field is touched
}

TEST_F(CommandTest, MovesSetboardAndTakebacks) {
    for (const char* line : {"e2e4\n", "e7e5\n", "g1f3\n"}) processCommand(line);
    EXPECT_EQ(engineSession.searchState, 0); // playing neither side, the engine stays silent
    const std::string afterThree = fen();
    for (const char* line :
         {"e2e4\n", "a7a4\n", "h2h9\n", "1234\n", "time\n", "setboard 8/8/8/8/8/8/8/8 w - -\n", "setboard\n",
          "setboard 4K3/4k3/8/8/8/8/8/8 w - -\n"}) {
        processCommand(line);
        EXPECT_EQ(fen(), afterThree) << line;
    }
    processCommand("undo\n");
    EXPECT_EQ(fen(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -");
    processCommand("remove\n");
    EXPECT_EQ(fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    EXPECT_EQ(recordLength(), 3); // the record keeps the plies taken back
    // The keyword need not start the line; the reader never runs past its end.
    processCommand("xsetboard 4k3/8/8/8/8/8/8/4K2R b K -\n");
    EXPECT_EQ(fen(), "4k3/8/8/8/8/8/8/4K2R b K -");
    EXPECT_EQ(engineSession.gamePosition.ply, 2);
    EXPECT_EQ(recordLength(), 0);
    processCommand("e8d8\n");
    processCommand("e1g1\n");
    EXPECT_EQ(fen(), "3k4/8/8/8/8/8/8/5RK1 b - -");
    EXPECT_STREQ(gameRecord.longTexts[2], "O-O    ");
}

const std::regex MoveLine("move (O-O(-O)?|[BNRQK]?[a-h][1-8][-x][a-h][1-8](=[QRBN])?\\+?) *");
const std::regex BestMoveLine("bestmove [a-h][1-8][a-h][1-8][qrbn]?( ponder [a-h][1-8][a-h][1-8][qrbn]?)?");

TEST(EngineScript, HandshakesPingAndTheEnd) {
    EngineProcess engine;
    for (const char* line :
         {"xboard", "protover 2", "accepted setboard", "random", "ucinewgame", "ping 1", "ping"})
        engine.send(line);
    EXPECT_EQ(engine.readLine(), "feature myname=\"CPU\" name=1 setboard=1 ping=1");
    EXPECT_EQ(engine.readLine(), "feature done=1");
    EXPECT_EQ(engine.readLine(), "pong 1");
    EXPECT_EQ(engine.readLine(), "pong 0");
    engine.send("uci");
    for (const char* line :
         {"id name CPU", "id author Pellimor", "option name Hash type spin default 24 min 2 max 196",
          "option name Clear Hash type button", "option name Ponder type check default false", "uciok"})
        EXPECT_EQ(engine.readLine(), line);
    engine.send("isready");
    EXPECT_EQ(engine.readLine(), "readyok");
    engine.send("quit");
    EXPECT_TRUE(engine.ended(5000));

    // At the end of its input the engine still plays the move it was asked for.
    EngineProcess second;
    for (const char* line : {"new", "sd 3", "setboard 4k3/8/8/8/8/8/4P3/4K3 w - -", "go"}) second.send(line);
    second.closeInput();
    EXPECT_TRUE(std::regex_match(second.readLine(), MoveLine));
    EXPECT_EQ(second.readLine(), "<eof>");
    EXPECT_TRUE(second.ended(5000));
}

// A whole game to mate, the result line, and the game appended to the record file.
TEST(EngineScript, GameToMateIsRecordedWithItsResult) {
    std::remove("WinboardGames.pgn");
    {
        EngineProcess engine;
        for (const char* line : {"new", "name Tester", "level 40 5 0", "force", "f2f3", "e7e5", "g2g4", "go"})
            engine.send(line);
        EXPECT_EQ(engine.readLine(), "move Qd8-h4+");
        EXPECT_EQ(engine.readLine(), "0-1 {Black Mates}");
        engine.send("result 0-1 {Black mates}");
        engine.send("ping 5");
        EXPECT_EQ(engine.readLine(), "pong 5");
    }
    std::string games(4096, '\0');
    FILE* file = std::fopen("WinboardGames.pgn", "r");
    ASSERT_NE(file, nullptr);
    games.resize(std::fread(games.data(), 1, games.size(), file));
    std::fclose(file);
    std::remove("WinboardGames.pgn");
    EXPECT_EQ(games.rfind("[Event \"Markvane Game\"]\n", 0), 0u) << games;
    EXPECT_NE(games.find("[TimeControl \"300+0\"]\n[CurrentPly \"5\"]\n[White \"Tester\"]\n[Black \"CPU\"]\n"
                         "[Result \"0-1\"]\n\n1. f2-f3   e7-e5   \n2. g2-g4   Qd8-h4+ \n0-1\n\n"),
              std::string::npos)
        << games;
}

TEST(EngineScript, PlayNowPingDuringThinkingAndAnalysis) {
    EngineProcess engine;
    // A clock of a million seconds: without "?" the engine would think for hours.
    for (const char* line : {"new", "setboard r2qk2r/ppp2ppp/2n1bn2/3pp3/8/2NP1NP1/PPP1PPBP/R1BQ1RK1 w kq -",
                             "level 0 100000 0", "time 100000000", "go"})
        engine.send(line);
    std::string reply = "<timeout>";
    for (int i = 0; i < 60 && reply == "<timeout>"; ++i) {
        engine.send("?"); // until the move comes: one sent before the search began is not lost
        reply = engine.readLine(250);
    }
    EXPECT_TRUE(std::regex_match(reply, MoveLine)) << reply;
    // "ping" during thinking forces the move first, then answers.
    engine.send("force");
    engine.send("go");
    engine.send("ping 7");
    reply = engine.readLine(15000);
    EXPECT_TRUE(std::regex_match(reply, MoveLine)) << reply;
    EXPECT_EQ(engine.readLine(15000), "pong 7");
    // Analysis never plays, also after a move entered during it.
    for (const char* line : {"analyze", ".", "a2a3", "ping 3"}) engine.send(line);
    EXPECT_EQ(engine.readLine(15000), "pong 3");
}

// A UCI interface can play a whole game: position, go with its limits, stop.
TEST(EngineScript, UciPlaysWithPositionGoAndStop) {
    EngineProcess engine;
    engine.send("uci");
    EXPECT_EQ(engine.readUntil("uciok"), "uciok");
    engine.send("ucinewgame");
    std::string moves;
    for (int i = 0; i < 8; ++i) {
        engine.send("position startpos" + (moves.empty() ? std::string() : " moves" + moves));
        engine.send(i % 2 ? "go wtime 3000 btime 3000 winc 100 binc 100" : "go movetime 150");
        std::string reply = engine.readUntil("bestmove");
        ASSERT_TRUE(std::regex_match(reply, BestMoveLine)) << reply;
        moves += " " + reply.substr(9, reply.find(' ', 9) - 9);
    }
    engine.send("position fen 8/P6k/8/8/8/8/8/K7 w - - moves");
    engine.send("go depth 3");
    EXPECT_EQ(engine.readUntil("bestmove").substr(0, 14), "bestmove a7a8q");
    engine.send("position fen 4k3/pp3ppp/8/8/8/8/PP3PPP/4K3 w - -"); // out of the book
    engine.send("go infinite");
    engine.send("isready");
    EXPECT_EQ(engine.readUntil("readyok"), "readyok");
    engine.send("stop");
    std::string reply = engine.readUntil("bestmove");
    EXPECT_TRUE(std::regex_match(reply, BestMoveLine)) << reply;
    // A stop that comes before the first iteration has chosen still answers a move.
    for (int i = 0; i < 20; ++i) {
        engine.send("go infinite");
        engine.send("stop");
        reply = engine.readUntil("bestmove");
        EXPECT_TRUE(std::regex_match(reply, BestMoveLine)) << i << ": " << reply;
    }
    engine.send("position fen k7/1Q6/1K6/8/8/8/8/8 b - -"); // mated: an answer at once
    engine.send("go movetime 100");
    EXPECT_EQ(engine.readUntil("bestmove"), "bestmove 0000");
}

} // namespace
