#pragma once

// The worker thread that runs every search, and the protocol by which the
// caller's thread hands it requests and stops it.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "engine/core/position.h"

// An event with automatic or manual reset, set/reset and a wait with a
// time-out in milliseconds (-1 = no limit).
class Event {
  public:
    explicit Event(bool manualReset) : manual_(manualReset) {}
    void set();
    void reset();
    // 1 if the event was (or became) set within the time-out, else 0.
    int wait(int timeoutMs = -1);
    int isSet();

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool manual_;
    bool signalled_ = false;
};

// The worker is never joined, so its events are never destroyed either (they
// outlive the exit-time destructors).
extern Event& wakeEvent;   // auto-reset: wakes the worker
extern Event& idleEvent;   // manual-reset: set while the worker waits
extern Event& commitGuard; // manual-reset: reset while the worker commits its move
// Held while the game position and record change under a running worker: by the
// worker over the commit of its move, by the caller over an opponent's move (which
// may come while the commit guard is still set, an instant before the commit).
extern std::timed_mutex& commitMutex;
// 1 from startSearch until the worker has taken the request and shows itself busy;
// covers the moment in which a worker that has just finished sets idleEvent again.
extern std::atomic<int> requestPending;
// Set by the main thread when something waits for the worker to be back in its wait
// (a change of the game that could not be written while the worker held it). The
// worker, once idleEvent is set, posts WorkerIdleMessage and then clears it.
extern std::atomic<int> idleNoticeWanted;

// Creates the worker thread and installs stopSearch as the session's stop
// hook (once; later calls do nothing).
void startWorker();

// Hands the worker a request (0 think, 1 analyse) unless it is busy.
void startSearch(int request);

// Waits up to 1000 ms for the commit guard, aborts the search and waits up to
// 1000 ms for the worker to become idle.
void stopSearch();

// After an opponent's move has been played on gamePosition: ponder hit or miss,
// game-end test, the engine's reply.
void afterOpponentMove();

// The end of a committed search: prints "move %s" and notifies the main window.
void playEngineMove();

// After a ponder hit the search's position becomes the game position; the
// caller's hit-or-miss test may be reading it at that moment.
void commitPonderPosition(const Position& pos);

// A UCI search in infinite or ponder mode keeps its "bestmove" until the
// interface sends "stop" or "ponderhit": holdBestMove(true) before such a
// search; releaseBestMove() prints a kept line at once, or lets the search
// print its own when it ends.
void holdBestMove(bool hold);
void releaseBestMove();
