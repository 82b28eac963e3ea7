// tavisk-bench paint --size WxH [--dpr N] [--repeat N]: what a window of that
// size costs: its pictures painted afresh, and a full paint of the desktop window.
// Each measurement is one function below that prints its line and says whether
// it kept its goal; add a measurement by adding a function and a
// call in runPaintSizeBench.
#ifdef TAVISK_BENCH_PAINT


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

#include <QImage>

#include "bench/benchplatform.h"
#include "game/controller.h"
#include "ui/board/boardpaint.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "ui/board/livepictures.h"
#include "ui/board/showcase.h"

namespace {

struct PaintSize {
    int width = 0, height = 0;
    double dpr = 1.0;
    int repeat = 5;
};

// The desktop window's view: the window less its command bar.
constexpr int CommandBarHeight = 40;
int viewHeight(const PaintSize& size) {
    return std::max(64, size.height - CommandBarHeight);
}

// The board's square (or isometric cell) as the desktop window lays out its view.
int boardSquare(const PaintSize& size, int isometric) {
    BoardGeometry g;
    layoutDesktop(g, size.width, viewHeight(size), isometric);
    return g.cellWidth;
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
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        runs.push_back({wall, cpuMs() - cpu});
    }
    std::sort(runs.begin(), runs.end());
    return {runs.front().first, runs[runs.size() / 2].first, runs[runs.size() / 2].second};
}

// Painting every picture of the board for a size not seen before (a resize).
bool measurePictureSet(const PaintSize& size, int isometric, int skin) {
    constexpr double goalMs = 50.0;
    const int cell = boardSquare(size, isometric);
    const Timing t = timeRuns(size.repeat, [&] { paintLivePictures(skin, isometric, cell, size.dpr); });
    const char* style = isometric ? "isometric"
                                  : (skin == 0   ? "flat wood"
                                     : skin == 1 ? "flat blue"
                                                 : "flat paper");
    std::printf("%dx%d dpr %.2g  square %3d px  pictures %-10s %7.2f ms (median %.2f, processor %.2f)%s\n",
                size.width, size.height, size.dpr, cell, style, t.best, t.median, t.cpu,
                t.median <= goalMs ? "" : "  (over 50 ms)");
    if (!isometric) return t.median <= goalMs;
    // Turning the isometric board a quarter paints its other view, once per set.
    const LivePictures set = paintLivePictures(skin, isometric, cell, size.dpr);
    const Timing turn = timeRuns(size.repeat, [&] {
        set.boardTurned = QImage();
        liveBoard(set, 1);
    });
    std::printf(
        "%dx%d dpr %.2g  square %3d px  turned view         %7.2f ms (median %.2f, processor %.2f)%s\n",
        size.width, size.height, size.dpr, cell, turn.best, turn.median, turn.cpu,
        turn.median <= goalMs ? "" : "  (over 50 ms)");
    return t.median <= goalMs && turn.median <= goalMs;
}

// The desktop window of this size as the game shows it: a full paint of the view
// (board, pieces, markers, panel) into a picture of its device pixels, the
// pictures already painted for the size. The view is the window less its command bar.
bool measureDesktopPaint(const PaintSize& size, int isometric) {
    constexpr double goalMs = 8.0;
    static BenchPlatform platform;
    platform.desktop = true;
    GameController& game = gameController();
    platform.width = size.width;
    platform.height = viewHeight(size);
    game.platform = &platform;
    static const bool played = setUpShowcase(game);
    if (!played) {
        std::fprintf(stderr, "paint: the showcase game did not play\n");
        return false;
    }
    game.settings.isometric = static_cast<std::uint32_t>(isometric);
    game.settings.skin = 0;
    if (!game.loadSkin(0)) {
        std::fprintf(stderr, "paint: the pictures are missing\n");
        return false;
    }
    markShowcaseDestinations(game);
    game.lineValid = true; // the panel shows the showcase's expected line
    QImage frame(int(std::ceil(platform.width * size.dpr)), int(std::ceil(platform.height * size.dpr)),
                 QImage::Format_RGB32);
    frame.setDevicePixelRatio(size.dpr);
    paintGameView(frame, game); // the pictures for this size, painted once
    const Timing t = timeRuns(std::max(size.repeat, 20), [&] { paintGameView(frame, game); });
    std::printf("%dx%d dpr %.2g  square %3d px  full paint %-10s %7.2f ms (median %.2f, processor %.2f)%s\n",
                size.width, size.height, size.dpr, game.geometry.cellWidth, isometric ? "isometric" : "flat",
                t.best, t.median, t.cpu, t.median <= goalMs ? "" : "  (over 8 ms)");
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
    BenchApplication application;

    bool kept = true;
    for (int skin = 0; skin < 3; ++skin) kept = measurePictureSet(size, 0, skin) && kept;
    kept = measurePictureSet(size, 1, 0) && kept;
    for (int isometric = 0; isometric < 2; ++isometric) kept = measureDesktopPaint(size, isometric) && kept;
    gameController().platform = nullptr;
    return kept ? 0 : 1;
}

#endif
