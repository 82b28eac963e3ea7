#include "game/clocks.h"

#include <cstdio>

#include "engine/core/position.h"
#include "engine/search/results.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"

const std::int32_t perMoveTimes[TimeTableSize] = {
    1000, 2000, 3000, 5000, 10000, 20000, 30000, 60000, 180000, 300000,
};

const std::int32_t gameTimes[TimeTableSize] = {
    60000, 120000, 180000, 300000, 600000, 900000, 1200000, 2400000, 3600000, 5400000,
};

int timeTableIndex(const std::int32_t table[TimeTableSize], std::int64_t milliseconds) {
    for (int i = 0; i < TimeTableSize; ++i)
        if (table[i] == milliseconds) return i;
    return -1;
}

int formatClockLine(char* out, std::size_t size, const char* label, const char* colourLetter, int clockMs) {
    if (clockMs < 0) clockMs = 0;
    if (clockMs > ClockLimitMs) clockMs = ClockLimitMs;
    const int seconds = clockMs / 1000;
    // The minutes take two characters right-aligned, so the colon stays put.
    const int length =
        std::snprintf(out, size, "%s: %s %2d:%02d", label, colourLetter, seconds / 60, seconds % 60);
    if (length < 0) return 0;
    return static_cast<std::size_t>(length) < size ? length : static_cast<int>(size ? size - 1 : 0);
}

void clockLines(const GameController& controller, const char* youWord, const char* cpuWord,
                const char* whiteLetter, const char* blackLetter, char* userLine, char* engineLine,
                std::size_t size) {
    const bool userWhite = controller.userColour != 2;
    const int userClock = userWhite ? controller.whiteClockMs : controller.blackClockMs;
    const int engineClock = userWhite ? controller.blackClockMs : controller.whiteClockMs;
    formatClockLine(userLine, size, youWord, userWhite ? whiteLetter : blackLetter, userClock);
    formatClockLine(engineLine, size, cpuWord, userWhite ? blackLetter : whiteLetter, engineClock);
}

std::uint32_t GamePlatform::tickMs() {
    return tickCount();
}

void GameController::clockTick() {
    // 1. A press whose release never arrived ends here.
    if (stylusDown && !host().stylusButtonDown()) stylusReleased(-1, -1);
    // 2.-5. The time since the last settling goes to the clock that ran.
    const bool running = clockSide != 0;
    settleClocks();
    // 6.
    if (running || clockSide != 0) host().repaintStatus();
}

void GameController::clockTimerFired() {
    clockTick();
}

void GameController::settleClocks() {
    const std::uint32_t now = host().tickMs();
    if (clockSide == White || clockSide == Black) {
        std::int32_t& clock = clockSide == White ? whiteClockMs : blackClockMs;
        const std::int64_t total = static_cast<std::int64_t>(clock) + static_cast<std::uint32_t>(now - clockMark);
        clock = static_cast<std::int32_t>(total < ClockLimitMs ? total : ClockLimitMs);
    }
    clockMark = now;
    // Slides, the tutor's question, another window in front and a decided game
    // (by the rules, a resignation, an agreed draw or a loaded result) count for
    // nobody. The game position is read only while the worker leaves it alone:
    // idle, or waiting for its notification to be handled.
    const bool readable = engineSession.searchState == 0 || handlingEngineNotification();
    const bool counts =
        clockTimerId != 0 && !animating && !questionOpen && host().isForeground() && !gameDecided();
    // The engine, when asked to move, plays the side the user does not.
    int side = engineBusy ? (userColour == White ? Black : White) : sideToMove();
    if (!engineBusy && readable) side = engineSession.gamePosition.sideToMove;
    clockSide = counts ? side : 0;
    engineBridge().setClocksUsed(whiteClockMs, blackClockMs);
}

void GameController::setClocks(std::int32_t whiteMs, std::int32_t blackMs) {
    const auto held = [](std::int32_t ms) { return ms < 0 ? 0 : (ms > ClockLimitMs ? ClockLimitMs : ms); };
    whiteClockMs = held(whiteMs);
    blackClockMs = held(blackMs);
    clockSide = 0;
    settleClocks();
}
