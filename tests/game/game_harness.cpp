#include "tests/game/game_harness.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <unistd.h>

#include "engine/search/book.h"
#include "engine/search/worker.h"
#include "engine/session/bridge.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/gamefiles.h"
#include "game/settings.h"

namespace {

// The stand-in for the main window's message queue.
struct Notification {
    unsigned message;
    std::intptr_t wParam, lParam;
    bool done = false;
    bool posted = false; // nobody waits for it: the handler deletes it
};

std::mutex queueMutex;
std::condition_variable queueChanged;
std::deque<Notification*> queue;
std::thread::id mainThread;

std::intptr_t sendToMainWindow(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    if (std::this_thread::get_id() == mainThread || message == DisambiguateMessage)
        return dispatchEngineNotification(message, wParam, lParam);
    if (message == WorkerIdleMessage) {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.push_back(new Notification{message, wParam, lParam, false, true});
        queueChanged.notify_all();
        return 0;
    }
    Notification note{message, wParam, lParam};
    std::unique_lock<std::mutex> lock(queueMutex);
    queue.push_back(&note);
    queueChanged.notify_all();
    queueChanged.wait(lock, [&] { return note.done; });
    return 0;
}

// Handles one notification as the main window would, and tells its sender.
void handleNotification(Notification* note) {
    dispatchEngineNotification(note->message, note->wParam, note->lParam);
    if (note->posted) {
        delete note;
        return;
    }
    if (GameTest::whileWorkerWaits) GameTest::whileWorkerWaits(note->message);
    std::lock_guard<std::mutex> lock(queueMutex);
    note->done = true;
    queueChanged.notify_all();
}

// Handles queued notifications until the predicate holds or the time is up.
template <typename Predicate> bool pumpUntil(Predicate done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return done();
        Notification* note = nullptr;
        {
            // Short waits, so that a condition the worker meets without a
            // notification is seen at once.
            std::unique_lock<std::mutex> lock(queueMutex);
            if (!queueChanged.wait_for(lock, std::chrono::milliseconds(5), [] { return !queue.empty(); }))
                continue;
            note = queue.front();
            queue.pop_front();
        }
        handleNotification(note);
    }
}

void writeDefaultOptions(const std::filesystem::path& path, bool userWhite) {
    Settings settings;
    setDefaultSettings(settings);
    settings.levelMode = LevelRank; // depth 2: quick and deterministic in length
    settings.levelValue = 0;
    settings.userPlaysWhite = userWhite ? 1 : 0;
    std::uint8_t bytes[SettingsSize];
    encodeSettings(settings, bytes);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes, 1, sizeof bytes, file);
    std::fclose(file);
}

} // namespace

void FakePlatform::serveEngineNotifications() {
    // What the main window's queue holds now, handled at once.
    for (;;) {
        Notification* note = nullptr;
        {
            std::lock_guard<std::mutex> lock(queueMutex);
            if (queue.empty()) return;
            note = queue.front();
            queue.pop_front();
        }
        handleNotification(note);
    }
}

void FakePlatform::repaint() {
    ++repaints;
    decidedAtPaint.push_back(controller_.gameDecided());
    if (controller_.animating) {
        ++slidePaints;
        slideX.push_back(controller_.animX);
        controller_.advanceSlide();
    }
}

std::intptr_t FakePlatform::startTimer(void*, int identifier, int periodMs) {
    EXPECT_EQ(identifier, 10);
    EXPECT_EQ(periodMs, 1000);
    const std::intptr_t handle = nextTimer++;
    runningTimers.insert(handle);
    return handle;
}

bool FakePlatform::askYesNo(int message, int) {
    questions.push_back(message);
    return answer();
}

ImageHandle FakePlatform::loadImage(const char* name) {
    loadedImages.push_back(name);
    if (missingImages.count(name)) return nullptr;
    ++liveImages;
    return reinterpret_cast<ImageHandle>(new int(0));
}

void FakePlatform::releaseImage(ImageHandle image) {
    --liveImages;
    delete reinterpret_cast<int*>(image);
}

void GameTest::SetUp() {
    mainThread = std::this_thread::get_id();
    folder = std::filesystem::temp_directory_path() /
             ("tavisk_game_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    setGameFolder(folder.string());
    mainWindow = &sendToMainWindow;
}

std::function<void(unsigned)> GameTest::whileWorkerWaits;

void GameTest::TearDown() {
    whileWorkerWaits = nullptr;
    // Leave the engine idle and without a window for the next test.
    engineSession.engineColour = EnginePlaysNone;
    // A search that starts just after a single stop request clears it again:
    // keep asking until the worker is idle, as the controller does.
    EXPECT_TRUE(pumpUntil([] {
        engineSession.stopRequest = StopAndAbort;
        return engineSession.searchState == 0;
    }, 5000));
    mainWindow = nullptr;
    engineSession.ponderEnabled = 0; // a test may have let the engine think on the user's time
    // The worker's notices belong to this test's game.
    idleNoticeWanted = 0;
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        for (auto at = queue.begin(); at != queue.end();)
            if ((*at)->posted) {
                delete *at;
                at = queue.erase(at);
            } else {
                ++at;
            }
    }
    game().platform = nullptr;
    delete platform;
    platform = nullptr;
    waitForAutosave(); // the writer's file goes into this folder
    std::filesystem::remove_all(folder);
}

GameController& GameTest::game() {
    return gameController();
}

void GameTest::startGame(bool userWhite) {
    writeDefaultOptions(folder / "options.cfg", userWhite);
    GameController& controller = game();
    controller = GameController{};
    delete platform;
    platform = new FakePlatform(controller);
    controller.platform = platform;
    ASSERT_TRUE(controller.initialise());
    // Book moves are chosen at random; the tests want searched replies.
    clearBook(openingBook);
    controller.resetGame();
    controller.loadAutosave();
    controller.resumeGame(true);
    controller.boardPainted(nullptr);
}

bool GameTest::waitForEngine(int timeoutMs) {
    // The worker is idle again once it has returned from its notification.
    return pumpUntil([this] { return !game().engineBusy && engineSession.searchState == 0; }, timeoutMs);
}

void GameTest::pumpUntilIdle() {
    EXPECT_TRUE(pumpUntil([] { return engineSession.searchState == 0; }, 5000));
}

bool GameTest::serveUntil(const std::function<bool()>& done, int timeoutMs) {
    return pumpUntil(done, timeoutMs);
}

void GameTest::pumpFor(int milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

void GameTest::squarePoint(int column, int row, int& x, int& y) {
    cellPosition(game(), column, row, x, y);
    x += game().geometry.cellWidth / 2;
    y += game().geometry.cellHeight / 2;
}

void GameTest::tap(int column, int row) {
    int x, y;
    squarePoint(column, row, x, y);
    game().stylusPressed(x, y);
    game().stylusReleased(x, y);
}

void GameTest::drag(int fromColumn, int fromRow, int toColumn, int toRow) {
    int x0, y0, x1, y1;
    squarePoint(fromColumn, fromRow, x0, y0);
    squarePoint(toColumn, toRow, x1, y1);
    game().stylusPressed(x0, y0);
    game().stylusMoved((x0 + x1) / 2, (y0 + y1) / 2);
    game().stylusMoved(x1, y1);
    game().stylusReleased(x1, y1);
}

void GameTest::loadText(const std::string& text) {
    const std::string path = (folder / "load.pgn").string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    ASSERT_TRUE(game().readGameFromFile(path.c_str()));
}

int col(const char* square) {
    return square[0] - 'a';
}
int row(const char* square) {
    return '8' - square[1];
}
