#include <vector>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/core/gamerecord.h"
#include "engine/core/fen.h"
#include "engine/search/searchdata.h"
#include "engine/search/book.h"
#include "engine/search/results.h"
#include "engine/search/worker.h"
#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/clocks.h"
#include "game/gamelist.h"
#include "game/gamefiles.h"
#include "tests/game/game_harness.h"

namespace {

std::string lines(GameController& game) {
    char user[32], engine[32];
    clockLines(game, "You", "CPU", "W", "B", user, engine, sizeof user);
    return std::string(user) + "|" + engine;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ClockLines, Format) {
    char line[32];
    formatClockLine(line, sizeof line, "You", "W", 307000);
    EXPECT_STREQ(line, "You: W  5:07");
    formatClockLine(line, sizeof line, "You", "W", 727000);
    EXPECT_STREQ(line, "You: W 12:07");
    formatClockLine(line, sizeof line, "CPU", "B", 5000000);
    EXPECT_STREQ(line, "CPU: B 59:59");
    formatClockLine(line, 8, "You", "W", 0); // a short buffer is cut, not overrun
    EXPECT_STREQ(line, "You: W ");
}

// The clocks measure the real time each side is to move: answers under a second count,
// slides (whose frames sleep) and time with another window in front do not.
TEST_F(GameTest, ClocksMeasureTheRealTimeOfEachSide) {
    startGame();
    platform->now += 61500;
    game().clockTimerFired();
    EXPECT_EQ(lines(game()), "You: W  1:01|CPU: B  0:00");
    EXPECT_EQ(platform->statusRepaints, 1);
    // Another window in front: the time since the last settling still counts, the rest not.
    platform->now += 200;
    platform->foreground = false;
    game().settleClocks(); // the main window's activation changed
    platform->now += 5000;
    game().clockTimerFired();
    EXPECT_EQ(game().whiteClockMs, 61700);
    // In front again: the clock runs on.
    platform->foreground = true;
    game().clockTimerFired();
    platform->now += 1000;
    game().clockTimerFired();
    EXPECT_EQ(game().whiteClockMs, 62700);

    // Quick answers on both sides, each move with its slide.
    const char* const moves[][2] = {{"e2", "e4"}, {"d2", "d4"}, {"g1", "f3"}, {"b1", "c3"}};
    long slept = platform->sleptMs;
    for (const auto& move : moves) {
        platform->now += 400;
        tap(col(move[0]), row(move[0]));
        tap(col(move[1]), row(move[1]));
        ASSERT_TRUE(game().engineBusy);
        platform->now += 300;
        ASSERT_TRUE(waitForEngine());
    }
    EXPECT_GT(platform->sleptMs - slept, 8 * SlideFramePeriodMs); // the slides took their time
    EXPECT_EQ(game().whiteClockMs, 62700 + 4 * 400);
    EXPECT_EQ(game().blackClockMs, 4 * 300);
    EXPECT_EQ(engineBridge().clockUsedMs[0], game().whiteClockMs); // what a game time budgets from
    EXPECT_EQ(engineBridge().clockUsedMs[1], game().blackClockMs);

    // A press whose release was lost ends at the next tick.
    int x, y;
    squarePoint(col("a2"), row("a2"), x, y);
    game().stylusPressed(x, y);
    ASSERT_TRUE(game().stylusDown);
    platform->stylusHeld = true;
    game().clockTick();
    EXPECT_TRUE(game().stylusDown);
    platform->stylusHeld = false;
    game().clockTick();
    EXPECT_FALSE(game().stylusDown);

    game().setClocks(ClockLimitMs - 1000, 0);
    platform->now += 3000;
    game().clockTick();
    EXPECT_EQ(game().whiteClockMs, ClockLimitMs);

    // The user's line follows the user's colour (a fresh start, without this game).
    waitForAutosave();
    std::remove(gameFile(AutosaveFileName).c_str());
    startGame(false);
    ASSERT_TRUE(waitForEngine());
    platform->now += 1000;
    game().clockTick();
    EXPECT_EQ(lines(game()), "You: B  0:01|CPU: W  0:00");
}

// "Game In": both sides have the whole game time, and every engine move is budgeted
// from what is left of its side's time, also in a game loaded with its clocks.
TEST_F(GameTest, GameTimeBudgetsFromTheTimeLeft) {
    startGame();
    game().settings.levelMode = LevelGameIn;
    game().settings.levelValue = 600000; // 10 min
    game().applySettings();
    EXPECT_EQ(engineSession.whiteClock, 60000); // centiseconds
    EXPECT_EQ(engineSession.blackClock, 60000);
    platform->now += 5000;
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(game().engineBusy);
    EXPECT_NEAR(engineSession.targetTime, 599.5f / 44, 0.01f); // about 13.6 s, not a tenth of it
    game().takeBack(true);

    // A loaded game brings its clocks, and Black's next move has 8 of its 10 minutes.
    loadText("[Event \"Test\"]\r\n[WhiteTimeUsed \"0:01:00\"]\r\n[BlackTimeUsed \"0:02:00\"]\r\n\r\n"
             "1. e4 e5 2. Nf3\r\n*");
    EXPECT_EQ(game().whiteClockMs, 60000);
    EXPECT_EQ(game().blackClockMs, 120000);
    game().swapSides(); // the engine takes Black, to move
    ASSERT_TRUE(game().engineBusy);
    EXPECT_NEAR(engineSession.targetTime, 479.5f / 43, 0.01f);
}

TEST_F(GameTest, SavedGameLoadsBackWithTheUserToMove) {
    startGame();
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(waitForEngine());
    tap(col("g1"), row("g1"));
    tap(col("f3"), row("f3"));
    ASSERT_TRUE(waitForEngine());
    const Position played = engineSession.gamePosition;
    const std::string path = (folder / "game.pgn").string();
    ASSERT_TRUE(game().writeGameToFile(path.c_str()));
    const std::string text = fileText(path);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "\r\n*");
    EXPECT_NE(text.find("e2-e4"), std::string::npos);

    const std::string other = (folder / "other.pgn").string();
    ASSERT_TRUE(game().writeGameToFile(other.c_str()));

    // A shorter game saved over it leaves no trace of the longer one.
    game().startNewGame(true);
    tap(col("d2"), row("d2"));
    tap(col("d4"), row("d4"));
    ASSERT_TRUE(waitForEngine());
    ASSERT_TRUE(game().writeGameToFile(other.c_str()));
    const std::string shorter = fileText(other);
    EXPECT_LT(shorter.size(), text.size());
    EXPECT_EQ(shorter.find("Ng1-f3"), std::string::npos);
    EXPECT_NE(shorter.find("d2-d4"), std::string::npos);
    EXPECT_EQ(shorter.substr(shorter.size() - 3), "\r\n*");

    ASSERT_TRUE(game().readGameFromFile(path.c_str()));
    EXPECT_TRUE(samePosition(played, engineSession.gamePosition));
    EXPECT_EQ(recordLength(), 4);
    EXPECT_EQ(game().userColour, White);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(engineSession.engineColour, EnginePlaysBlack);
    EXPECT_FALSE(game().readGameFromFile((folder / "missing.pgn").string().c_str()));
}

TEST_F(GameTest, TheLongestGameIsSavedAndReadWhole) {
    startGame();
    // 696 plies of knights going out and back: the record's limit.
    const char* const shuffle[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
    for (int i = 0; i < RecordStopPly; ++i) {
        const auto& move = shuffle[i % 4];
        ASSERT_TRUE(engineBridge().tryUserMove(col(move[0]), row(move[0]), col(move[1]), row(move[1]))) << i;
    }
    ASSERT_EQ(recordLength(), RecordStopPly);
    game().judgeGame(false); // as after a move entered on the board
    const std::string path = (folder / "long.pgn").string();
    ASSERT_TRUE(game().writeGameToFile(path.c_str()));
    const std::string text = fileText(path);
    EXPECT_GT(text.size(), 4096u);
    // The knights' shuffle repeats the position: the text ends with its Result tag's mark.
    const std::size_t tag = text.find("[Result \"");
    ASSERT_NE(tag, std::string::npos);
    const std::string mark = text.substr(tag + 9, text.find('"', tag + 9) - tag - 9);
    EXPECT_EQ(mark, "1/2-1/2");
    EXPECT_EQ(text.substr(text.size() - mark.size() - 2), "\r\n" + mark);
    EXPECT_NE(text.find("348. "), std::string::npos);

    game().startNewGame(true);
    ASSERT_EQ(recordLength(), 0);
    ASSERT_TRUE(game().readGameFromFile(path.c_str()));
    EXPECT_EQ(recordLength(), RecordStopPly);
    EXPECT_EQ(engineSession.gamePosition.ply, RecordStopPly + 1);
    EXPECT_STREQ(gameRecord.longTexts[RecordStopPly - 1], "Nf6-g8 ");
}

// A move chosen at random (a fixed seed) that neither captures, checks nor ends
// the game, with a pawn step often enough that the fifty-move rule never ends it.
bool quietMove(unsigned& seed, int squares[4]) {
    const Position& position = engineSession.gamePosition;
    const int side = position.sideToMove;
    MoveList list;
    generateMovesWithCheck(position, list, side);
    const bool wantPawn = position.ply - position.lastIrreversiblePly > 60;
    std::vector<int32_t> pawnMoves, pieceMoves;
    for (int k = 0; k < list.quietCount(); ++k) {
        const int32_t move = list.quiet(k);
        if (isCastling(move)) continue;
        Position after = position;
        uint32_t changed, former;
        makeMove(after, move, changed, former, Queen);
        if (inCheck(after, side) || inCheck(after, side ^ 3) || gameEndOf(after) != GameGoesOn) continue;
        (pieceType(position.board[moveOrigin(move)]) == Pawn ? pawnMoves : pieceMoves).push_back(move);
    }
    const std::vector<int32_t>& chosen =
        (wantPawn && !pawnMoves.empty()) || pieceMoves.empty() ? pawnMoves : pieceMoves;
    if (chosen.empty()) {
        char fen[128];
        writeFen(fen, position);
        std::fprintf(stderr, "no quiet move in %s (%d quiet, %d tactical, irreversible %d)\n", fen, list.quietCount(), list.tacticalCount(), position.lastIrreversiblePly);
        return false;
    }
    seed = seed * 1103515245u + 12345u;
    const int32_t move = chosen[(seed >> 8) % chosen.size()];
    squares[0] = columnOf(moveOrigin(move));
    squares[1] = rowOf(moveOrigin(move));
    squares[2] = columnOf(moveDestination(move));
    squares[3] = rowOf(moveDestination(move));
    return true;
}

TEST_F(GameTest, AtTheRecordsLimitRecordAndPositionStayOneGame) {
    startGame();
    unsigned seed = 20261209;
    int move[4];
    while (engineSession.gamePosition.ply < RecordStopPly - 1) {
        ASSERT_TRUE(quietMove(seed, move)) << engineSession.gamePosition.ply;
        ASSERT_TRUE(engineBridge().tryUserMove(move[0], move[1], move[2], move[3]));
    }
    game().forwardAll(); // the controller takes the game as it stands
    ASSERT_FALSE(game().gameDecided());
    const auto recordReachesThePosition = [] {
        Position replayed;
        goToPly(replayed, engineSession.gamePosition.ply);
        return samePosition(replayed, engineSession.gamePosition);
    };
    // The last two plies the record has room for: the user's and the engine's.
    ASSERT_TRUE(quietMove(seed, move));
    tap(move[0], move[1]);
    tap(move[2], move[3]);
    ASSERT_TRUE(waitForEngine());
    ASSERT_EQ(recordLength(), RecordStopPly);
    ASSERT_FALSE(game().gameDecided());
    // No room for another move: refused with a message, nothing changes.
    const Position full = engineSession.gamePosition;
    ASSERT_TRUE(quietMove(seed, move));
    tap(move[0], move[1]);
    tap(move[2], move[3]);
    EXPECT_EQ(platform->messages, std::vector<int>{MessageRecordFull});
    EXPECT_TRUE(samePosition(full, engineSession.gamePosition));
    EXPECT_EQ(recordLength(), RecordStopPly);
    EXPECT_FALSE(game().engineBusy);
    // Nor does the engine move when it is given the side to move.
    game().swapSides();
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(platform->messages.size(), 2u);
    game().swapSides(); // back to the user's side, the engine waiting
    EXPECT_EQ(platform->messages.size(), 2u);
    ASSERT_EQ(game().userColour, engineSession.gamePosition.sideToMove);

    // After a takeback another move replaces the record's tail.
    game().takeBack(true);
    ASSERT_EQ(engineSession.gamePosition.ply, RecordStopPly - 1);
    int other[4];
    do {
        ASSERT_TRUE(quietMove(seed, other));
    } while (std::equal(other, other + 4, move) && seed);
    tap(other[0], other[1]);
    tap(other[2], other[3]);
    ASSERT_TRUE(waitForEngine());
    EXPECT_EQ(recordLength(), RecordStopPly);
    EXPECT_EQ(engineSession.gamePosition.ply, RecordStopPly + 1);
    EXPECT_TRUE(recordReachesThePosition());
    game().takeBack(true);
    EXPECT_TRUE(recordReachesThePosition());
    game().forwardAll();
    EXPECT_TRUE(recordReachesThePosition());
    EXPECT_EQ(engineSession.gamePosition.ply, RecordStopPly + 1);
}

TEST_F(GameTest, NewGameAndLoadForgetThePreviousGame) {
    startGame();
    game().settings.tutorMode = 1;
    const auto forgotten = [this](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(engineSession.rootScore, 0);
        EXPECT_FALSE(game().scoreValid);
        EXPECT_EQ(pvTable[1][0], 0);
        EXPECT_EQ(engineSession.expectedReply, 0);
        EXPECT_STREQ(currentOpeningName(openingBook), "");
        EXPECT_FALSE(game().hintAvailable());
        EXPECT_EQ(game().tutorReferenceScore, NoTutorReference);
        EXPECT_FALSE(game().pieceSelected);
        EXPECT_FALSE(game().gameDecided());
    };
    const auto playAGame = [this] {
        tap(col("e2"), row("e2"));
        tap(col("e4"), row("e4"));
        ASSERT_TRUE(waitForEngine());
        // As if the engine's move had come from the book.
        openingBook.nameCount = 1;
        std::strcpy(openingBook.names[0], "King's Pawn");
        openingBook.currentName = 0;
        engineSession.rootScore = 35;
        ASSERT_GT(pvTable[1][0], 0);
        ASSERT_TRUE(game().hintAvailable());
        tap(col("d2"), row("d2")); // a selection of the old game
        ASSERT_TRUE(game().pieceSelected);
    };
    playAGame();
    // White without its queen: the tutor must not measure a sound move there
    // against the previous game's score.
    loadText("[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNB1KBNR w KQkq - 0 1\"]\r\n\r\n*");
    forgotten("after Load");
    EXPECT_EQ(engineBridge().levelMode, static_cast<int>(game().settings.levelMode));
    tap(col("g1"), row("g1"));
    tap(col("f3"), row("f3"));
    ASSERT_TRUE(waitForEngine());
    EXPECT_TRUE(platform->questions.empty());

    game().startNewGame(true);
    playAGame();
    game().startNewGame(true);
    forgotten("after New game");
    EXPECT_EQ(recordLength(), 0);
}

TEST_F(GameTest, AutosaveRestoresTheGameAtTheNextStart) {
    startGame();
    EXPECT_FALSE(fileIsPresent(gameFile(AutosaveFileName).c_str()));
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    platform->now += 2000;
    ASSERT_TRUE(waitForEngine());
    platform->now += 65000;
    const Position played = engineSession.gamePosition;
    game().shutdown();
    EXPECT_EQ(platform->liveImages, 0);
    // The clocks travel in tags of their own.
    const std::string saved = fileText(gameFile(AutosaveFileName));
    EXPECT_NE(saved.find("[WhiteTimeUsed \"0:01:05\"]\r\n[BlackTimeUsed \"0:00:02\"]\r\n\r\n"),
              std::string::npos);

    startGame();
    EXPECT_TRUE(samePosition(played, engineSession.gamePosition));
    EXPECT_EQ(recordLength(), 2);
    EXPECT_EQ(game().userColour, White);
    EXPECT_FALSE(game().engineBusy);
    EXPECT_EQ(lines(game()), "You: W  1:05|CPU: B  0:02");

    // Quit while the engine thinks: the user gets the engine's side.
    game().settings.levelMode = LevelTurnIn;
    game().settings.levelValue = 5000;
    game().applySettings();
    tap(col("d2"), row("d2"));
    tap(col("d4"), row("d4"));
    ASSERT_TRUE(game().engineBusy);
    game().shutdown();
    // The next start is a new process; here the stopped worker finishes first.
    pumpUntilIdle();
    startGame();
    EXPECT_EQ(engineSession.gamePosition.sideToMove, Black);
    EXPECT_EQ(game().userColour, Black);
    EXPECT_EQ(game().settings.userPlaysWhite, 0);
    EXPECT_FALSE(game().engineBusy);
    pumpFor(300);
    EXPECT_EQ(engineSession.gamePosition.ply, 4); // the engine waits for the user
}

// A file of several games: each is listed with its tags and loads on its own, never
// played on top of another; a text without tags is one game.
TEST_F(GameTest, FileOfSeveralGamesLoadsTheChosenOne) {
    startGame();
    const std::string path = (folder / "three.pgn").string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("[Event \"Club\"]\n[Date \"2024.05.01\"]\n[White \"Ann\"]\n[Black \"Bob\"]\n"
               "[Result \"1-0\"]\n[EventDate \"2024.04.30\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0\n\n"
               "[Event \"Set up\"]\n[White \"Cid\"]\n[FEN \"4k3/8/8/8/8/8/8/R3K3 b - - 0 1\"]\n\n1... Kd7 2. Ra7+ *\n\n"
               "[Event \"Open\"]\n[Date \"2023.??.??\"]\n[White \"Dee\"]\n[Black \"Eve\"]\n[Result \"1/2-1/2\"]\n\n"
               "1. d4 d5 2. c4 1/2-1/2\n",
               file);
    std::fclose(file);
    const std::vector<GameListEntry> games = listGames(path.c_str());
    ASSERT_EQ(games.size(), 3u);
    const char* const expected[3][5] = {{"Ann", "Bob", "1-0", "2024.05.01", "Club"},
                                        {"Cid", "?", "?", "", "Set up"},
                                        {"Dee", "Eve", "1/2-1/2", "2023.??.??", "Open"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(games[i].white, expected[i][0]);
        EXPECT_EQ(games[i].black, expected[i][1]);
        EXPECT_EQ(games[i].result, expected[i][2]);
        EXPECT_EQ(games[i].date, expected[i][3]);
        EXPECT_EQ(games[i].event, expected[i][4]);
    }

    const struct {
        int index;
        int plies;
        const char* square; // a square that shows it is this game and no other
        int piece;
    } loads[] = {{2, 3, "c4", WhitePawn}, {0, 6, "b5", WhiteBishop},
                 {1, 3, "a7", WhiteRook}}; // the record counts Black's first move as ply 2
    for (const auto& load : loads) {
        SCOPED_TRACE(load.index);
        ASSERT_TRUE(game().readGameFromFile(path.c_str(), load.index));
        EXPECT_EQ(recordLength(), load.plies);
        EXPECT_EQ(engineBridge().pieceAt(col(load.square), row(load.square)), load.piece);
    }
    EXPECT_FALSE(game().readGameFromFile(path.c_str(), 3));
    EXPECT_FALSE(game().readGameFromFile(path.c_str(), -1));

    // One game (or bare move text) is the whole file; an empty file holds none.
    loadText("1. f4 e5");
    EXPECT_EQ(recordLength(), 2);
    EXPECT_EQ(listGames((folder / "load.pgn").string().c_str()).size(), 1u);
    file = std::fopen(path.c_str(), "wb");
    std::fclose(file);
    EXPECT_TRUE(listGames(path.c_str()).empty());
    EXPECT_TRUE(listGames((folder / "missing.pgn").string().c_str()).empty());
}

// A game text without the lines of the moment it was written.
std::string withoutMoment(const std::string& text) {
    std::string kept;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("[Date ", 0) != 0 && line.rfind("[Time ", 0) != 0) kept += line + "\n";
    return kept;
}

int currentPlyTag(const std::string& text) {
    const std::size_t at = text.find("[CurrentPly \"");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 13);
}

// Every change of the game is on disk once it is complete: the user's move before
// the engine starts to think, the engine's move when it has been played, and
// takeback, forward, swap, load and new game once the shell's event is handled.
TEST_F(GameTest, AutosaveFollowsEveryChange) {
    startGame();
    const std::string path = gameFile(AutosaveFileName);
    auto onDisk = [&] {
        waitForAutosave();
        return fileText(path);
    };
    auto expectCurrentGame = [&](const char* change, int ply) {
        const std::string text = onDisk();
        EXPECT_EQ(withoutMoment(text), withoutMoment(autosaveText())) << change;
        EXPECT_EQ(currentPlyTag(text), ply) << change;
        EXPECT_EQ(text.substr(text.size() - 3), "\r\n*") << change;
    };
    // The user's move: written while the engine's search has not begun; the test
    // handles none of the engine's notifications meanwhile.
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(game().engineBusy);
    EXPECT_EQ(currentPlyTag(onDisk()), 2);
    EXPECT_NE(onDisk().find("e2-e4"), std::string::npos);
    // The engine's move: written by the time its notification has been handled.
    ASSERT_TRUE(waitForEngine());
    expectCurrentGame("engine's move", 3);

    // The shell checks after each of its events; nothing is written while the game
    // has not changed.
    const auto before = std::filesystem::last_write_time(path);
    autosaveIfChanged();
    waitForAutosave();
    EXPECT_EQ(std::filesystem::last_write_time(path), before);

    game().takeBack(true);
    autosaveIfChanged();
    expectCurrentGame("takeback", 1);
    game().forward();
    autosaveIfChanged();
    expectCurrentGame("forward", 3);

    // Swap: the engine takes White and moves; its move is written as well.
    game().swapSides();
    ASSERT_TRUE(waitForEngine());
    autosaveIfChanged();
    expectCurrentGame("swap", 4);

    loadText("[Event \"Test\"]\r\n\r\n1. d4 Nf6 2. c4 e6 3. Nc3\r\n*");
    autosaveIfChanged();
    expectCurrentGame("load", 6);
    EXPECT_NE(onDisk().find("c2-c4"), std::string::npos);

    game().settings.userPlaysWhite = 1;
    game().startNewGame(false);
    autosaveIfChanged();
    expectCurrentGame("new game", 1);
    EXPECT_EQ(onDisk().find("d2-d4"), std::string::npos);

    // A change made after the engine's search has ended but before its worker is back
    // in its wait cannot be written at once; it is written when the worker gets there,
    // with no other event. Thinking on the user's time holds the worker in that moment:
    // it takes the commit lock first, which the test holds from the engine's move on.
    engineSession.ponderEnabled = 1;
    std::unique_lock<std::timed_mutex> held(commitMutex, std::defer_lock);
    whileWorkerWaits = [&](unsigned message) {
        if (message == EngineMovedMessage && !held.owns_lock()) held.lock();
    };
    tap(col("e2"), row("e2"));
    tap(col("e4"), row("e4"));
    ASSERT_TRUE(waitForEngine());
    whileWorkerWaits = nullptr;
    ASSERT_TRUE(held.owns_lock());
    expectCurrentGame("engine's move", 3);
    ASSERT_FALSE(idleEvent.isSet());
    game().takeBack(true);
    autosaveIfChanged();
    EXPECT_EQ(currentPlyTag(onDisk()), 3);
    held.unlock();
    engineSession.ponderEnabled = 0;
    EXPECT_TRUE(serveUntil([&] { return currentPlyTag(onDisk()) == 1; }, 10000));
    expectCurrentGame("takeback while the worker was on its way to its wait", 1);
}

TEST_F(GameTest, MissingInstalledFilesEndTheProgram) {
    // No "options.cfg": message 1, and without a main window the process ends with code 1.
    GameController& controller = game();
    controller = GameController{};
    platform = new FakePlatform(controller);
    controller.platform = platform;
    EXPECT_FALSE(controller.initialise());
    EXPECT_EQ(platform->messages, std::vector<int>{MessageFilesMissing});
    EXPECT_EQ(platform->exitCodes, std::vector<int>{1});

    // A missing skin picture later closes the main window in order.
    startGame();
    platform->mainWindowExists = true;
    platform->missingImages.insert("Skin2\\board_port.bmp");
    const ImageHandle board = game().boardImage;
    EXPECT_FALSE(game().loadSkin(1));
    EXPECT_EQ(platform->closeRequests, 1);
    EXPECT_EQ(game().boardImage, board); // the old pictures stay
    EXPECT_EQ(platform->liveImages, 3);
}

TEST_F(GameTest, SkinPicturesFollowStyleSkinAndScreen) {
    startGame();
    platform->width = 320;
    platform->height = 240;
    platform->loadedImages.clear();
    ASSERT_TRUE(game().loadSkin(1));
    EXPECT_EQ(game().geometry.screenType, ScreenQvgaLandscape);
    EXPECT_EQ(platform->loadedImages,
              (std::vector<std::string>{"Skin2\\board_land.bmp", "Skin1\\pieces_port.bmp",
                                        "Skin1\\selection_land.bmp"}));
    EXPECT_EQ(platform->liveImages, 3); // the previous three were released

    game().settings.isometric = 1;
    game().settings.orientation = 3;
    platform->loadedImages.clear();
    ASSERT_TRUE(game().loadSkin(0));
    EXPECT_EQ(platform->loadedImages,
              (std::vector<std::string>{"Skin1\\iso_board_alt.bmp", "Skin1\\iso_pieces.bmp",
                                        "Skin1\\iso_selection.bmp"}));
}

} // namespace
