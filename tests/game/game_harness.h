#pragma once
// Drives the game controller as the shell would: a fake platform that
// records what the controller asks of it, and a stand-in for the main
// window that runs the engine's notifications on the test's thread while
// the worker waits, as a blocking queued call does in the shell.

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "game/controller.h"

class FakePlatform : public GamePlatform {
  public:
    explicit FakePlatform(GameController& controller) : controller_(controller) {}

    void repaint() override;
    void repaintStatus() override { ++statusRepaints; }
    void sleepMs(int milliseconds) override {
        sleptMs += milliseconds;
        now += static_cast<std::uint32_t>(milliseconds);
    }
    void serveEngineNotifications() override;
    std::uint32_t tickMs() override { return now; }
    std::intptr_t startTimer(void* view, int identifier, int periodMs) override;
    void stopTimer(std::intptr_t handle) override { runningTimers.erase(handle); }
    void showMessage(int message, int) override { messages.push_back(message); }
    bool askYesNo(int message, int) override;
    bool isForeground() override { return foreground; }
    bool stylusButtonDown() override { return stylusHeld; }
    bool hasMainWindow() override { return mainWindowExists; }
    void closeMainWindow() override { ++closeRequests; }
    void exitProcess(int code) override { exitCodes.push_back(code); }
    ImageHandle loadImage(const char* name) override;
    void releaseImage(ImageHandle image) override;
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }

    // Paints made while a slide was running, since the last reset.
    int slidePaints = 0;
    std::vector<double> slideX; // the sliding piece's position at each such paint
    int repaints = 0;
    std::vector<bool> decidedAtPaint; // the game was over at each paint
    int statusRepaints = 0;
    long sleptMs = 0;
    std::uint32_t now = 0; // the steady clock: the slides' sleeps and the tests move it on
    std::set<std::intptr_t> runningTimers;
    std::intptr_t nextTimer = 1;
    std::vector<int> messages;
    std::vector<int> questions;
    std::function<bool()> answer = [] { return false; }; // the user's answer to a question
    bool stylusHeld = false;
    bool foreground = true;
    bool mainWindowExists = false;
    int closeRequests = 0;
    std::vector<int> exitCodes;
    std::set<std::string> missingImages;
    std::vector<std::string> loadedImages;
    int liveImages = 0;
    int width = 240, height = 320;

  private:
    GameController& controller_;
};

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Puts a fresh controller on the fake platform, with the given settings
    // as "options.cfg", and runs the first start as the shell does.
    void startGame(bool userWhite = true);

    // Runs the engine's notifications until the engine has answered (or the
    // time-out passes); false on time-out.
    bool waitForEngine(int timeoutMs = 20000);
    // Runs notifications for a while (the worker may be waiting on one).
    void pumpFor(int milliseconds);
    // Runs notifications until the worker is idle.
    void pumpUntilIdle();
    // Runs notifications until the condition holds; false on time-out.
    bool serveUntil(const std::function<bool()>& done, int timeoutMs);

    // View point at the centre of a square's cell.
    void squarePoint(int column, int row, int& x, int& y);
    void tap(int column, int row);
    void drag(int fromColumn, int fromRow, int toColumn, int toRow);
    // Loads a game text through the user's "Load".
    void loadText(const std::string& text);

    GameController& game();
  public:
    // Runs on the main thread after each notification the worker waits for has been
    // handled, before the worker is let go (the message as argument).
    static std::function<void(unsigned)> whileWorkerWaits;

  protected:
    std::filesystem::path folder;
    FakePlatform* platform = nullptr;
};

// Square (column, row) from a name such as "e2".
int col(const char* square);
int row(const char* square);
