#include "game/boardstyle.h"

std::int32_t flatTurn(std::int32_t orientation) {
    return orientation != 0 ? 1 : 0;
}

std::int32_t isometricTurn(std::int32_t orientation) {
    return ((orientation % 4) + 4) % 4;
}

BoardTurns currentTurns(const Settings& settings, BoardTurns turns) {
    if (settings.isometric)
        turns.isometric = isometricTurn(settings.orientation);
    else
        turns.flat = flatTurn(settings.orientation);
    return turns;
}

bool chooseBoardStyle(Settings& settings, BoardTurns& turns, bool isometric, std::uint32_t skin) {
    const std::uint32_t family = isometric ? 1 : 0;
    if (isometric) skin = 0;
    if (settings.isometric == family && (isometric || settings.skin == skin)) return false;
    turns = currentTurns(settings, turns);
    settings.orientation = isometric ? isometricTurn(turns.isometric) : flatTurn(turns.flat);
    settings.isometric = family;
    settings.skin = skin;
    return true;
}
