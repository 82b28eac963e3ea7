// perft, divide and perft-suite subcommands of tavisk-bench.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"

namespace {

struct PerftArgs {
    int depth = 0;
    bool allPromotions = false;
    Position position{};
    bool ok = false;
};

// "N [FEN words...] [--all-promotions]"; the FEN may come as one argument or several.
PerftArgs parseArgs(int argc, char** argv) {
    PerftArgs args;
    if (argc < 1) {
        std::fprintf(stderr, "missing depth\n");
        return args;
    }
    char* end = nullptr;
    long depth = std::strtol(argv[0], &end, 10);
    if (!end || *end || depth < 0 || depth > 12) {
        std::fprintf(stderr, "depth must be a number from 0 to 12\n");
        return args;
    }
    args.depth = static_cast<int>(depth);
    std::string fen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all-promotions") == 0) {
            args.allPromotions = true;
            continue;
        }
        if (!fen.empty()) fen += ' ';
        fen += argv[i];
    }
    if (fen.empty()) {
        setInitialPosition(args.position);
    } else if (!readFen(args.position, fen.c_str(), fen.size())) {
        std::fprintf(stderr, "not a valid position: %s\n", fen.c_str());
        return args;
    }
    args.ok = true;
    return args;
}

uint64_t count(Position& position, int depth, bool allPromotions) {
    return allPromotions ? perftAllPromotions(position, depth) : perft(position, depth);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void printSpeed(uint64_t nodes, double seconds) {
    std::printf("seconds %.3f\n", seconds);
    std::printf("nps %.0f\n", seconds > 0 ? static_cast<double>(nodes) / seconds : 0.0);
}

struct SuiteRow {
    const char* fen;
    int depth;
    uint64_t nodes;
};

// Promotions to queen only; rows chosen so that they also hold for full counts
// where no promotion is reachable.
const SuiteRow suite[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 5, 4865609},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 97862},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
};

} // namespace

int runPerft(int argc, char** argv) {
    PerftArgs args = parseArgs(argc, argv);
    if (!args.ok) return 2;
    auto start = std::chrono::steady_clock::now();
    uint64_t nodes = count(args.position, args.depth, args.allPromotions);
    double seconds = secondsSince(start);
    std::printf("nodes %llu\n", static_cast<unsigned long long>(nodes));
    printSpeed(nodes, seconds);
    return 0;
}

int runDivide(int argc, char** argv) {
    PerftArgs args = parseArgs(argc, argv);
    if (!args.ok) return 2;
    if (args.depth < 1) {
        std::fprintf(stderr, "divide needs a depth of at least 1\n");
        return 2;
    }
    Position& p = args.position;
    int colour = p.sideToMove;
    MoveList list;
    generateMovesWithCheck(p, list, colour);
    auto start = std::chrono::steady_clock::now();
    uint64_t total = 0;
    int moves = list.count();
    for (int k = 0; k < moves; ++k) {
        int32_t move = list.move(k);
        int from = moveOrigin(move);
        bool promotion = from < CastleWhiteKingSide && pieceType(p.board[from]) == Pawn &&
                         (rowOf(moveDestination(move)) == 0 || rowOf(moveDestination(move)) == 7);
        static const char promotionLetters[] = {0, 0, 0, 'b', 'n', 'r', 'q'};
        int lowest = promotion && args.allPromotions ? Bishop : Queen;
        for (int type = Queen; type >= lowest; --type) {
            Position child = p;
            uint32_t a, b;
            makeMove(child, move, a, b, type);
            if (inCheck(child, colour)) break;
            uint64_t nodes = count(child, args.depth - 1, args.allPromotions);
            char text[8];
            int n = coordinateTextLower(text, move);
            if (promotion) {
                text[n++] = promotionLetters[type];
                text[n] = '\0';
            }
            std::printf("%s: %llu\n", text, static_cast<unsigned long long>(nodes));
            total += nodes;
        }
    }
    std::printf("nodes %llu\n", static_cast<unsigned long long>(total));
    printSpeed(total, secondsSince(start));
    return 0;
}

int runPerftSuite(int, char**) {
    uint64_t totalNodes = 0;
    int failures = 0;
    auto start = std::chrono::steady_clock::now();
    for (const SuiteRow& row : suite) {
        Position p;
        if (!readFen(p, row.fen, std::strlen(row.fen))) {
            std::printf("FAIL unreadable %s\n", row.fen);
            ++failures;
            continue;
        }
        auto rowStart = std::chrono::steady_clock::now();
        uint64_t nodes = perft(p, row.depth);
        double seconds = secondsSince(rowStart);
        bool good = nodes == row.nodes;
        failures += !good;
        totalNodes += nodes;
        std::printf("%s depth %d nodes %llu expected %llu %.3f s  %s\n", good ? "ok  " : "FAIL", row.depth,
                    static_cast<unsigned long long>(nodes), static_cast<unsigned long long>(row.nodes),
                    seconds, row.fen);
    }
    std::printf("nodes %llu\n", static_cast<unsigned long long>(totalNodes));
    printSpeed(totalNodes, secondsSince(start));
    return failures ? 1 : 0;
}
