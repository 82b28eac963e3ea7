#include "game/strength.h"

#include <cmath>

#include "game/settings.h"

namespace {

// Measured (docs/strength.md). Rank 8 to 10 are not told apart by their
// games; Rank 10 measured 2317 +- 238, a little under Rank 9, and is shown one
// step above Rank 9, inside its own interval.
constexpr int noviceRatings[3] = {280, 705, 1285};
constexpr int rankRatings[10] = {1654, 1806, 1888, 1926, 2002, 2061, 2109, 2296, 2331, 2400};
constexpr int turnInOneSecond = 2127;
constexpr int turnInFiveSeconds = 2311;

// Moves a game of Game In lasts on average, for its time per move.
constexpr double MovesPerGame = 40.0;
// Longer times are not measured: the estimate stops growing this far above 5 s.
constexpr int MaxGainAboveFiveSeconds = 200;

int roundTo50(double rating) {
    return static_cast<int>(std::lround(rating / 50.0)) * 50;
}

double ratingForSecondsPerMove(double seconds) {
    const double perDecade = (turnInFiveSeconds - turnInOneSecond) / std::log10(5.0);
    double rating = turnInOneSecond + perDecade * std::log10(seconds);
    if (rating > turnInFiveSeconds + MaxGainAboveFiveSeconds)
        rating = turnInFiveSeconds + MaxGainAboveFiveSeconds;
    return rating;
}

} // namespace

int levelStrength(std::uint32_t mode, std::uint32_t value) {
    switch (mode) {
    case LevelNovice:
        return value < 3 ? roundTo50(noviceRatings[value]) : 0;
    case LevelRank:
        return value < 10 ? roundTo50(rankRatings[value]) : 0;
    case LevelTurnIn:
        return value > 0 ? roundTo50(ratingForSecondsPerMove(value / 1000.0)) : 0;
    case LevelGameIn:
        return value > 0 ? roundTo50(ratingForSecondsPerMove(value / 1000.0 / MovesPerGame)) : 0;
    default:
        return 0;
    }
}
