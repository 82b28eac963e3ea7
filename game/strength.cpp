#include "game/strength.h"

#include <cmath>

#include "game/settings.h"

namespace {

// Measured (docs/strength.md); Rank 9 and 10 are extrapolated from the steps
// between Rank 5 and Rank 8, as too few of their slow games could be played.
constexpr int noviceRatings[3] = {348, 979, 1549};
constexpr int rankRatings[10] = {1990, 2270, 2450, 2652, 2932, 3141, 3251, 3422, 3585, 3748};
constexpr int turnInOneSecond = 3251;
constexpr int turnInFiveSeconds = 3563;

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
