// tavisk-bench paint: full paints of the game screen per second on the largest
// screen class, both board styles, with a mid-game position, markers, side
// panel and clocks. A paint must stay well under the 50 ms frame of a slide.
#ifdef TAVISK_BENCH_PAINT

#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/benchplatform.h"
#include "game/controller.h"
#include "ui/board/boardpaint.h"
#include "ui/board/images.h"
#include "ui/board/showcase.h"

int runPaintSizeBench(int argc, char** argv);

int runPaintBench(int argc, char** argv) {
    // Options name a window size; a bare number is the emulated screens' paint count.
    if (argc > 0 && argv[0][0] == '-') return runPaintSizeBench(argc, argv);
    const int paints = argc > 0 ? std::atoi(argv[0]) : 300;
    if (paints <= 0) {
        std::fprintf(stderr, "paint: the number of paints must be positive\n");
        return 2;
    }
    BenchApplication application;

    BenchPlatform platform;
    GameController& game = gameController();
    game.platform = &platform;
    if (!setUpShowcase(game)) {
        std::fprintf(stderr, "paint: the showcase game did not play\n");
        return 1;
    }
    struct Screen {
        int width, height;
    };
    const Screen screens[] = {{480, 640}, {640, 480}};
    int status = 0;
    for (const Screen& screen : screens)
        for (int isometric = 0; isometric < 2; ++isometric) {
            platform.width = screen.width;
            platform.height = screen.height;
            game.settings.isometric = static_cast<std::uint32_t>(isometric);
            if (!game.loadSkin(0)) {
                std::fprintf(stderr, "paint: the pictures are missing\n");
                return 1;
            }
            markShowcaseDestinations(game);
            QImage frame(screen.width, screen.height, QImage::Format_RGB32);
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < paints; ++i) paintGameView(frame, game);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const double perPaintMs = seconds * 1000.0 / paints;
            std::printf("%dx%d %-10s %6d paints  %8.1f paints/s  %7.3f ms per paint%s\n", screen.width,
                        screen.height, isometric ? "isometric" : "flat", paints, paints / seconds, perPaintMs,
                        perPaintMs < 50.0 ? "" : "  (slower than a slide frame)");
            if (perPaintMs >= 50.0) status = 1;
        }
    game.platform = nullptr;
    return status;
}

#endif
