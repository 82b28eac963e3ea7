#include <condition_variable>
#include <mutex>
#include <thread>

#include "core_helpers.h"
#include "engine/core/gamerecord.h"
#include "engine/core/notation.h"
#include "engine/session/notify.h"

namespace {

// The main window's side of the hook as the shell builds it: the recording
// thread hands the message to the main thread and waits for the answer.
struct MainThreadQueue {
    std::mutex mutex;
    std::condition_variable changed;
    bool pending = false, answered = false;
    unsigned message = 0;
    intptr_t wParam = 0, lParam = 0, answer = 0;
};
MainThreadQueue queue;

intptr_t sendToMainThread(unsigned message, intptr_t wParam, intptr_t lParam) {
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.message = message;
    queue.wParam = wParam;
    queue.lParam = lParam;
    queue.pending = true;
    queue.answered = false;
    queue.changed.notify_all();
    queue.changed.wait(lock, [] { return queue.answered; });
    return queue.answer;
}

// A move recorded on a worker thread asks the main thread for the
// disambiguation test and uses its answer in the short text.
TEST(NotifyThread, DisambiguationAnsweredOnTheMainThread) {
    initSession();
    resetEngineGame();
    Position& game = engineSession.gamePosition;
    game = positionFrom("4k3/8/8/8/8/5N2/8/1N2K3 w - -");
    engineSession.startPosition = game;
    mainWindow = sendToMainThread;
    std::thread worker([&] {
        int played = playMove(game, 1, 7, 3, 6, White, WhiteKnight, 1, nullptr, nullptr, nullptr);
        EXPECT_EQ(played, 1);
    });
    int handled = 0;
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.changed.wait(lock, [] { return queue.pending; });
        EXPECT_EQ(queue.message, DisambiguateMessage);
        queue.answer = disambiguationNeeded(static_cast<int32_t>(queue.wParam),
                                            *reinterpret_cast<const Position*>(queue.lParam));
        ++handled;
        queue.pending = false;
        queue.answered = true;
        queue.changed.notify_all();
    }
    worker.join();
    mainWindow = nullptr;
    EXPECT_EQ(handled, 1);
    EXPECT_STREQ(gameRecord.shortTexts[0], "Nbd2");
    EXPECT_STREQ(gameRecord.longTexts[0], "Nb1-d2 ");
}

} // namespace
