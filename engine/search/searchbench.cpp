#include "engine/search/searchbench.h"

#include <cstdio>
#include <cstring>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/search/book.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/search/ttable.h"
#include "engine/session/session.h"

// Openings, middlegames with tactics, and endgames of every kind.
const char* const searchBenchPositions[] = {
    // Openings
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq -",
    "rnbqkb1r/ppp1pppp/5n2/3p4/2PP4/8/PP2PPPP/RNBQKBNR w KQkq -",
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq -",
    "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq -",
    "rnbqk2r/ppp1ppbp/3p1np1/8/2PPP3/2N5/PP3PPP/R1BQKBNR w KQkq -",
    "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -",
    "r1bqk2r/pp1n1ppp/2pbpn2/3p4/2PP4/2NBPN2/PP3PPP/R1BQK2R w KQkq -",
    // Middlegames
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - -",
    "2rq1rk1/pb2bppp/1pn1pn2/2pp4/2PP4/1PN1PN2/PB2BPPP/2RQ1RK1 w - -",
    "r1b2rk1/2q1bppp/p2p1n2/np2p3/3PP3/2P2N1P/PPB2PP1/RNBQR1K1 w - -",
    "r2qr1k1/1b1nbppp/p2p1n2/1pp1p3/4P3/1BPP1N1P/PP3PP1/RNBQR1K1 b - -",
    "3r1rk1/pp3ppp/2n1bq2/2b5/4N3/2P1BN2/PP3PPP/R2Q1RK1 w - -",
    "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - -",
    "rnb2rk1/ppp1qppp/3p1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 b - -",
    // Endgames
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "8/8/8/4k3/8/8/4P3/4K3 w - -",
    "8/5pk1/6p1/7p/7P/6P1/5PK1/8 w - -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 b - -",
    "8/8/4k3/8/2K5/8/3R4/8 w - -",
    "8/8/8/8/8/3k4/8/3KQ3 w - -",
    "8/3k4/8/8/8/8/6B1/4K1N1 w - -",
    "8/pp3kpp/2p5/8/3P4/8/PP3PPP/6K1 w - -",
    "r5k1/5ppp/8/8/8/8/5PPP/2R3K1 b - -",
    "8/8/1k6/8/8/2N5/1K1N4/8 w - -",
    "3r2k1/1p3pp1/p1p4p/8/2P5/1P3P1P/P3R1P1/6K1 w - -",
    "2k5/8/1K6/8/8/8/7p/8 b - -",
};
const int searchBenchPositionCount = sizeof searchBenchPositions / sizeof searchBenchPositions[0];

SearchBenchResult runSearchBench(int depth, HistoryIndex index, bool perPosition) {
    EngineSession& s = engineSession;
    HistoryIndex savedIndex = historyIndexKind;
    historyIndexKind = index;
    SearchBenchResult result{0, 0, 0};
    uint32_t start = tickCount();
    for (int i = 0; i < searchBenchPositionCount; ++i) {
        Position pos;
        const char* fen = searchBenchPositions[i];
        if (!readFen(pos, fen, std::strlen(fen))) continue;
        // A fresh game from the position: empty table, history and book.
        initTranspositionTable();
        std::memset(repetitionHistory, 0, sizeof repetitionHistory);
        s.gamePosition = pos;
        s.startPosition = pos;
        s.targetTime = 1.0e6f;
        s.stopRequest = NoStop;
        uint32_t before = tickCount();
        int score = rootSearch(pos, AnalyseMode, depth);
        result.nodes += nodeCount;
        result.positions += 1;
        if (perPosition)
            std::printf("%2d  nodes %9u  score %6d  %4u ms  %s\n", i + 1, nodeCount, score,
                        tickCount() - before, fen);
    }
    result.millis = tickCount() - start;
    historyIndexKind = savedIndex;
    return result;
}
