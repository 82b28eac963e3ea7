#include "game/autosave.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "engine/search/worker.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/gamefiles.h"

namespace {

// The writer thread's mailbox: the newest text waits, older ones are dropped.
struct Writer {
    std::mutex mutex;
    std::condition_variable changed;
    std::string path, text; // waiting to be written when `waiting`
    bool waiting = false;
    bool writing = false;
    bool started = false;
};

Writer& writer() {
    static Writer* instance = new Writer; // lives as long as its thread
    return *instance;
}

void writerLoop() {
    Writer& w = writer();
    std::unique_lock<std::mutex> lock(w.mutex);
    for (;;) {
        w.changed.wait(lock, [&] { return w.waiting; });
        const std::string path = std::move(w.path), text = std::move(w.text);
        w.waiting = false;
        w.writing = true;
        lock.unlock();
        replaceFile(path.c_str(), text.data(), text.size());
        lock.lock();
        w.writing = false;
        w.changed.notify_all();
    }
}

// What makes one game text differ from another: everything but the lines of
// the moment of writing.
std::string gameKey(const std::string& text) {
    std::string key;
    key.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        // The clock tags change every second; the game with them is written at its next change.
        if (text.compare(at, 7, "[Date \"") != 0 && text.compare(at, 7, "[Time \"") != 0 &&
            text.compare(at, 15, "[WhiteTimeUsed ") != 0 && text.compare(at, 15, "[BlackTimeUsed ") != 0)
            key.append(text, at, end - at);
        at = end;
    }
    return key;
}

std::string& lastKey() {
    static std::string key;
    return key;
}

// The worker owns the game while it searches, except while it waits for the
// main thread to handle its notification.
bool gameAtRest() {
    if (handlingEngineNotification()) return true;
    return engineSession.searchState == 0 && idleEvent.isSet();
}

std::string keyOf(const std::string& path, const std::string& text) {
    return path + '\n' + gameKey(text);
}

} // namespace

void autosaveIsCurrent() {
    if (gameAtRest()) lastKey() = keyOf(gameFile(AutosaveFileName), autosaveText());
}

void autosaveIfChanged() {
    if (!gameAtRest()) {
        // The worker holds the game, or has let it go and not yet come back to its
        // wait: its notice from there brings the change to disk without waiting for
        // another event. Asked first and then looked again, so that a worker that
        // arrives in between is seen here or sends its notice.
        idleNoticeWanted = 1;
        if (!gameAtRest()) return;
    }
    std::string text = autosaveText();
    std::string path = gameFile(AutosaveFileName);
    std::string key = keyOf(path, text);
    if (key == lastKey()) return;
    lastKey() = std::move(key);
    Writer& w = writer();
    std::lock_guard<std::mutex> lock(w.mutex);
    if (!w.started) {
        std::thread(writerLoop).detach();
        w.started = true;
    }
    w.path = std::move(path);
    w.text = std::move(text);
    w.waiting = true;
    w.changed.notify_all();
}

void waitForAutosave() {
    Writer& w = writer();
    std::unique_lock<std::mutex> lock(w.mutex);
    w.changed.wait(lock, [&] { return !w.waiting && !w.writing; });
}
