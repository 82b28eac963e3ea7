// Scripted sessions of the command language: lines fed to tavisk-engine, its
// output compared line by line.

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "tests/session/engine_process.h"

namespace {

const std::regex MoveLine("move (O-O(-O)?|[BNRQK]?[a-h][1-8][-x][a-h][1-8](=[QRBN])?\\+?) *");
const std::regex BestMoveLine("bestmove [a-h][1-8][a-h][1-8][qrbn]?");

std::string readFile(const char* name) {
    std::string text;
    FILE* file = std::fopen(name, "r");
    if (!file) return text;
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    std::fclose(file);
    return text;
}

TEST(EngineScript, HandshakesAndPing) {
    EngineProcess engine;
    ASSERT_TRUE(engine.started());
    engine.send("xboard");
    engine.send("protover 2");
    EXPECT_EQ(engine.readLine(), "feature myname=\"CPU\" name=1 setboard=1 ping=1");
    EXPECT_EQ(engine.readLine(), "feature done=1");
    engine.send("accepted setboard");
    engine.send("accepted done");
    engine.send("ping 1");
    EXPECT_EQ(engine.readLine(), "pong 1");
    engine.send("ping");
    EXPECT_EQ(engine.readLine(), "pong 0");
    // Unknown lines and "ucinewgame" answer nothing.
    engine.send("random");
    engine.send("computer");
    engine.send("ucinewgame");
    engine.send("ping 2");
    EXPECT_EQ(engine.readLine(), "pong 2");
    engine.send("uci");
    EXPECT_EQ(engine.readLine(), "id name CPU");
    EXPECT_EQ(engine.readLine(), "id author Pellimor");
    EXPECT_EQ(engine.readLine(), "option name Hash type spin default 24 min 2 max 196");
    EXPECT_EQ(engine.readLine(), "option name Clear Hash type button");
    EXPECT_EQ(engine.readLine(), "uciok");
    engine.send("isready");
    EXPECT_EQ(engine.readLine(), "readyok");
    engine.send("quit");
    EXPECT_TRUE(engine.ended(5000));
}

// A whole game to mate, the result line, and the game appended to the record file.
TEST(EngineScript, GameToMateIsRecordedWithItsResult) {
    std::remove("WinboardGames.pgn");
    EngineProcess engine;
    engine.send("new");
    engine.send("name Tester");
    engine.send("level 40 5 0");
    engine.send("force");
    engine.send("f2f3");
    engine.send("e7e5");
    engine.send("g2g4");
    engine.send("go");
    EXPECT_EQ(engine.readLine(), "move Qd8-h4+");
    EXPECT_EQ(engine.readLine(), "0-1 {Black Mates}");
    engine.send("result 0-1 {Black mates}");
    engine.send("ping 5");
    EXPECT_EQ(engine.readLine(), "pong 5");
    engine.send("quit");
    EXPECT_TRUE(engine.ended(5000));
    std::string games = readFile("WinboardGames.pgn");
    std::remove("WinboardGames.pgn");
    EXPECT_EQ(games.rfind("[Event \"Markvane Game\"]\n", 0), 0u) << games;
    EXPECT_NE(games.find("[TimeControl \"300+0\"]\n[Current Ply \"5\"]\n[White \"Tester\"]\n"
                         "[Black \"CPU\"]\n[Result \"0-1\"]\n\n"
                         "1. f2-f3   e7-e5   \n2. g2-g4   Qd8-h4+ \n\n"),
              std::string::npos)
        << games;
}

TEST(EngineScript, MatesEitherWayEndTheGame) {
    EngineProcess engine;
    // The engine mates in one.
    engine.send("new");
    engine.send("setboard k7/8/1K6/8/8/8/8/6R1 w - -");
    engine.send("go");
    EXPECT_EQ(engine.readLine(), "move Rg1-g8+");
    EXPECT_EQ(engine.readLine(), "1-0 {White Mates}");
    // The opponent mates the engine: the result line, and no move.
    engine.send("new");
    engine.send("setboard k7/8/1K6/8/8/8/8/7R w - -");
    engine.send("h1h8");
    EXPECT_EQ(engine.readLine(), "1-0 {White Mates}");
    engine.send("ping 1");
    EXPECT_EQ(engine.readLine(), "pong 1");
    // Stalemate by the opponent's move.
    engine.send("new");
    engine.send("setboard k7/8/8/1Q6/8/8/8/7K w - -");
    engine.send("b5b6");
    EXPECT_EQ(engine.readLine(), "1/2-1/2 {Draw by Stalemate}");
    engine.send("ping 2");
    EXPECT_EQ(engine.readLine(), "pong 2");
}

TEST(EngineScript, MovesTakebacksAndSetboard) {
    EngineProcess engine;
    engine.send("new");
    engine.send("sd 2");
    engine.send("e2e4"); // the engine plays Black and answers
    std::string reply = engine.readUntil("move ");
    EXPECT_TRUE(std::regex_match(reply, MoveLine)) << reply;
    // Illegal and malformed moves are ignored without reply.
    engine.send("e2e5");
    engine.send("a1a9");
    engine.send("ping 1");
    EXPECT_EQ(engine.readLine(), "pong 1");
    // Taking back the engine's reply and the move: "remove", then a new reply.
    engine.send("remove");
    engine.send("force");
    engine.send("setboard 8/8/8/8/8/8/8/8 w - -"); // rejected: the game stays
    engine.send("d2d4");
    engine.send("go");
    reply = engine.readUntil("move ");
    EXPECT_TRUE(std::regex_match(reply, MoveLine)) << reply;
    // A position with a single legal move: undo brings the engine back to it.
    engine.send("force");
    engine.send("setboard 7k/8/8/8/8/8/R4PPP/r5K1 w - -");
    engine.send("a2a1");
    engine.send("h8g8");
    engine.send("undo");
    engine.send("undo"); // White in check again: taking the rook is the only move
    engine.send("sd 3");
    engine.send("go");
    EXPECT_EQ(engine.readUntil("move "), "move Ra2xa1 ");
}

TEST(EngineScript, PlayNowPingDuringThinkingAndAnalysis) {
    EngineProcess engine;
    engine.send("new");
    engine.send("setboard r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq -");
    // A clock of a million seconds: without "?" the engine would think for hours.
    engine.send("level 0 100000 0");
    engine.send("time 100000000");
    engine.send("otim 100000000");
    engine.send("go");
    // "?" until the move comes: one sent before the search has begun is not lost
    // on a search that would otherwise go on for hours.
    std::string reply = "<timeout>";
    for (int i = 0; i < 60 && reply == "<timeout>"; ++i) {
        engine.send("?");
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
    // Analysis searches without ever playing; moves entered go on being analysed.
    engine.send("analyze");
    engine.send(".");
    engine.send("d2d3");
    engine.send("ping 3");
    EXPECT_EQ(engine.readLine(15000), "pong 3");
    engine.send("force");
    engine.send("ping 4");
    EXPECT_EQ(engine.readLine(15000), "pong 4");
}

// A UCI interface can play a whole game: position, go with its limits, stop.
TEST(EngineScript, UciPlaysWithPositionGoAndStop) {
    EngineProcess engine;
    engine.send("uci");
    EXPECT_EQ(engine.readUntil("uciok"), "uciok");
    engine.send("isready");
    EXPECT_EQ(engine.readLine(), "readyok");
    engine.send("ucinewgame");
    std::string moves;
    for (int i = 0; i < 8; ++i) {
        engine.send("position startpos" + (moves.empty() ? std::string() : " moves" + moves));
        engine.send(i % 2 ? "go wtime 3000 btime 3000 winc 100 binc 100" : "go movetime 150");
        std::string reply = engine.readUntil("bestmove");
        ASSERT_TRUE(std::regex_match(reply, BestMoveLine)) << reply;
        moves += " " + reply.substr(9);
    }
    // A promotion is written in lower case.
    engine.send("position fen 8/P6k/8/8/8/8/8/K7 w - - moves");
    engine.send("go depth 3");
    EXPECT_EQ(engine.readUntil("bestmove"), "bestmove a7a8q");
    engine.send("position fen 7k/8/8/8/8/8/8/K6R w - - moves h1h2 h8g8");
    engine.send("go depth 2");
    std::string reply = engine.readUntil("bestmove");
    EXPECT_TRUE(std::regex_match(reply, BestMoveLine)) << reply;
    // "go infinite" searches until "stop".
    engine.send("position startpos moves e2e4 e7e5");
    engine.send("go infinite");
    engine.send("isready");
    EXPECT_EQ(engine.readUntil("readyok"), "readyok");
    engine.send("stop");
    reply = engine.readUntil("bestmove");
    EXPECT_TRUE(std::regex_match(reply, BestMoveLine)) << reply;
    // A finished game answers at once.
    engine.send("position fen k7/1Q6/1K6/8/8/8/8/8 b - -");
    engine.send("go movetime 100");
    EXPECT_EQ(engine.readUntil("bestmove"), "bestmove 0000");
    engine.send("quit");
    EXPECT_TRUE(engine.ended(5000));
}

TEST(EngineScript, EndOfInputStillPlaysTheMoveAskedFor) {
    EngineProcess engine;
    engine.send("new");
    engine.send("sd 3");
    engine.send("setboard 4k3/8/8/8/8/8/4P3/4K3 w - -");
    engine.send("go");
    engine.closeInput();
    std::string output = engine.rest();
    EXPECT_TRUE(std::regex_search(output, std::regex("^move [^\\n]+\\n$"))) << output;
    EXPECT_TRUE(engine.ended(5000));
}

} // namespace
