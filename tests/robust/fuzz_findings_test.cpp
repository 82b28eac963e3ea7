// Inputs the fuzz targets found, kept as regression cases.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/session/commands.h"
#include "engine/search/worker.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"
#include "tests/fuzz/fuzz_session.h"
#include "tests/session/engine_process.h"

namespace {

Position fromFen(const char* fen) {
  Position position;
  EXPECT_EQ(readFen(position, fen, std::strlen(fen)), 1) << fen;
  return position;
}

// Castling text with the king too near the edge for two squares: no square off
// the board comes out of the parse, and nothing is played.
TEST(FuzzFindings, CastlingTextNearTheEdgeGivesNoSquareOffTheBoard) {
  initSession();
  struct Row {
    const char* fen;
    const char* text;
  };
  const Row rows[] = {
      {"8/P6k/8/8/8/8/6Kp/8 w - - 0 1", "O-O0-O"},  // king on g2: two columns right is off the board
      {"7k/8/8/8/8/8/8/1K6 w - - 0 1", "O-O-O"},     // king on b1
      {"7k/8/8/8/8/8/8/K7 w - - 0 1", "0-0-0"},      // king on a1
      {"k7/8/8/8/8/8/8/7K b - - 0 1", "o-o-o"},      // Black king on a8
  };
  for (const Row& row : rows) {
    Position position = fromFen(row.fen);
    ParsedMove parsed = parseMoveText(row.text, position);
    EXPECT_GE(parsed.toColumn, -1) << row.fen;
    EXPECT_LE(parsed.toColumn, 7) << row.fen;
    const Position before = position;
    EXPECT_EQ(playMoveText(row.text, position, 0, nullptr), 0) << row.fen;
    EXPECT_EQ(std::memcmp(&position, &before, sizeof position), 0) << row.fen;
  }
}

int legalMoveCount(const Position& position) {
  int colour = position.sideToMove;
  MoveList list;
  generateMovesWithCheck(position, list, colour);
  int total = list.count();
  int legal = 0;
  for (int k = 0; k < total; ++k) {
    int32_t move = list.move(k);
    Position copy = position;
    uint32_t changed, former;
    makeMove(copy, move, changed, former, Queen);
    if (!inCheck(copy, colour)) ++legal;
  }
  return legal;
}

// A knight on h1 steps past the last board square onto the spare bytes; the
// generator must read them as border, for either colour.
TEST(FuzzFindings, KnightOnTheLastSquareHasItsTwoMoves) {
  initSession();
  EXPECT_EQ(legalMoveCount(fromFen("4k3/8/8/8/8/8/8/4K2N w - - 0 1")), 2 + 5);
  EXPECT_EQ(legalMoveCount(fromFen("4k2N/8/8/8/8/8/8/4K3 w - - 0 1")), 2 + 5);  // h8 for comparison
  EXPECT_EQ(legalMoveCount(fromFen("4k3/8/8/8/8/8/8/4K2n b - - 0 1")), 2 + 5);
}

// An opponent's move during analysis restarts the analysis; a command that must
// stop it right after ("undo") used to lose its stop request to the search that
// was just beginning, and waited for the whole analysis time.
TEST(FuzzFindings, StopRightAfterAnAnalysisRestartIsNotLost) {
  EngineProcess engine;
  ASSERT_TRUE(engine.started());
  // The race is narrow; each round gives it another chance.
  for (int round = 0; round < 2; ++round) {
    const std::string white[] = {"new", "setboard r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "analyze", "e1g1", "undo",
                                 "exit", "ping " + std::to_string(2 * round)};
    for (const std::string& line : white) engine.send(line);
    ASSERT_EQ(engine.readUntil("pong", 5000), "pong " + std::to_string(2 * round));
    // The same with a castling move for each side and a takeback of two plies.
    const std::string black[] = {"setboard r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "analyze", "e8c8", "e1g1",
                                 "remove", "exit", "ping " + std::to_string(2 * round + 1)};
    for (const std::string& line : black) engine.send(line);
    ASSERT_EQ(engine.readUntil("pong", 5000), "pong " + std::to_string(2 * round + 1));
  }
}

// A FEN tag whose en-passant field names b1 for a Black pawn on c2: the pawn
// captured "en passant" onto its last rank, promoted, and the pawn counts went
// wrong. Squares no pawn can just have passed are dropped by the reader.
TEST(FuzzFindings, EnPassantSquareThatNoPawnPassedIsDropped) {
  initSession();
  const char text[] =
      "[Evetn\x9e\"7\"]\n[FEN \"8/8/8/4k3/8/8/2p3/Kd4 4K3 b1. Bxb4 5. -]\n\n1p... KdC=a5 1 \x01,-K04 Bxb41. e4 e. "
      "b4 Ba5\xb5 0-04. b4 a5\xb5 0 5-0. /Kd4 4K3 b1";
  loadGameText(text);
  const char* why = nullptr;
  EXPECT_TRUE(positionIsValid(engineSession.gamePosition, false, &why)) << why;
  Position replay;
  goToPly(replay, gameRecord.plyCount + 1);
  EXPECT_TRUE(positionIsValid(replay, false, &why)) << why;

  struct Row {
    const char* fen;
    int epSquare;
  };
  const Row rows[] = {
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", squareOf(4, 5)},  // kept
      {"rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6", squareOf(3, 2)},  // kept
      {"4k3/8/8/8/8/8/2p5/K7 b - b1", NoSquare},                                     // last rank
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3", NoSquare},          // wrong side
      {"4k3/8/8/8/8/8/8/4K3 b - e3", NoSquare},                                       // no pawn passed it
  };
  for (const Row& row : rows) {
    Position position = fromFen(row.fen);
    EXPECT_EQ(position.epSquare, row.epSquare) << row.fen;
    EXPECT_TRUE(positionIsValid(position, false, &why)) << row.fen << ": " << why;
  }
}

// A game set up with an en-passant square whose first move takes en passant: the
// FEN tag written with it said "-", so the saved game (and the autosave) read back
// with the capture refused and another board. The field keeps the square when a
// pawn can take there, and only then.
TEST(FuzzFindings, SetUpGameTakingEnPassantReadsBackFromItsText) {
  initSession();
  struct Row {
    const char* text;
    const char* fenField;  // what the written FEN tag holds after the castling field
    int plies;
  };
  const Row rows[] = {
      {"[Event \"Set up\"]\n[CurreTP nly \"2\"]\n[FEN \"rnbqk`nr/pp/8/RNBQKBNR PPPpPPT/RNBQKBN]R b K/RNBQKBNR b "
       "KQkq e3 nd\xde\xa1\n\n1... c3 2. Nf3 {a\n\n2. d4 d5 *\n",
       " b q e3 ", 2},
      {"[FEN \"rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3\"]\n\n2... dxe3 3. dxe3 *", " b KQkq e3 ", 2},
      {"[FEN \"rnbqkbnr/pppp1ppp/8/3Pp3/8/8/PPP1PPPP/RNBQKBNR w KQkq e6 0 3\"]\n\n3. dxe6 *", " w KQkq e6 ", 1},
      // No pawn can take: the field stays "-".
      {"[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1\"]\n\n1... e5 *", " b KQkq - ", 1},
  };
  static char written[65536];
  for (const Row& row : rows) {
    ASSERT_EQ(loadGameText(row.text), 1) << row.text;
    ASSERT_EQ(gameRecord.plyCount - (engineSession.startPosition.sideToMove == Black), row.plies) << row.text;
    const Position before = engineSession.gamePosition;
    ASSERT_GT(writeGameText(0, written, sizeof written), 0);
    EXPECT_NE(std::strstr(written, row.fenField), nullptr) << written;
    ASSERT_EQ(loadGameText(written), 1) << written;
    EXPECT_EQ(std::memcmp(before.board, engineSession.gamePosition.board, sizeof before.board), 0) << written;
    EXPECT_EQ(before.sideToMove, engineSession.gamePosition.sideToMove) << written;
  }
}

// A move text "Null" followed by other bytes is played as a null move, so a game
// holding one is refused like one with "--": its record could not be replayed.
TEST(FuzzFindings, GameWithANullTokenIsRefused) {
  initSession();
  EXPECT_EQ(loadGameText("[Event \"x\"]\r\n\r\n1. e4 Nf6 2. d4 e5\r\n*"), 1);
  const Position before = engineSession.gamePosition;
  for (const char* text : {"1. e4 Nf6 2. Null\xe0\xf2 a6 *", "1. e4 Nf6 2. Null a6 *", "1. e4 -- 2. d4 *"}) {
    EXPECT_EQ(loadGameText(text), 0) << text;
    EXPECT_TRUE(samePosition(before, engineSession.gamePosition)) << text;
  }
}

// "time" and "otim" values beyond any clock ("60e60", "nan") and a "level" of a
// billion minutes: the clocks are whole numbers of centiseconds all the same (the
// conversion of an infinite time to an integer was undefined).
TEST(FuzzFindings, ClockLinesBeyondAnyClockStayInRange) {
  startEngine();
  for (const char* line : {"new\n", "level 0 999999999 0\n", "time 1e60\n", "otim 60e60\n", "time nan\n",
                           "otim -1e60\n"}) {
    processCommand(line);
    EXPECT_TRUE(std::isfinite(engineSession.lastTime) && std::fabs(engineSession.lastTime) <= 1e9f) << line;
    EXPECT_TRUE(std::isfinite(engineSession.lastOtim) && std::fabs(engineSession.lastOtim) <= 1e9f) << line;
  }
  processCommand("new\n");
}

// The worker held after its last iteration, before it commits its move.
struct HeldCommit {
  std::mutex mutex;
  std::condition_variable changed;
  bool reached = false;
  bool released = false;
};
HeldCommit held;

// The engine's replies would fill the log.
struct QuietOutput {
  int saved;
  QuietOutput() {
    std::fflush(stdout);
    saved = dup(1);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    close(devNull);
  }
  ~QuietOutput() {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
  }
};

intptr_t holdBeforeCommit(unsigned message, intptr_t wParam, intptr_t lParam) {
  if (message == DisambiguateMessage)
    return disambiguationNeeded(static_cast<int32_t>(wParam), *reinterpret_cast<const Position*>(lParam));
  if (message != IterationDoneMessage) return 0;
  std::unique_lock<std::mutex> lock(held.mutex);
  held.reached = true;
  held.changed.notify_all();
  held.changed.wait_for(lock, std::chrono::seconds(10), [] { return held.released; });
  return 0;
}

// An opponent's move that comes while the engine thinks (out of turn, right after
// "go") met the worker's commit of its own move: both wrote the game at once and
// left a square in two piece-list slots. The game now takes one of the two whole:
// the move the caller played stands and the search's move is dropped.
TEST(FuzzFindings, MoveOutOfTurnMeetingTheEnginesCommitLeavesOneGame) {
  startEngine();
  // The input as found; timing decides whether its lines meet a commit.
  const char found[] =
      "new\nlevel(40 1 0\nm 60\xff\xff\xff\xff\xff" "00\ngo\ne7e5\nping 4\nresulttti\xff\xff\xff\xff\xff"
      "00\ngo\ne7e5\nping 4\nresulttime 600001\ngo\ne3e5\n\ne7e5\nping \x8a\x93\xff\xff\xff\xff";
  const char* why = nullptr;
  int round = 0;
  {
    QuietOutput quiet;
    for (; round < 300; ++round) {
      processCommand("new\n");
      processCommand("sd 1\n");
      fuzzsession::feedLines(reinterpret_cast<const uint8_t*>(found), sizeof found - 1, "sd 1\n");
      processCommand("force\n");
      if (!positionIsValid(engineSession.gamePosition, false, &why)) break;
    }
    nodeLimit = 0;  // the fuzz feeder's node budget
  }
  ASSERT_EQ(round, 300) << why;

  // The meeting made certain: the caller plays Qd1-d7+ (which the engine would never
  // choose) while the worker waits between its last iteration and its commit.
  processCommand("new\n");
  processCommand("setboard 3rk3/8/8/8/8/8/8/3QK3 w - -\n");
  processCommand("sd 1\n");
  processCommand("easy\n");
  held.reached = held.released = false;
  mainWindow = &holdBeforeCommit;
  // Lets the worker go on and stops it (also when an expectation below ends the test).
  struct Release {
    bool done = false;
    void now() {
      if (done) return;
      done = true;
      {
        std::lock_guard<std::mutex> lock(held.mutex);
        held.released = true;
        held.changed.notify_all();
      }
      // The worker ends its search (commit or not) before anything stops it.
      idleEvent.wait(10000);
      processCommand("force\n");
      mainWindow = nullptr;
    }
    ~Release() { now(); }
  } release;
  processCommand("go\n");
  {
    std::unique_lock<std::mutex> lock(held.mutex);
    ASSERT_TRUE(held.changed.wait_for(lock, std::chrono::seconds(10), [] { return held.reached; }));
  }
  processCommand("d1d7\n");
  release.now();
  const Position& game = engineSession.gamePosition;
  EXPECT_EQ(game.board[squareOf(3, 1)], WhiteQueen);
  EXPECT_EQ(game.sideToMove, Black);
  EXPECT_TRUE(positionIsValid(game, false, &why)) << why;
  Position replay;
  goToPly(replay, game.ply);
  EXPECT_EQ(std::memcmp(replay.board, game.board, sizeof game.board), 0);
  EXPECT_EQ(recordLength(), 1);
  processCommand("new\n");
}

}  // namespace

// A UCI "position" line of garbage set up a position in which the search finds
// nothing to play; the worker searched it again and again, "stop" never ended
// and no "bestmove" came. It now answers "bestmove 0000" and stays responsive.
TEST(FuzzFindings, PositionWithNothingToPlayAnswersAndStops) {
  EngineProcess engine;
  ASSERT_TRUE(engine.started());
  engine.send("uci");
  ASSERT_EQ(engine.readUntil("uciok", 5000), "uciok");
  engine.send("position fe6Kp/p\x91\x8c\x96\x8bion fen 8/P6kqqXqqqqqqq\x82qqqqqqqqqqforeon!namisreadye "
              "\xff\xffqqqqqqqqqucqqpingKp/8 w - - 0 1 moves a88 w -Kp/8\x1cpond 1 mov1");
  engine.send("es a8a8a8n h3h3q");
  engine.send("go moventim e ");
  EXPECT_EQ(engine.readUntil("bestmove", 5000), "bestmove 0000");
  engine.send("stop");
  engine.send("isready");
  EXPECT_EQ(engine.readUntil("readyok", 5000), "readyok");
}
