// tavisk-screenshots: the game screen as the player sees it, for every screen
// class, both board styles and every skin, in the middle of a game: a knight
// selected with its destinations shown, the last move marked, an expected line
// with its score and both clocks running. Writes one PNG per picture, named
// WIDTHxHEIGHT-STYLE.png, into the folder given on the command line.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "engine/session/session.h"
#include "game/controller.h"
#include "ui/board/boardpaint.h"
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

// The part of the screen the view gets: less the command bar at the bottom and,
// on portrait screens, the task bar at the top (26 pixels, 52 on VGA screens).
int viewHeight(const Screen& s) {
    const int bar = (s.width >= 480 || s.height >= 640) ? 52 : 26;
    return s.height - bar - (s.height > s.width ? bar : 0);
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
            QImage frame(screen.width, viewHeight(screen), QImage::Format_RGB32);
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
    return failures == 0 ? 0 : 1;
}
