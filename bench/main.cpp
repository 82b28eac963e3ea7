// tavisk-bench: measurements of the engine, one subcommand each.
#include <cstdio>
#include <cstring>

#include "engine/session/session.h"

// Each subcommand gets the arguments after its name and returns the exit code.
// To add one: declare its function here and add a row to the table.
int runPerft(int argc, char** argv);
int runDivide(int argc, char** argv);
int runPerftSuite(int argc, char** argv);
int runSearchBenchCommand(int argc, char** argv);
int runEvalBench(int argc, char** argv);
#ifdef TAVISK_BENCH_PAINT
int runPaintBench(int argc, char** argv);
#endif

namespace {

struct BenchCommand {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

const BenchCommand commands[] = {
    {"perft", runPerft, "perft N [FEN] [--all-promotions]   legal move sequences of depth N"},
    {"divide", runDivide, "divide N [FEN] [--all-promotions]  perft per root move"},
    {"perft-suite", runPerftSuite, "perft-suite                         fixed perft positions, checked"},
    {"bench", runSearchBenchCommand,
     "bench [DEPTH] [--compare] [--positions]  fixed-depth search, node signature"},
    {"eval", runEvalBench,
     "eval [SECONDS]                      evaluations/s over game positions, pawn-cache hits"},
#ifdef TAVISK_BENCH_PAINT
    {"paint", runPaintBench,
     "paint [N]                           full paints of the game screen per second (VGA)\n"
     "  paint --size WxH [--dpr N]        a window of that size: its pictures painted afresh"},
#endif
};

int usage() {
    std::fprintf(stderr, "usage: tavisk-bench <command> ...\n");
    for (const BenchCommand& c : commands) std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    initSession();
    if (argc < 2) return usage();
    for (const BenchCommand& c : commands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    return usage();
}
