// The command language fed a sequence of lines (the input, cut at line ends)
// while the worker thread runs: no crash, no hang, and once the engine is told
// to stop, the game position is valid. Searches go to depth 1 so that each input
// takes a millisecond or so (again after each "new"); an input may ask for more.
#include <cstdint>
#include <cstdio>

#include "fuzz_session.h"

namespace {
unsigned inputs = 0;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Replies would drown the fuzzer's own output.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    processCommand("new\n");
    processCommand("sd 1\n");
    fuzzsession::feedLines(data, size, "sd 1\n");
    fuzzsession::checkAtRest("force\n");
    fuzzsession::trimGamesFile(++inputs);
    return 0;
}
