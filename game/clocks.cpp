#include "game/clocks.h"

#include <cstdio>

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

void GameController::clockTick() {
    // 1. A press whose release never arrived ends here.
    if (stylusDown && !host().stylusButtonDown()) stylusReleased(-1, -1);
    // 2. The time the tutor's question is open counts for nobody.
    if (questionOpen) return;
    // 3. The clocks freeze at the end of a game.
    if (gameDecided()) return;
    // 4., 5.
    std::int32_t& clock = sideToMove() == 1 ? whiteClockMs : blackClockMs;
    clock += 1000;
    if (whiteClockMs > ClockLimitMs) whiteClockMs = ClockLimitMs;
    if (blackClockMs > ClockLimitMs) blackClockMs = ClockLimitMs;
    // 6.
    host().repaintStatus();
}

void GameController::clockTimerFired() {
    if (host().isForeground()) clockTick();
}
