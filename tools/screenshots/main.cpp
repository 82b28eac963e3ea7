// tavisk-screenshots: the game screen as the player sees it, for every screen
// class, both board styles and every skin, in the middle of a game: a knight
// selected with its destinations shown, the last move marked, an expected line
// with its score and both clocks running. Writes one PNG per picture, named
// WIDTHxHEIGHT-STYLE.png, into the folder given on the command line. The two
// small screens (narrow and low) are also shown in a game past move ten and at
// its checkmate, flat and isometric: small-WIDTHxHEIGHT-STYLE-middle|mate.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "engine/core/gamerecord.h"
#include "engine/search/rootsearch.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "ui/board/boardpaint.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "ui/board/showcase.h"

namespace {

// The device screen, as the game sees it: only the metrics and the pictures matter here.
class ScreenshotPlatform : public GamePlatform {
  public:
    int width = 240, height = 320;
    void repaint() override {}
    void sleepMs(int) override {}
    std::intptr_t startTimer(void*, int, int) override { return 1; }
    void stopTimer(std::intptr_t) override {}
    void showMessage(int message, int) override { std::fprintf(stderr, "message %d\n", message); }
    bool askYesNo(int, int) override { return false; }
    bool isForeground() override { return true; }
    bool stylusButtonDown() override { return false; }
    bool hasMainWindow() override { return false; }
    void closeMainWindow() override {}
    void exitProcess(int code) override { std::exit(code); }
    ImageHandle loadImage(const char* name) override { return ::loadImage(name); }
    void releaseImage(ImageHandle image) override { ::releaseImage(image); }
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }
};

struct Screen {
    int width, height;
};
// One screen of every class: QVGA portrait, VGA, QVGA landscape, square, narrow, low, VGA landscape.
const Screen screens[] = {{240, 320}, {480, 640}, {320, 240}, {240, 240}, {176, 220}, {240, 200}, {640, 480}};

// A short classic that ends in a mate on move 17: pictures of the middle after
// 12...Rd8 and of the final position.
const char* const operaGame[] = {"e4",   "e5",    "Nf3",   "d6",   "d4",    "Bg4", "dxe5", "Bxf3", "Qxf3",
                                 "dxe5", "Bc4",   "Nf6",   "Qb3",  "Qe7",   "Nc3", "c6",   "Bg5",  "b5",
                                 "Nxb5", "cxb5",  "Bxb5+", "Nbd7", "O-O-O", "Rd8", "Rxd7", "Rxd7", "Rd1",
                                 "Qe6",  "Bxd7+", "Nxd7",  "Qb8+", "Nxb8",  "Rd8"};
constexpr int MiddlePlies = 24;

// Plays the first `plies` moves and leaves the engine's line and score of a short
// analysis (of the position before the last move at the mate).
bool playOpera(GameController& game, int plies) {
    newGame();
    const int total = static_cast<int>(sizeof operaGame / sizeof operaGame[0]);
    for (int i = 0; i < plies && i < total; ++i) {
        if (i == total - 1) {
            Position copy = engineSession.gamePosition;
            rootSearch(copy, AnalyseMode, 3);
        }
        if (!playMoveText(operaGame[i], engineSession.gamePosition, 1, &gameRecord)) return false;
    }
    if (plies < total) {
        Position copy = engineSession.gamePosition;
        rootSearch(copy, AnalyseMode, 3);
    }
    game.pieceSelected = false;
    game.selectedColumn = game.selectedRow = -1;
    game.cursorColumn = game.cursorRow = -1;
    return true;
}

int saveSmallScreens(GameController& game, ScreenshotPlatform& platform, const QString& folder) {
    int failures = 0;
    const Screen small[] = {{176, 220}, {220, 176}};
    for (int scene = 0; scene < 2; ++scene) {
        const bool mate = scene == 1;
        if (!playOpera(game, mate ? 1000 : MiddlePlies)) return 1;
        for (const Screen& screen : small)
            for (int iso = 0; iso < 2; ++iso) {
                platform.width = screen.width;
                platform.height = screen.height;
                game.settings.isometric = static_cast<std::uint8_t>(iso);
                game.settings.skin = 0;
                if (!game.loadSkin(0)) {
                    ++failures;
                    continue;
                }
                QImage frame(screen.width, viewHeight(screen.width, screen.height), QImage::Format_RGB32);
                paintGameView(frame, game);
                const QString name = QString("%1/small-%2x%3-%4-%5.png")
                                         .arg(folder)
                                         .arg(screen.width)
                                         .arg(screen.height)
                                         .arg(iso ? "iso" : "flat")
                                         .arg(mate ? "mate" : "middle");
                // Four times as large, pixel for pixel, so the small screens can be read.
                if (!frame.scaled(frame.size() * 4).save(name)) ++failures;
            }
    }
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavisk-screenshots FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    initSession();
    ScreenshotPlatform platform;
    GameController& game = gameController();
    game.platform = &platform;
    if (!setUpShowcase(game)) {
        std::fprintf(stderr, "tavisk-screenshots: the showcase game did not play\n");
        return 1;
    }

    static const char* const styles[] = {"wood", "blue", "bw", "iso"};
    int failures = 0;
    for (const Screen& screen : screens) {
        platform.width = screen.width;
        platform.height = screen.height;
        for (int style = 0; style < 4; ++style) {
            game.settings.isometric = style == 3 ? 1 : 0;
            game.settings.skin = style == 3 ? 0 : style;
            if (!game.loadSkin(static_cast<int>(game.settings.skin))) {
                std::fprintf(stderr, "tavisk-screenshots: pictures missing for %dx%d %s\n", screen.width,
                             screen.height, styles[style]);
                ++failures;
                continue;
            }
            markShowcaseDestinations(game);
            QImage frame(screen.width, viewHeight(screen.width, screen.height), QImage::Format_RGB32);
            paintGameView(frame, game);
            const QString name = QString("%1/%2x%3-%4.png")
                                     .arg(folder)
                                     .arg(screen.width)
                                     .arg(screen.height)
                                     .arg(styles[style]);
            if (!frame.save(name)) {
                std::fprintf(stderr, "tavisk-screenshots: cannot write %s\n", qPrintable(name));
                ++failures;
            }
        }
    }
    failures += saveSmallScreens(game, platform, folder);
    return failures == 0 ? 0 : 1;
}
