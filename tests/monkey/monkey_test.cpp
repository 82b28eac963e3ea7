// The monkey: thousands of random presses, drags, releases, keys and menu commands sent
// to the running program (main window, view, command bar, the real engine at depth 2
// or 3). Modal dialogs, message boxes and menus are answered at random by a pilot, as
// a person would answer them. Nothing may crash or hang, and whenever the engine is
// idle the game position must be valid and be the one the game record reaches from the
// start position by legal moves.
//
// The run is reproducible from its seed (printed; TAVISK_MONKEY_SEED chooses another)
// as far as the engine's own timing allows. TAVISK_MONKEY_EVENTS sets the number of
// events of each screen (a longer run).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <thread>
#include <unistd.h>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
// The book's record has a field named like one of Qt's keywords.
#pragma push_macro("slots")
#undef slots
#include "engine/search/book.h"
#pragma pop_macro("slots")
#include "engine/search/results.h"
#include "engine/search/searchdata.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/core/movegen.h"
#include "ui/board/sidepanel.h"
#include "engine/pgn/pgnread.h"
#include "engine/session/bridge.h"
#include "engine/search/worker.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/settings.h"
#include "ui/board/geometry.h"
#include "ui/shell/aboutdlg.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/languagedlg.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/newgamedlg.h"
#include "ui/shell/qtplatform.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/texttables.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long long DefaultSeed = 20261209;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SanitizerBuild = true;
#else
constexpr bool SanitizerBuild = false;
#endif
constexpr int DefaultEvents = SanitizerBuild ? 200 : 500; // per screen
constexpr int HangSeconds = 120; // no event finished for this long: the program hangs
constexpr int MonkeyFailed = 3;

// ---- random numbers: xorshift64*, the same sequence on every machine ---------------

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
    bool chance(int percent) { return below(100) < percent; }
};

// ---- the last events, for the report of a failure, a crash or a hang --------------

constexpr int LogLines = 40;
constexpr int LogWidth = 120;
char eventLog[LogLines][LogWidth];
std::atomic<unsigned> logNext{0};
unsigned long long runSeed = 0;
std::atomic<unsigned> progress{0}; // events finished

void logEvent(const char* format, ...) {
    const unsigned line = logNext.load() % LogLines;
    va_list arguments;
    va_start(arguments, format);
    int used = std::snprintf(eventLog[line], LogWidth, "#%u ", progress.load());
    if (used < 0 || used >= LogWidth) used = 0;
    std::vsnprintf(eventLog[line] + used, LogWidth - used, format, arguments);
    va_end(arguments);
    logNext.fetch_add(1);
}

// Only write(): also called from a signal handler.
void dumpLog() {
    char header[96];
    const int length = std::snprintf(header, sizeof header, "monkey: seed %llu, the last events:\n", runSeed);
    [[maybe_unused]] ssize_t ignored = ::write(2, header, static_cast<size_t>(length));
    const unsigned end = logNext.load();
    const unsigned begin = end > LogLines ? end - LogLines : 0;
    for (unsigned i = begin; i < end; ++i) {
        const char* line = eventLog[i % LogLines];
        ignored = ::write(2, line, std::strlen(line));
        ignored = ::write(2, "\n", 1);
    }
}

[[noreturn]] void monkeyFailed(const char* format, ...) {
    char message[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    std::fflush(nullptr);
    std::fprintf(stderr, "monkey: FAILED after %u events: %s\n", progress.load(), message);
    std::fflush(nullptr);
    dumpLog();
    std::_Exit(MonkeyFailed);
}

void onFatalSignal(int signal) {
    dumpLog();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// A main thread that stops finishing events is a hang: report and end.
void startWatchdog() {
    std::thread([] {
        unsigned seen = progress.load();
        int still = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const unsigned now = progress.load();
            still = now == seen ? still + 1 : 0;
            seen = now;
            if (still >= HangSeconds) {
                char message[96];
                const int length = std::snprintf(message, sizeof message,
                                                 "monkey: FAILED: no event finished for %d s (hang)\n", HangSeconds);
                [[maybe_unused]] ssize_t ignored = ::write(2, message, static_cast<size_t>(length));
                dumpLog();
                std::_Exit(MonkeyFailed);
            }
        }
    }).detach();
}

// ---- the program folder --------------------------------------------------------------

constexpr const char* FolderVariable = "TAVISK_MONKEY_FOLDER";

// Game files the Load dialog may be pointed at besides the monkey's own saves: none is
// a sound game, each must be refused or read without harm.
void writeOddGames(const std::string& folder) {
    auto write = [&folder](const char* name, const std::string& bytes) {
        std::ofstream out(fs::path(folder) / name, std::ios::binary);
        out << bytes;
    };
    write("empty.pgn", "");
    write("illegal.pgn", "[Event \"x\"]\r\n\r\n1. e4 e5 2. Ke3 Nc6 *\r\n");
    write("blacktomove.pgn", "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\r\n[SetUp \"1\"]\r\n\r\n1... Kd7 2. e4 *\r\n");
    std::string noise;
    Random random(7);
    for (int i = 0; i < 3000; ++i) noise += static_cast<char>(random.below(256));
    write("noise.pgn", noise);
    std::string tag = "[Event \"" + std::string(5000, 'x') + "\"]\r\n\r\n1. d4 d5 *\r\n";
    write("longtag.pgn", tag);
}

const char* const OpenCandidates[] = {"monkey0.pgn", "monkey1.pgn", "monkey2.pgn", "empty.pgn",
                                      "illegal.pgn", "blacktomove.pgn", "noise.pgn", "longtag.pgn"};

struct Folder {
    std::string path;
    bool owner = true;
    Folder() {
        if (const char* inherited = std::getenv(FolderVariable)) {
            path = inherited;
            owner = false;
            return;
        }
        char pattern[] = "/tmp/tavisk-monkey-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        path = made;
        setenv(FolderVariable, made, 1);
        const fs::path shipped = fs::current_path();
        for (const char* item : {"Skin1", "Skin2", "Skin3", "Splash", "VGA", "Narrow", "Low", "tutorial",
                                 "Toolbar.bmp", "tavisk.svg"})
            if (fs::exists(shipped / item)) fs::create_symlink(shipped / item, fs::path(path) / item);
        Settings settings;
        setDefaultSettings(settings);
        settings.levelMode = LevelRank;
        settings.levelValue = 0; // depth 2
        // The tutor's Yes stops an engine that waits for its notification to return,
        // which costs a second; the monkey turns the tutor on and off by its command.
        settings.tutorMode = 0;
        std::uint8_t bytes[SettingsSize];
        encodeSettings(settings, bytes);
        std::ofstream(fs::path(path) / SettingsFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes), SettingsSize);
        writeOddGames(path);
    }
    ~Folder() {
        if (!owner) return;
        unsetenv(FolderVariable);
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// ---- the platform: the shell's own, with slides that do not wait between frames ------

class MonkeyPlatform : public GamePlatform {
  public:
    void repaint() override { qtPlatform().repaint(); }
    void repaintStatus() override { qtPlatform().repaintStatus(); }
    void sleepMs(int) override {}
    void serveEngineNotifications() override { qtPlatform().serveEngineNotifications(); }
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
    bool desktopLayout() override { return qtPlatform().desktopLayout(); }
};

// Stands for the desktop's viewer of the tutorial page.
class PageViewer : public QObject {
    Q_OBJECT
  public:
    int opened = 0;
  public slots:
    void open(const QUrl& url) {
        ++opened;
        if (!url.toLocalFile().contains("/tutorial/Tutorial")) monkeyFailed("tutorial page %s", qPrintable(url.toString()));
    }
};

// ---- counts for the report -----------------------------------------------------------

struct Counts {
    int events = 0, presses = 0, moves = 0, releases = 0, commands = 0, barClicks = 0, menus = 0, keys = 0;
    int userMoves = 0, checks = 0, modals = 0, popups = 0, decided = 0, resizes = 0;
    int autosaveChecks = 0;
    int hintChecks = 0, hintsDue = 0;
    int maxPly = 0;
    int busy = 0, notTurn = 0, over = 0; // user moves not tried, and why
};
Counts counts;

// ---- the game check --------------------------------------------------------------------

bool engineIdle() {
    return !gameController().engineBusy && engineSession.searchState == 0;
}

// The worker is back in its wait and has posted its notice if the writer asked for one
// (a change made in the moment between the end of a search and that wait): once that
// notice has been served, the change is on disk.
bool workerSettled() {
    return idleEvent.isSet() && idleNoticeWanted.load() == 0;
}

// A move word of the engine's line played by its squares on a copy; false if illegal there.
bool playLineMove(Position position, int32_t move, Position* after = nullptr) {
    int origin = moveOrigin(move);
    const int destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) origin = squareOf(4, rowOf(destination));
    if (origin < A8 || origin > H1 || destination < A8 || destination > H1) return false;
    // A promotion to the piece the line names.
    const std::uint8_t choice = engineSession.promotionChoice;
    engineSession.promotionChoice = static_cast<std::uint8_t>(movePromotionType(move));
    const bool played = playMove(position, columnOf(origin), rowOf(origin), columnOf(destination), rowOf(destination),
                                 position.sideToMove, 0, 0, nullptr, nullptr, nullptr) == 1;
    engineSession.promotionChoice = choice;
    if (played && after) *after = position;
    return played;
}

// What the panel shows is of this game and position: the end the rules (or a
// resignation) give, else the engine's line for this position or for the move that
// led to it, and an opening name only in the opening; nothing stays selected after
// the end.
void checkScreenBelongsToTheGame(const char* when) {
    GameController& controller = gameController();
    const Position& game = engineSession.gamePosition;
    readEngineStatus();
    const EngineStatus& shown = engineStatus();
    const int end = gameEndOf(game);
    if (controller.gameDecided()) {
        if (controller.pieceSelected || controller.selectedColumn != -1 || controller.showMovablePieces)
            monkeyFailed("%s: a selection after the end of the game", when);
        if (end != GameGoesOn && controller.gameEnd != end)
            monkeyFailed("%s: the game ended by %d, the rules say %d", when, controller.gameEnd, end);
        const QString expected = controller.gameEnd == EndCheckmate      ? QString("Checkmate")
                                 : controller.gameEndResult == Drawn     ? QString("Draw")
                                                                          : QString(resultText(controller.gameEndResult));
        if (shown.statusText != expected)
            monkeyFailed("%s: the panel says '%s' at the end '%s'", when, qPrintable(shown.statusText),
                         qPrintable(expected));
        return;
    }
    if (end != GameGoesOn) monkeyFailed("%s: the position ends the game (%d) but the game goes on", when, end);
    if (!shown.openingName.isEmpty() && game.ply > BookMaxPly + 1)
        monkeyFailed("%s: the opening name '%s' at ply %d", when, qPrintable(shown.openingName), game.ply);
    if (controller.lineValid && pvTable[1][0] > 0) {
        const int32_t first = pvTable[1][1];
        bool belongs = playLineMove(game, first);
        if (!belongs && game.ply > engineSession.startPosition.ply) {
            Position before, after;
            goToPly(before, game.ply - 1);
            belongs = playLineMove(before, first, &after) && samePosition(after, game);
        }
        if (!belongs) monkeyFailed("%s: the line '%s' is not of this position", when, qPrintable(shown.statusText));
    }
}

// The record is never shorter than before, but by a new game, a load or a move after a
// takeback (which replaces the record's tail) that the user played or handed to the
// engine.
void checkRecordKept(const char* when) {
    static int length = -1;
    static unsigned games = 0, userMoves = 0;
    GameController& controller = gameController();
    if (length >= 0 && gameRecord.plyCount < length && controller.gameNumber == games &&
        controller.moveRequests == userMoves)
        monkeyFailed("%s: the record went from %d to %d plies by itself", when, length, gameRecord.plyCount);
    length = gameRecord.plyCount;
    games = controller.gameNumber;
    userMoves = controller.moveRequests;
}

// The game position against the record and the rules: a valid record (board, piece
// lists, counters and sums), the side not to move not in check, and the record, replayed from the start position
// by move texts, reaching exactly this position.
void checkGame(const char* when) {
    const Position& game = engineSession.gamePosition;
    const char* why = "";
    if (!positionIsValid(game, false, &why)) monkeyFailed("%s: invalid game position: %s", when, why);
    if (game.sideToMove != White && game.sideToMove != Black)
        monkeyFailed("%s: side to move %d", when, game.sideToMove);
    if (inCheck(game, game.sideToMove ^ 3)) monkeyFailed("%s: the side not to move is in check", when);
    const Position& start = engineSession.startPosition;
    if (game.ply < start.ply) monkeyFailed("%s: ply %d before the start ply %d", when, game.ply, start.ply);
    Position replay = start;
    // The plies before a set-up position's own (a pasted or loaded position) are not
    // replayed: the start position already stands after them.
    for (int i = start.ply - 1; i < game.ply - 1; ++i) {
        if (i >= gameRecord.plyCount)
            monkeyFailed("%s: ply %d but only %d plies recorded", when, game.ply, gameRecord.plyCount);
        char text[MoveTextSize + 1] = {};
        std::memcpy(text, gameRecord.longTexts[i], MoveTextSize);
        if (text[0] == '\0') continue; // the plies before a set-up position's own
        if (!playMoveText(text, replay, 0, nullptr))
            monkeyFailed("%s: recorded ply %d '%s' is not legal in its position", when, i + 1, text);
    }
    if (!samePosition(replay, game)) {
        char played[FenBufferSize], replayed[FenBufferSize];
        writeFen(played, game);
        writeFen(replayed, replay);
        monkeyFailed("%s: the game position %s is not the record's %s", when, played, replayed);
    }
    GameController& controller = gameController();
    if (controller.userColour != (controller.settings.userPlaysWhite ? White : Black))
        monkeyFailed("%s: the user plays %d against the settings' %u", when, controller.userColour,
                     controller.settings.userPlaysWhite);
    if (controller.animating) monkeyFailed("%s: a slide is still running between events", when);
    checkScreenBelongsToTheGame(when);
    checkRecordKept(when);
    const Settings& s = controller.settings;
    if (s.skin > 2 || s.orientation > 3 || s.language > 6 ||
        s.levelMode != LevelRank || s.levelValue > 1)
        monkeyFailed("%s: settings out of range (skin %u orientation %u language %u level %u/%u)", when, s.skin,
                     s.orientation, s.language, s.levelMode, s.levelValue);
    ++counts.checks;
    if (game.ply > counts.maxPly) counts.maxPly = game.ply;
}

// The auto-saved game, replayed from its start to its current ply, is the position on
// the screen: a kill at this moment would lose nothing. No file stands for the fresh game.
void checkAutosave(const char* when) {
    waitForAutosave();
    std::ifstream in(gameFile(AutosaveFileName), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // No file yet: the next start has the fresh game (the game before the first change).
    GameHeader header;
    clearHeader(header);
    readTags(text.c_str(), header);
    Position replay;
    setInitialPosition(replay);
    if (header.fen[0] && !readFen(replay, header.fen, static_cast<int>(std::strlen(header.fen))))
        monkeyFailed("%s: autosave.pgn has an unreadable FEN tag %s", when, header.fen);
    const int target = header.currentPly == -1 ? RecordCapacity + 1 : header.currentPly;
    if (target > replay.ply) playMoves(text.c_str(), replay, nullptr, target - replay.ply, nullptr, nullptr);
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            if (engineBridge().pieceAt(column, row) != replay.board[squareOf(column, row)]) {
                char shown[FenBufferSize], saved[FenBufferSize];
                writeFen(shown, engineSession.gamePosition);
                writeFen(saved, replay);
                monkeyFailed("%s: the screen shows %s, autosave.pgn replays to %s", when, shown, saved);
            }
    if (replay.sideToMove != engineSession.gamePosition.sideToMove || replay.ply != engineSession.gamePosition.ply)
        monkeyFailed("%s: autosave.pgn replays to ply %d, the game is at ply %d", when, replay.ply,
                     engineSession.gamePosition.ply);
    ++counts.autosaveChecks;
}

// ---- the stylus ---------------------------------------------------------------------

CMainFrame* frame() {
    return theMainFrame;
}

// The Hint button shows what the game allows: at the user's turn in a game going on,
// with the engine at rest and its predicted reply a legal move here, it is enabled;
// otherwise greyed. The buttons are set after the paints and every 150 ms: a difference
// must be gone once the events of 400 ms have been served.
bool hintDue() {
    GameController& game = gameController();
    const Position& position = engineSession.gamePosition;
    return engineIdle() && !game.gameDecided() && position.sideToMove == game.userColour &&
           engineSession.expectedReply != 0 && playLineMove(position, engineSession.expectedReply);
}

void checkHintButton() {
    if (!frame()) return;
    QToolButton* hint = frame()->imageButton(0);
    if (!hint || frame()->menuBar()->isHidden() || QApplication::activeModalWidget()) return;
    ++counts.hintChecks;
    if (hintDue()) ++counts.hintsDue;
    const auto begin = std::chrono::steady_clock::now();
    while (hint && hint->isEnabled() != hintDue()) {
        if (std::chrono::steady_clock::now() - begin > std::chrono::milliseconds(400)) {
            GameController& game = gameController();
            monkeyFailed("the Hint button is %s, but the hint is %s (engine %s, side to move %d, user %d, "
                         "the controller %s it)",
                         hint->isEnabled() ? "enabled" : "greyed", hintDue() ? "due" : "not due",
                         engineIdle() ? "idle" : "busy", engineSession.gamePosition.sideToMove,
                         game.userColour, game.hintAvailable() ? "offers" : "refuses");
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (QApplication::activeModalWidget()) return; // a box came meanwhile
    }
}

QPoint squarePoint(int column, int row) {
    const GameController& game = gameController();
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    return frame()->view()->toWidget(x + game.geometry.cellWidth / 2, y + game.geometry.cellHeight / 2);
}

// A square's centre most of the time, else any point of the view or a little beyond.
QPoint randomPoint(Random& random) {
    if (random.chance(65)) return squarePoint(random.below(8), random.below(8));
    const QWidget* view = frame()->view();
    const bool desktop = deviceScreen().desktop;
    const int width = desktop ? view->width() : deviceScreen().width;
    const int height = desktop ? view->height() : viewHeight();
    return frame()->view()->toWidget(random.below(width + 20) - 10, random.below(height + 20) - 10);
}

bool buttonHeld = false; // the monkey's own stylus

void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    logEvent("press %d,%d button %d", at.x(), at.y(), static_cast<int>(button));
    QTest::mousePress(frame()->view(), button, Qt::NoModifier, at);
    if (button == Qt::LeftButton) buttonHeld = true;
    ++counts.presses;
}

void move(QPoint at) {
    logEvent("move %d,%d%s", at.x(), at.y(), buttonHeld ? " held" : "");
    QWidget* view = frame()->view();
    QMouseEvent event(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton,
                      buttonHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
    ++counts.moves;
}

void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    logEvent("release %d,%d button %d", at.x(), at.y(), static_cast<int>(button));
    QTest::mouseRelease(frame()->view(), button, Qt::NoModifier, at);
    if (button == Qt::LeftButton) buttonHeld = false;
    ++counts.releases;
}

// A legal move of the user's, entered by two taps or by a drag, as a player would.
bool userMove(Random& random) {
    GameController& game = gameController();
    if (!engineIdle()) {
        ++counts.busy;
        return false;
    }
    if (game.sideToMove() != game.userColour) {
        ++counts.notTurn;
        return false;
    }
    if (game.gameDecided()) {
        // After the end no piece of the user's can be taken up.
        ++counts.over;
        const Position& position = engineSession.gamePosition;
        for (int square = 0; square < 64; ++square) {
            if (pieceColour(position.board[squareOf(square % 8, square / 8)]) != game.userColour) continue;
            const QPoint at = squarePoint(square % 8, square / 8);
            logEvent("press an own piece after the end");
            if (buttonHeld) release(at);
            press(at);
            const bool selected = game.pieceSelected;
            release(at);
            if (selected || game.pieceSelected) monkeyFailed("a piece was selected after the end of the game");
            return true;
        }
        return false;
    }
    int moves[256][4];
    int found = 0;
    const Position& position = engineSession.gamePosition;
    for (int from = 0; from < 64 && found < 256; ++from) {
        const int fromColumn = from % 8, fromRow = from / 8;
        if (pieceColour(position.board[squareOf(fromColumn, fromRow)]) != game.userColour) continue;
        for (int to = 0; to < 64 && found < 256; ++to) {
            Position copy = position;
            if (playMove(copy, fromColumn, fromRow, to % 8, to / 8, copy.sideToMove, 0, 0, nullptr, nullptr,
                         nullptr) != 1)
                continue;
            moves[found][0] = fromColumn;
            moves[found][1] = fromRow;
            moves[found][2] = to % 8;
            moves[found][3] = to / 8;
            ++found;
        }
    }
    if (found == 0) return false;
    const int* chosen = moves[random.below(found)];
    const QPoint from = squarePoint(chosen[0], chosen[1]), to = squarePoint(chosen[2], chosen[3]);
    logEvent("user move %c%d-%c%d", 'a' + chosen[0], 8 - chosen[1], 'a' + chosen[2], 8 - chosen[3]);
    if (buttonHeld) release(from);
    if (random.chance(50)) {
        press(from);
        release(from);
        press(to);
        release(to);
    } else {
        press(from);
        for (int step = 1, steps = 1 + random.below(3); step <= steps; ++step)
            move(from + (to - from) * step / steps);
        release(to);
    }
    ++counts.userMoves;
    return true;
}

// Every command of the two menus but "Save and exit", which ends the run, and the
// accelerators' commands.
const int Commands[] = {CmdHint,        CmdTakeback,   CmdTakebackAll,    CmdForward,        CmdForwardAll,
                        CmdSwapSides,   CmdNewGame,    CmdSave,           CmdLoad,           CmdGameSettings,
                        CmdWood2D,      CmdBlue2D,     CmdBW2D,           CmdIsometric,      CmdRotateBoard,
                        CmdShowLegalMoves, CmdShowLastMove, CmdTutorMode, CmdLanguage,       CmdTutorial,
                        CmdAbout,       CmdFileNew,    CmdEditUndo,       CmdEditCut};
// The costly ones (a file dialog) come less often.
bool costly(int command) {
    return command == CmdSave || command == CmdLoad;
}

// ---- the pilot: answers what is modal, at random -----------------------------------

Random* pilotRandom = nullptr;
QPointer<QWidget> pilotCurrent;
int pilotTicks = 0;
bool pilotPending = false;
std::string folderPath;

// What the pilot does runs from the event loop, not from its own timer: an answer may
// open another modal window, whose loop the pilot must be free to serve.
void later(std::function<void()> work) {
    pilotPending = true;
    QTimer::singleShot(0, [work] {
        pilotPending = false;
        work();
    });
}

void answerPopup(QMenu* popup, Random& random) {
    QList<QAction*> items;
    for (QAction* item : popup->actions())
        if (!item->isSeparator() && item->isVisible() && item->data().toInt() != CmdSaveAndExit) items << item;
    QPointer<QMenu> guarded(popup);
    if (items.isEmpty() || random.chance(15)) {
        logEvent("popup: escape");
        later([guarded] {
            if (guarded) QTest::keyClick(guarded.data(), Qt::Key_Escape);
        });
        return;
    }
    QAction* item = items[random.below(static_cast<int>(items.size()))];
    logEvent("popup: %s", qPrintable(item->text()));
    QPointer<QAction> action(item);
    later([guarded, action] {
        if (guarded && action && guarded->isVisible())
            QTest::mouseClick(guarded.data(), Qt::LeftButton, Qt::NoModifier,
                              guarded->actionGeometry(action).center());
    });
}

void answerFileDialog(QFileDialog* dialog, Random& random) {
    if (pilotTicks == 1) {
        const bool saving = dialog->acceptMode() == QFileDialog::AcceptSave;
        const char* name = saving ? OpenCandidates[random.below(3)]
                                  : OpenCandidates[random.below(static_cast<int>(std::size(OpenCandidates)))];
        dialog->setProperty("monkeyFile", QString::fromStdString(folderPath + "/" + name));
        dialog->setProperty("monkeyCancel", random.chance(20));
        logEvent("file dialog %s %s", saving ? "save" : "open", name);
    }
    const QString path = dialog->property("monkeyFile").toString();
    QPointer<QFileDialog> guarded(dialog);
    if (dialog->property("monkeyCancel").toBool() || pilotTicks > 150 ||
        (dialog->acceptMode() == QFileDialog::AcceptOpen && !QFile::exists(path))) {
        later([guarded] {
            if (guarded) guarded->reject();
        });
        return;
    }
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!name) monkeyFailed("the file dialog has no name field");
    // The dialog fills its folder view meanwhile and may put its proposal back.
    if (dialog->selectedFiles().value(0) != path) {
        name->setText(path);
        return;
    }
    later([guarded] {
        if (guarded) static_cast<QDialog*>(guarded.data())->accept();
    });
}

void answerModal(QWidget* modal, Random& random) {
    QPointer<QWidget> guarded(modal);
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        answerFileDialog(files, random);
        return;
    }
    if (pilotTicks > 1) {
        // Answered before and still open: shut it.
        if (pilotTicks > 100)
            later([guarded] {
                if (auto* dialog = qobject_cast<QDialog*>(guarded.data())) dialog->reject();
            });
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        const QList<QAbstractButton*> buttons = box->buttons();
        logEvent("message box '%s'", qPrintable(box->text().left(40)));
        if (buttons.isEmpty()) {
            later([guarded] {
                if (guarded) static_cast<QDialog*>(guarded.data())->reject();
            });
            return;
        }
        // Mostly No to the tutor: a Yes stops the engine the slow way.
        QAbstractButton* chosen = buttons[random.below(static_cast<int>(buttons.size()))];
        if (box->button(QMessageBox::Yes) == chosen && random.chance(60)) chosen = box->button(QMessageBox::No);
        QPointer<QAbstractButton> button(chosen);
        later([button] {
            if (button) button->click();
        });
        return;
    }
    const bool accept = random.chance(75);
    if (auto* dialog = qobject_cast<CNewGameDlg*>(modal)) {
        // A fixed depth always: the engine answers at once.
        const int level = random.below(2), white = random.below(2);
        logEvent("%s: level %d, white %d, %s", qPrintable(dialog->windowTitle()), level, white,
                 accept ? "OK" : "Cancel");
        later([guarded, level, white, accept] {
            auto* dialog = qobject_cast<CNewGameDlg*>(guarded.data());
            if (!dialog) return;
            dialog->findChild<QComboBox*>("modeList")->setCurrentIndex(0);
            dialog->findChild<QComboBox*>("levelList")->setCurrentIndex(level);
            dialog->findChild<QComboBox*>("whiteList")->setCurrentIndex(white);
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
        return;
    }
    if (qobject_cast<CLanguageDlg*>(modal)) {
        const int choice = random.below(5);
        logEvent("language dialog: choice %d, %s", choice, accept ? "OK" : "Cancel");
        later([guarded, choice, accept] {
            auto* dialog = qobject_cast<CLanguageDlg*>(guarded.data());
            if (!dialog) return;
            if (QRadioButton* button = dialog->button(choice)) button->click();
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
        return;
    }
    if (qobject_cast<QDialog*>(modal)) {
        logEvent("dialog '%s' closed", qPrintable(modal->windowTitle()));
        later([guarded, accept] {
            auto* dialog = qobject_cast<QDialog*>(guarded.data());
            if (!dialog) return;
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
        return;
    }
    logEvent("modal window '%s' closed", qPrintable(modal->windowTitle()));
    later([guarded] {
        if (guarded) guarded->close();
    });
}

void pilotTick() {
    if (pilotPending) return;
    Random& random = *pilotRandom;
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        ++counts.popups;
        answerPopup(popup, random);
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        pilotCurrent = nullptr;
        return;
    }
    if (modal != pilotCurrent) {
        pilotCurrent = modal;
        pilotTicks = 0;
        ++counts.modals;
    }
    ++pilotTicks;
    answerModal(modal, random);
}

// ---- the monkey ----------------------------------------------------------------------

void runCommand(Random& random) {
    int command = Commands[random.below(static_cast<int>(std::size(Commands)))];
    if (costly(command) && random.chance(50)) command = CmdRotateBoard;
    ++counts.commands;
    QAction* item = frame()->action(command);
    if (item && random.chance(40)) {
        // As the menu would: the update rules first, then the item if it is enabled.
        frame()->updateMenu(frame()->gameMenu());
        frame()->updateMenu(frame()->optionsMenu());
        logEvent("menu item %d%s", command, item->isEnabled() ? "" : " (greyed)");
        item->trigger();
    } else {
        logEvent("command %d", command);
        frame()->onCommand(command);
    }
}

void clickBarButton(Random& random) {
    const int index = random.below(4);
    QPointer<QToolButton> button = frame()->imageButton(index);
    if (!button || frame()->menuBar()->isHidden()) return;
    logEvent("bar button %d%s", index, button->isEnabled() ? "" : " (greyed)");
    ++counts.barClicks;
    QTest::mousePress(button, Qt::LeftButton);
    if (button) QTest::mouseRelease(button, Qt::LeftButton);
}

void openMenu(Random& random) {
    const int index = random.below(2);
    QPointer<QToolButton> button = frame()->menuButton(index);
    if (!button || frame()->menuBar()->isHidden()) return;
    logEvent("menu button %d", index);
    ++counts.menus;
    QTest::mousePress(button, Qt::LeftButton); // the menu runs until the pilot has chosen
    if (button) QTest::mouseRelease(button, Qt::LeftButton);
}

void pressKeys(Random& random) {
    static const Qt::Key keys[] = {Qt::Key_N, Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_Left};
    const Qt::Key key = keys[random.below(static_cast<int>(std::size(keys)))];
    logEvent("key %d with Ctrl", static_cast<int>(key));
    ++counts.keys;
    QApplication::setActiveWindow(frame());
    QTest::keyClick(frame(), key, Qt::ControlModifier);
}

void oneEvent(Random& random) {
    const int roll = random.below(100);
    if (roll < 28) {
        if (userMove(random)) return;
        press(randomPoint(random));
    } else if (roll < 46) {
        press(randomPoint(random));
    } else if (roll < 58) {
        move(randomPoint(random));
    } else if (roll < 70) {
        release(randomPoint(random));
    } else if (roll < 72) {
        const QPoint at = randomPoint(random);
        press(at, Qt::RightButton);
        release(at, Qt::RightButton);
    } else if (roll < 86) {
        runCommand(random);
    } else if (roll < 93) {
        clickBarButton(random);
    } else if (roll < 96) {
        openMenu(random);
    } else if (roll < 98) {
        pressKeys(random);
    } else if (deviceScreen().desktop) {
        // The desktop window at a new size, down to its least.
        const int width = 280 + random.below(900), height = 200 + random.below(700);
        logEvent("resize %dx%d", width, height);
        ++counts.resizes;
        frame()->resize(width, height);
        QApplication::processEvents();
        const BoardGeometry& g = gameController().geometry;
        const QWidget* view = frame()->view();
        if (g.screenType != ScreenDesktop || g.panelLeft + g.panelWidth > view->width() ||
            g.panelTop + g.panelHeight > view->height())
            monkeyFailed("the desktop layout does not fit the %dx%d view", view->width(), view->height());
    } else {
        logEvent("pause");
    }
}

int eventsPerScreen() {
    if (const char* text = std::getenv("TAVISK_MONKEY_EVENTS")) {
        const int events = std::atoi(text);
        if (events > 0) return events;
    }
    return DefaultEvents;
}

unsigned long long seedOf(int screen) {
    unsigned long long seed = DefaultSeed;
    if (const char* text = std::getenv("TAVISK_MONKEY_SEED")) seed = std::strtoull(text, nullptr, 10);
    return seed + static_cast<unsigned long long>(screen);
}

// The monkey's process: the program on the screen, the events from a timer of the
// program's own event loop, the pilot beside it, and the orderly end by "Save and exit".
[[noreturn]] void runMonkey(const std::string& folder, int width, int height, unsigned long long seed,
                            int events) {
    runSeed = seed;
    folderPath = folder;
    setenv("HOME", folder.c_str(), 1); // the file dialogs start in the user's documents
    std::signal(SIGPIPE, SIG_IGN);
    if (!SanitizerBuild)
        for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, onFatalSignal);
    std::fprintf(stderr, "monkey: seed %llu, %d events on %dx%d\n", seed, events, width, height);
    // The engine's own replies ("move e2e4") would fill the test's output.
    if (FILE* quiet = std::freopen("/dev/null", "w", stdout)) (void)quiet;

    static int argc = 1;
    static char name[] = "tavisk";
    static char* argv[] = {name, nullptr};
    DeviceScreen& screen = deviceScreen();
    // No size: the desktop window, its dialogs sized as on the large screen.
    screen.desktop = width == 0;
    screen.width = screen.desktop ? 480 : width;
    screen.height = screen.desktop ? 640 : height;
    screen.zoom = 1;
    setGameFolder(folder);
    CTaviskApp app(argc, argv);
    Random random(seed);
    Random pilot(seed ^ 0x9e3779b97f4a7c15ULL);
    pilotRandom = &pilot;
    PageViewer viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "open");
    QTimer pilotTimer;
    QObject::connect(&pilotTimer, &QTimer::timeout, &pilotTick);
    pilotTimer.start(10);
    startWatchdog();

    if (!app.initInstance()) monkeyFailed("the program did not start");
    static MonkeyPlatform platform;
    gameController().platform = &platform;
    QApplication::setActiveWindow(app.mainFrame());

    int done = 0;
    int settling = 0;
    Random patience(seed + 1);
    bool busyPhase = false, patient = false;
    bool idleAfterLastEvent = false;
    bool settledTurn = false; // the worker was settled at the last turn: its notice is served
    std::chrono::steady_clock::time_point idleSince;
    long long slowestMs = 0;
    std::string slowestEvent;
    long long eventMs = 0;
    int secondStalls = 0; // events that waited about a second for the engine to stop
    std::chrono::steady_clock::time_point busyBegin;
    const auto started = std::chrono::steady_clock::now();
    // One event per turn of the event loop: the step posts itself again, so that the
    // engine's notifications and repaints are served between events. While the splash
    // timer runs, a short timer instead: a stream of posted events would starve it, and
    // the menu bar would never appear.
    std::function<void()> step;
    auto again = [&] {
        if (theMainFrame && theMainFrame->splashTimerRunning())
            QTimer::singleShot(2, &app, step);
        else
            QMetaObject::invokeMethod(&app, step, Qt::QueuedConnection);
    };
    step = [&] {
        // Input reaches the main window only when nothing modal is in front of it.
        checkHintButton();
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return again();
        if (!frame()) monkeyFailed("the main window is gone");
        // Mostly the monkey watches the engine think, as a person would; now and then it
        // goes on pressing and choosing commands meanwhile.
        if (!engineIdle() && !gameController().gameDecided() && done < events) {
            if (!busyPhase) {
                busyBegin = std::chrono::steady_clock::now();
                busyPhase = true;
                patient = patience.chance(90);
            }
            if (patient && std::chrono::steady_clock::now() - busyBegin < std::chrono::seconds(3)) return again();
        } else {
            busyPhase = false;
        }
        // The menu bar appears once the splash timer has run its course; the last three
        // quarters of the events may use it.
        if (done == events / 4 && theMainFrame->splashTimerRunning()) return again();
        if (done < events) {
            // The last event's change is on disk once the worker has come back to its wait
            // and one more turn of the loop has served its notice; no later change needed.
            if (idleAfterLastEvent && engineIdle()) {
                const bool settled = workerSettled();
                if ((!settled || !settledTurn) &&
                    std::chrono::steady_clock::now() - idleSince < std::chrono::seconds(2)) {
                    settledTurn = settled;
                    return again();
                }
                checkAutosave("before an event");
            }
            settledTurn = false;
            const auto begin = std::chrono::steady_clock::now();
            const unsigned firstLine = logNext.load();
            oneEvent(random);
            const long long took = std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - begin)
                                       .count();
            eventMs += took;
            if (took >= 900) ++secondStalls;
            if (took > slowestMs && logNext.load() > firstLine) {
                slowestMs = took;
                slowestEvent = eventLog[firstLine % LogLines];
            }
            ++done;
            ++counts.events;
            progress.fetch_add(1);
            idleAfterLastEvent = engineIdle();
            idleSince = std::chrono::steady_clock::now();
            if (engineIdle()) {
                checkGame("after an event");
                if (gameController().gameDecided()) ++counts.decided;
            }
            return again();
        }
        // The end: the stylus up, the engine's answer in, a last check, then the way out.
        if (buttonHeld) release(squarePoint(0, 0));
        if (settling++ == 0) busyBegin = std::chrono::steady_clock::now();
        if (!engineIdle() && !gameController().gameDecided() &&
            std::chrono::steady_clock::now() - busyBegin < std::chrono::seconds(10))
            return again();
        progress.fetch_add(1);
        if (engineIdle()) checkGame("at the end");
        logEvent("save and exit");
        frame()->onCommand(CmdSaveAndExit);
    };
    again();
    app.exec();
    app.exitInstance();
    FILE* report = std::fopen((folder + "/monkey-report.txt").c_str(), "w");
    if (!report) report = stderr;
    std::fprintf(report, "monkey: %lld ms in all; the slowest event took %lld ms: %s\n",
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - started)
                                            .count()),
                 slowestMs, slowestEvent.c_str());
    std::fprintf(
        report,
        "monkey: %d events (%d presses, %d moves, %d releases, %d commands, %d bar clicks, %d menus, "
        "%d keys, %d resizes), %d user moves, %d game checks, %d autosave checks, %d modal windows, %d menu "
        "pop-ups, "
        "highest ply %d; Hint button checked %d times, %d of them with a hint due\n",
        counts.events, counts.presses, counts.moves, counts.releases, counts.commands, counts.barClicks,
        counts.menus, counts.keys, counts.resizes, counts.userMoves, counts.checks, counts.autosaveChecks,
        counts.modals, counts.popups, counts.maxPly, counts.hintChecks, counts.hintsDue);
    std::fprintf(report, "monkey: user moves not tried: %d with the engine busy, %d on its turn, %d decided; "
                 "%d tutorial pages\n", counts.busy, counts.notTurn, counts.over, viewer.opened);
    std::fprintf(report, "monkey: the events themselves took %lld ms; %d of them waited a second or more\n",
                 eventMs, secondStalls);
    if (report != stderr) std::fclose(report);
    // A monkey that never got to play, or whose game was never checked, proves nothing.
    if (counts.userMoves < events / 20) monkeyFailed("only %d user moves", counts.userMoves);
    if (counts.checks < events / 10) monkeyFailed("only %d game checks", counts.checks);
    if (counts.autosaveChecks < events / 20) monkeyFailed("only %d autosave checks", counts.autosaveChecks);
    if (events >= 100 && counts.barClicks + counts.menus == 0) monkeyFailed("the command bar was never used");
    if (!fs::exists(fs::path(folder) / "autosave.pgn")) monkeyFailed("no autosave.pgn after Save and exit");
    std::fflush(nullptr);
    std::_Exit(0);
}

class Monkey : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Portrait, landscape and VGA screens and the desktop window resized now and then
// (0 x 0), each with its own seed.
TEST_F(Monkey, RandomEventsKeepTheGameLegal) {
    struct Screen {
        int width, height;
    };
    const Screen screens[] = {{240, 320}, {320, 240}, {480, 640}, {0, 0}};
    const int events = eventsPerScreen();
    for (int i = 0; i < static_cast<int>(std::size(screens)); ++i) {
        const Screen& screen = screens[i];
        const unsigned long long seed = seedOf(i);
        std::printf("monkey: %dx%d, seed %llu, %d events\n", screen.width, screen.height, seed, events);
        std::fflush(stdout);
        SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height << " seed " << seed);
        Folder folder;
        EXPECT_EXIT(runMonkey(folder.path, screen.width, screen.height, seed, events), testing::ExitedWithCode(0),
                    "");
        std::ifstream report(fs::path(folder.path) / "monkey-report.txt");
        for (std::string line; std::getline(report, line);) std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

} // namespace

#include "monkey_test.moc"
