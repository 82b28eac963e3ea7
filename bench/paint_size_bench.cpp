// tavisk-bench paint --size WxH [--dpr N] [--repeat N]: what a window of that
// size costs. Each measurement is one function below that prints its line and
// says whether it kept its goal; add a measurement by adding a function and a
// call in runPaintSizeBench.
#ifdef TAVISK_BENCH_PAINT

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

#include "ui/board/livepictures.h"

namespace {

struct PaintSize {
    int width = 0, height = 0;
    double dpr = 1.0;
    int repeat = 5;
};

// The board's square for a window: the largest square board that fits beside a
// side panel taking about a third of the width.
int boardSquare(const PaintSize& size) {
    return std::max(8, int(std::min<double>(size.height, size.width * 0.7) / 8));
}

// Fastest and middle of `repeat` runs in wall-clock milliseconds, and the
// processor time of the middle run summed over every thread (the work done,
// which a busy machine does not stretch).
struct Timing {
    double best, median, cpu;
};

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Timing timeRuns(int repeat, const std::function<void()>& run) {
    std::vector<std::pair<double, double>> runs; // wall, processor
    for (int i = 0; i < repeat; ++i) {
        const double cpu = cpuMs();
        const auto start = std::chrono::steady_clock::now();
        run();
        const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        runs.push_back({wall, cpuMs() - cpu});
    }
    std::sort(runs.begin(), runs.end());
    return {runs.front().first, runs[runs.size() / 2].first, runs[runs.size() / 2].second};
}

// Painting every picture of the board for a size not seen before (a resize).
bool measurePictureSet(const PaintSize& size, int isometric, int skin) {
    constexpr double goalMs = 50.0;
    const int cell = boardSquare(size);
    const Timing t = timeRuns(size.repeat, [&] { paintLivePictures(skin, isometric, cell, size.dpr); });
    const char* style = isometric ? "isometric" : (skin == 0 ? "flat wood" : skin == 1 ? "flat blue" : "flat paper");
    std::printf("%dx%d dpr %.2g  square %3d px  pictures %-10s %7.2f ms (median %.2f, processor %.2f)%s\n",
                size.width, size.height, size.dpr, cell, style, t.best, t.median, t.cpu,
                t.median <= goalMs ? "" : "  (over 50 ms)");
    return t.median <= goalMs;
}

bool parseArguments(int argc, char** argv, PaintSize& size) {
    for (int i = 0; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--size") == 0 && hasValue) {
            char x = 0, rest = 0;
            if (std::sscanf(argv[++i], "%d%c%d%c", &size.width, &x, &size.height, &rest) != 3 || x != 'x')
                return false;
        } else if (std::strcmp(argv[i], "--dpr") == 0 && hasValue) {
            char* end = nullptr;
            size.dpr = std::strtod(argv[++i], &end);
            if (!end || *end || !(size.dpr >= 0.5 && size.dpr <= 8)) return false;
        } else if (std::strcmp(argv[i], "--repeat") == 0 && hasValue) {
            size.repeat = std::atoi(argv[++i]);
            if (size.repeat < 1 || size.repeat > 1000) return false;
        } else {
            return false;
        }
    }
    return size.width >= 64 && size.height >= 64 && size.width <= 16384 && size.height <= 16384;
}

} // namespace

int runPaintSizeBench(int argc, char** argv) {
    PaintSize size;
    if (!parseArguments(argc, argv, size)) {
        std::fprintf(stderr, "usage: tavisk-bench paint --size WxH [--dpr N] [--repeat N]\n"
                             "       (64..16384 pixels each way, ratio 0.5..8, 1..1000 runs)\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "tavisk-bench";
    char* qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    bool kept = true;
    for (int skin = 0; skin < 3; ++skin) kept = measurePictureSet(size, 0, skin) && kept;
    kept = measurePictureSet(size, 1, 0) && kept;
    return kept ? 0 : 1;
}

#endif
