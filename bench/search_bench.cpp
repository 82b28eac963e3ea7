// tavisk-bench bench [DEPTH] [--compare] [--positions]: the fixed-depth search
// benchmark and its node-count signature.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/search/book.h"
#include "engine/search/searchbench.h"
#include "engine/search/searchdata.h"
#include "engine/search/ttable.h"

namespace {

constexpr int DefaultBenchDepth = 7;

void printResult(const char* label, const SearchBenchResult& r) {
    unsigned long long nps = r.millis ? r.nodes * 1000ULL / r.millis : 0;
    std::printf("%s nodes %llu  time %u ms  nps %llu\n", label, static_cast<unsigned long long>(r.nodes),
                r.millis, nps);
}

} // namespace

int runSearchBenchCommand(int argc, char** argv) {
    int depth = DefaultBenchDepth;
    bool compare = false, perPosition = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--compare") == 0)
            compare = true;
        else if (std::strcmp(argv[i], "--positions") == 0)
            perPosition = true;
        else {
            char* end = nullptr;
            long value = std::strtol(argv[i], &end, 10);
            if (end == argv[i] || *end != '\0' || value < 1 || value > 30) {
                std::fprintf(stderr, "bench: depth must be a number from 1 to 30\n");
                return 2;
            }
            depth = static_cast<int>(value);
        }
    }
    initTables();
    initSearchTables();
    initTranspositionTable();
    clearBook(openingBook);

    SearchBenchResult main = runSearchBench(depth, HistoryIndex::SlotTo, perPosition);
    std::printf("positions %d  depth %d\n", main.positions, depth);
    printResult("history slot-to:", main);
    if (compare) printResult("history one-bit:", runSearchBench(depth, HistoryIndex::OneBit, perPosition));
    unsigned long long nps = main.millis ? main.nodes * 1000ULL / main.millis : 0;
    std::printf("signature %llu\n", static_cast<unsigned long long>(main.nodes));
    std::printf("time %u ms\n", main.millis);
    std::printf("nps %llu\n", nps);
    return 0;
}
