#include "ui/shell/enginecontrol.h"

#include "engine/session/session.h"

std::uint8_t stopEngineForNewGame() {
    const std::uint8_t engineSide = engineSession.engineColour;
    engineSession.engineColour = EnginePlaysNone;
    if (auto stop = stopSearchHook.load()) stop();
    return engineSide;
}

void restoreEngineSide(std::uint8_t engineSide) {
    engineSession.engineColour = engineSide;
}
