// The whole program (offscreen) plays game after game of random legal user moves
// against the engine at Rank 1 to 3, and is killed with SIGKILL at random moments of
// some games and started again. After every restart the game is exactly the one last
// written to "autosave.pgn", and that file holds at least every move the program had
// finished before the kill, at most one move pair more. The process does not grow from
// game to game. The slides paint all their frames without the pause between them.
//
// TAVISK_SOAK_WINDOW_GAMES and TAVISK_SOAK_WINDOW_KILLS set a longer run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/settings.h"
#include "ui/board/geometry.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/qtplatform.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/texttables.h"

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SanitizerBuild = true;
#else
constexpr bool SanitizerBuild = false;
#endif
constexpr int MaxPlies = 120;           // a game of random moves still going here is ended (a new game)
constexpr int CiMaxPlies = 40;          // the short run's games are shorter
constexpr int RunSeconds = 1800;        // one program run that takes longer hangs
constexpr int KillWindowMs = 60;        // the kill comes this long after its ply was reached, at most
constexpr int FlatTolerance = 4 * 1024; // kB a long run may grow after its warm-up

int envNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    const int number = value ? std::atoi(value) : 0;
    return number > 0 ? number : fallback;
}

struct Random {
    unsigned long long state;
    explicit Random(unsigned long long seed) : state(seed * 2654435761ULL + 88172645463325252ULL) {}
    unsigned long long next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ULL;
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
};

long residentKilobytes() {
    FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file) return 0;
    long pages = 0, resident = 0;
    if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(file);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A game as the soak compares it: the current ply and the recorded moves up to it.
struct GameState {
    int ply = 0;
    std::vector<std::string> moves;
    std::string text() const {
        std::string line = std::to_string(ply);
        for (const std::string& move : moves) line += " " + move;
        return line;
    }
    static GameState parse(const std::string& line) {
        GameState state;
        std::istringstream in(line);
        in >> state.ply;
        for (std::string move; in >> move;) state.moves.push_back(move);
        return state;
    }
};

GameState engineGame() {
    GameState state;
    state.ply = engineSession.gamePosition.ply;
    for (int i = 0; i < state.ply - 1 && i < gameRecord.plyCount; ++i) {
        char text[MoveTextSize + 1] = {};
        std::memcpy(text, gameRecord.longTexts[i], MoveTextSize);
        std::string move = text[0] ? text : "-";
        move.erase(move.find_last_not_of(' ') + 1);
        state.moves.push_back(move);
    }
    return state;
}

// The game of an auto-saved text, read into the engine as the next start reads it.
GameState gameOfText(const std::string& text) {
    loadGameText(text.c_str());
    return engineGame();
}

// ---- the program's side ---------------------------------------------------------------

// The shell's platform, with slides that do not pause between their frames.
class SoakPlatform : public GamePlatform {
  public:
    void repaint() override { qtPlatform().repaint(); }
    void repaintStatus() override { qtPlatform().repaintStatus(); }
    void sleepMs(int) override {}
    std::intptr_t startTimer(void* view, int identifier, int periodMs) override {
        return qtPlatform().startTimer(view, identifier, periodMs);
    }
    void stopTimer(std::intptr_t handle) override { qtPlatform().stopTimer(handle); }
    void showMessage(int message, int language) override { qtPlatform().showMessage(message, language); }
    bool askYesNo(int message, int language) override { return qtPlatform().askYesNo(message, language); }
    bool isForeground() override { return qtPlatform().isForeground(); }
    bool stylusButtonDown() override { return qtPlatform().stylusButtonDown(); }
    bool hasMainWindow() override { return qtPlatform().hasMainWindow(); }
    void closeMainWindow() override { qtPlatform().closeMainWindow(); }
    void exitProcess(int code) override { qtPlatform().exitProcess(code); }
    ImageHandle loadImage(const char* name) override { return qtPlatform().loadImage(name); }
    void releaseImage(ImageHandle image) override { qtPlatform().releaseImage(image); }
    int screenWidth() override { return qtPlatform().screenWidth(); }
    int screenHeight() override { return qtPlatform().screenHeight(); }
};

FILE* childLog = nullptr;

void logLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(childLog, format, arguments);
    va_end(arguments);
    std::fputc('\n', childLog);
    std::fflush(childLog);
}

bool engineIdle() {
    return !gameController().engineBusy && engineSession.searchState == 0;
}

void click(int column, int row) {
    const GameController& game = gameController();
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    CTaviskView* view = theMainFrame->view();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier,
                      view->toWidget(x + game.geometry.cellWidth / 2, y + game.geometry.cellHeight / 2));
}

// One run of the program: plays games from `firstGame` on (continuing the restored game
// when `continuing`) until `games` games have been played, then "Save and exit".
[[noreturn]] void runProgramGames(const std::string& folder, const std::string& logPath, int firstGame,
                                  int games, int maxPlies, bool continuing, unsigned long long seed) {
    childLog = std::fopen(logPath.c_str(), "w");
    if (!childLog) std::_Exit(4);
    if (FILE* quiet = std::freopen("/dev/null", "w", stdout)) (void)quiet;
    static int argc = 1;
    static char name[] = "tavisk";
    static char* argv[] = {name, nullptr};
    DeviceScreen& screen = deviceScreen();
    screen.width = 240;
    screen.height = 320;
    screen.zoom = 1;
    setGameFolder(folder);
    CTaviskApp app(argc, argv);
    app.endOnTerminationSignals();
    if (!app.initInstance()) std::_Exit(5);
    static SoakPlatform platform;
    gameController().platform = &platform;
    QApplication::setActiveWindow(app.mainFrame());
    logLine("restored %s", engineGame().text().c_str());
    logLine("rss %ld", residentKilobytes());

    Random random(seed);
    int game = firstGame;
    std::string lastSettled;
    std::function<void()> step;
    auto again = [&](int ms) { QTimer::singleShot(ms, &app, step); };
    auto newGame = [&] {
        GameController& controller = gameController();
        controller.settings.levelMode = LevelRank;
        controller.settings.levelValue = static_cast<std::uint32_t>(game % 3); // Rank 1, 2, 3
        controller.settings.userPlaysWhite = random.below(2);
        controller.startNewGame(false);
        logLine("begin %d", game);
    };
    step = [&] {
        if (theMainFrame->view()->splashShowing) {
            QTest::mouseClick(theMainFrame->view(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
            return again(1);
        }
        // The end of a game is announced in a box; the player reads it and presses OK.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            logLine("box %s", box->text().simplified().toUtf8().constData());
            box->accept();
            return again(1);
        }
        if (!engineIdle() || QApplication::activeModalWidget()) return again(2);
        GameController& controller = gameController();
        // What is on disk now; a kill from here on may not lose it.
        waitForAutosave();
        const std::string settled = engineGame().text();
        if (settled != lastSettled) logLine("settled %s", settled.c_str());
        lastSettled = settled;
        if (controller.gameDecided() || engineSession.gamePosition.ply > maxPlies) {
            logLine("end %d ply %d rss %ld", game, engineSession.gamePosition.ply, residentKilobytes());
            if (++game >= games) {
                theMainFrame->onCommand(CmdSaveAndExit);
                return;
            }
            newGame();
            return again(0);
        }
        EngineBridge& bridge = engineBridge();
        std::vector<int> pieces;
        int column = 0, row = 0;
        bridge.computeMovablePieces(controller.userColour);
        while (bridge.nextMovablePiece(column, row)) pieces.push_back(column * 8 + row);
        if (pieces.empty()) return again(2);
        const int from = pieces[random.below(static_cast<int>(pieces.size()))];
        std::vector<int> targets;
        bridge.computeDestinations(from / 8, from % 8, controller.userColour);
        while (bridge.nextDestination(column, row)) targets.push_back(column * 8 + row);
        if (targets.empty()) return again(0);
        const int to = targets[random.below(static_cast<int>(targets.size()))];
        click(from / 8, from % 8);
        click(to / 8, to % 8);
        again(0);
    };
    if (!continuing) newGame();
    again(0);
    app.exec();
    app.exitInstance();
    logLine("exit");
    std::fflush(nullptr);
    std::_Exit(0);
}

// ---- the test's side --------------------------------------------------------------------

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The last line of the log that begins with the word, without the word; empty if none.
std::string lastWith(const std::vector<std::string>& lines, const std::string& word) {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (line->rfind(word + " ", 0) == 0) return line->substr(word.size() + 1);
    return "";
}

struct SoakFolder {
    std::string path;
    SoakFolder() {
        char pattern[] = "/tmp/tavisk-soak-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        path = made;
        const fs::path shipped = fs::current_path();
        for (const char* item : {"Skin1", "Skin2", "Skin3", "Splash", "VGA", "Narrow", "Low", "tutorial",
                                 "Toolbar.bmp", "tavisk.svg"})
            if (fs::exists(shipped / item)) fs::create_symlink(shipped / item, fs::path(path) / item);
        Settings settings;
        setDefaultSettings(settings);
        settings.tutorMode = 0; // the tutor's question would stop the games
        std::uint8_t bytes[SettingsSize];
        encodeSettings(settings, bytes);
        std::ofstream(fs::path(path) / SettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes), SettingsSize);
        // A saved game, so that the first start asks for no language.
        std::ofstream(fs::path(path) / "autosave.pgn", std::ios::binary) << "[Event \"Soak\"]\r\n\r\n\r\n*";
    }
    ~SoakFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

TEST(SoakWindow, KilledAndRestartedGamesLoseNothing) {
    const int games = envNumber("TAVISK_SOAK_WINDOW_GAMES", SanitizerBuild ? 3 : 8);
    const int kills = std::min(games, envNumber("TAVISK_SOAK_WINDOW_KILLS", SanitizerBuild ? 1 : 3));
    const bool ci = std::getenv("TAVISK_SOAK_WINDOW_GAMES") == nullptr;
    const int maxPlies = ci ? CiMaxPlies : MaxPlies;
    const unsigned long long seed =
        static_cast<unsigned long long>(envNumber("TAVISK_SOAK_WINDOW_SEED", 20261209));
    initSession(); // the test reads game texts with the engine's reader
    SoakFolder folder;
    Random random(seed);
    std::set<int> killGames;
    while (static_cast<int>(killGames.size()) < kills) killGames.insert(random.below(games));
    std::printf("soak window: %d games, kills in games", games);
    for (int game : killGames) std::printf(" %d", game);
    std::printf("\n");

    int game = 0, run = 0, restarts = 0, restoredPlies = 0, aheadOfSettled = 0;
    bool continuing = false;
    GameState expected; // the game of the file the next run must restore
    long longestRunGames = 0, longestRunGrowth = 0, firstRss = 0, lastRss = 0, maxRss = 0;
    std::vector<std::string> endings;
    const auto started = std::chrono::steady_clock::now();
    while (game < games) {
        const std::string log = folder.path + "/run" + std::to_string(run) + ".log";
        const std::set<int>::iterator nextKill = killGames.lower_bound(game);
        const bool killThisRun = nextKill != killGames.end();
        std::fflush(nullptr);
        const int killPly = 1 + random.below(maxPlies / 2);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) runProgramGames(folder.path, log, game, games, maxPlies, continuing, seed + run);

        // Wait for the run's end, or for the game of the kill and then a random moment.
        bool killed = false;
        int status = 0;
        auto killAt = std::chrono::steady_clock::time_point::max();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(RunSeconds);
        for (;;) {
            if (waitpid(child, &status, WNOHANG) == child) break;
            const auto now = std::chrono::steady_clock::now();
            if (now > deadline) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                FAIL() << "run " << run << " hangs";
            }
            // The kill: once the game of the kill has reached a ply chosen at random, after
            // a random moment more (within a move, a search, a slide or a write).
            if (killThisRun && killAt == std::chrono::steady_clock::time_point::max()) {
                const std::vector<std::string> lines = readLines(log);
                const std::string begun = lastWith(lines, "begin");
                const bool inKillGame =
                    (!begun.empty() && std::atoi(begun.c_str()) >= *nextKill) ||
                    (continuing && game >= *nextKill && !lastWith(lines, "restored").empty());
                const int settledPly = GameState::parse(lastWith(lines, "settled")).ply;
                // A game that ended before that ply passes the kill to the next.
                const bool passedOn = !begun.empty() && std::atoi(begun.c_str()) > *nextKill;
                if (inKillGame && (settledPly >= killPly || passedOn))
                    killAt = now + std::chrono::milliseconds(random.below(KillWindowMs));
            }
            if (now >= killAt) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                killed = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const std::vector<std::string> lines = readLines(log);
        const std::string restored = lastWith(lines, "restored");
        ASSERT_FALSE(restored.empty()) << "run " << run << " did not start";
        if (continuing) {
            EXPECT_EQ(restored, expected.text())
                << "run " << run << ": the restart is not the last written game";
            restoredPlies += expected.ply - 1;
        }
        // Memory at the end of each game of this run.
        std::vector<long> rss;
        for (const std::string& line : lines) {
            if (line.rfind("end ", 0) != 0) continue;
            endings.push_back(line);
            const std::size_t at = line.find(" rss ");
            rss.push_back(std::atol(line.c_str() + at + 5));
        }
        for (long value : rss) maxRss = std::max(maxRss, value);
        if (!rss.empty()) {
            if (!firstRss) firstRss = rss.front();
            lastRss = rss.back();
        }
        if (static_cast<long>(rss.size()) > longestRunGames) {
            longestRunGames = static_cast<long>(rss.size());
            const std::size_t warm = std::min<std::size_t>(2, rss.size() - 1);
            longestRunGrowth = rss.back() - rss[warm];
        }
        const std::string begun = lastWith(lines, "begin");
        const int lastBegun = begun.empty() ? game : std::atoi(begun.c_str());
        if (!killed) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "run " << run << " ended with status " << status;
            EXPECT_EQ(lines.back(), "exit");
            game = games;
            break;
        }
        // The file after the kill: a whole game text, holding every move the run had
        // finished (its last settled game), and at most one move pair more.
        ++restarts;
        killGames.erase(nextKill);
        const std::string text = readFile(folder.path + "/autosave.pgn");
        ASSERT_GE(text.size(), 3u);
        const std::string mark = text.substr(text.rfind('\n') + 1);
        EXPECT_TRUE(mark == "*" || mark == "1-0" || mark == "0-1" || mark == "1/2-1/2") << "run " << run;
        expected = gameOfText(text);
        const GameState settled = GameState::parse(lastWith(lines, "settled"));
        const bool sameGame = settled.moves.size() <= expected.moves.size() &&
                              std::equal(settled.moves.begin(), settled.moves.end(), expected.moves.begin());
        if (sameGame) {
            EXPECT_LE(expected.ply - settled.ply, 2)
                << "run " << run << ": settled " << settled.text() << ", on disk " << expected.text();
            if (expected.ply > settled.ply) ++aheadOfSettled;
        } else {
            // Only a new game begun after the last settled state replaces it.
            EXPECT_LE(expected.ply, 3)
                << "run " << run << ": on disk " << expected.text() << " is neither the settled game "
                << settled.text() << " nor the start of a new one";
        }
        game = lastBegun;
        continuing = true;
        ++run;
    }
    const long seconds = static_cast<long>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started).count());
    std::printf(
        "soak window: %d program runs, %d restarts after SIGKILL (%d plies restored in all, %d times the "
        "file was a move ahead of the last settled state), %zu games ended in %ld s\n",
        run + 1, restarts, restoredPlies, aheadOfSettled, endings.size(), seconds);
    std::printf(
        "soak window: RSS %ld kB at the first game's end, %ld kB at the last, %ld kB at most; the longest "
        "run played %ld games and grew %ld kB after its warm-up\n",
        firstRss, lastRss, maxRss, longestRunGames, longestRunGrowth);
    EXPECT_EQ(restarts, kills);
    EXPECT_GE(static_cast<int>(endings.size()), games - kills);
    if (!SanitizerBuild && longestRunGames >= 6)
        EXPECT_LT(longestRunGrowth, FlatTolerance) << "the program grows from game to game";
}

} // namespace
