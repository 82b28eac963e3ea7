// The UCI side of the command language: after the "uci" handshake, any lines
// ("position", "go", "stop", "setoption", ...) leave no crash and no hang, and
// after "stop" nothing searches and the game is a valid position.
#include <cstdint>
#include <cstdio>

#include "fuzz_session.h"

namespace {
unsigned inputs = 0;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    startEngine();
    processCommand("uci\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    processCommand("uci\n");
    processCommand("ucinewgame\n");
    processCommand("position startpos\n");
    processCommand("sd 1\n");
    fuzzsession::feedLines(data, size);
    fuzzsession::checkAtRest("stop\n");
    fuzzsession::checkAtRest("force\n");
    fuzzsession::trimGamesFile(++inputs);
    return 0;
}
