#include "ui/board/splash.h"

#include <algorithm>

#include "game/controller.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"

namespace {

// Placement by screen size, tested in this order; the first row whose width
// matches decides, and a matching width with another height keeps the default.
struct SplashPlacement {
    int width, height;
    int frameX, frameY, pictureX, pictureY;
};
constexpr SplashPlacement defaultPlacement = {0, 0, 30, 113, -40, -25};
constexpr SplashPlacement placements[] = {
    {320, 240, 70, 113, 0, -25},
    {176, 220, -2, 108, -72, -30},
    {480, 640, 150, 191, -80, -50},
    {640, 480, 230, 191, 0, -50},
};

} // namespace

Splash& theSplash() {
    static Splash splash{};
    return splash;
}

void placeSplash(Splash& splash, int width, int height) {
    SplashPlacement chosen = defaultPlacement;
    for (const SplashPlacement& p : placements)
        if (p.width == width) {
            if (p.height == height) chosen = p;
            break;
        }
    splash.splashFrame = 0;
    splash.frameX = chosen.frameX;
    splash.frameY = chosen.frameY;
    splash.pictureX = chosen.pictureX;
    splash.pictureY = chosen.pictureY;
    splash.frameWidth = SplashFrameWidth;
    splash.frameHeight = SplashFrameHeight;
}

bool initSplash(Splash& splash, int width, int height, int screenType) {
    releaseSplash(splash);
    splash.splashImage = loadImage("Splash\\Splash.bmp", screenType);
    splash.animImage = loadImage("Splash\\Anim.bmp", screenType);
    placeSplash(splash, width, height);
    if (!splash.splashImage || !splash.animImage) {
        releaseSplash(splash);
        return false;
    }
    return true;
}

bool initSplash(Splash& splash) {
    GameController& game = gameController();
    int width = game.platform ? game.platform->screenWidth() : 240;
    int height = game.platform ? game.platform->screenHeight() : 320;
    // The desktop window shows the large screen's splash, centred (see desktopSplashArea).
    if (game.geometry.screenType == ScreenDesktop) {
        width = DesktopSplashWidth;
        height = DesktopSplashHeight;
    }
    return initSplash(splash, width, height, game.geometry.screenType);
}

void releaseSplash(Splash& splash) {
    releaseImage(splash.splashImage);
    releaseImage(splash.animImage);
    splash.splashImage = nullptr;
    splash.animImage = nullptr;
}

void advanceSplashFrame(Splash& splash) {
    splash.splashFrame += 1;
    if (splash.splashFrame > SplashFrameCount - 1) splash.splashFrame = 0;
}

void paintSplash(QPainter& painter, const Splash& splash) {
    if (splash.splashImage) painter.drawImage(splash.pictureX, splash.pictureY, splash.splashImage->picture);
    if (splash.animImage)
        painter.drawImage(splash.frameX, splash.frameY, splash.animImage->picture, 0,
                          splash.frameHeight * splash.splashFrame, splash.frameWidth, splash.frameHeight);
}

void paintSplashView(QImage& target, Splash& splash) {
    target.fill(Qt::white);
    QPainter painter(&target);
    paintSplash(painter, splash);
}

void paintDesktopSplash(QImage& target, const Splash& splash, int width, int height) {
    target.fill(Qt::white);
    QPainter painter(&target);
    const double scale =
        std::min({1.0, double(width) / DesktopSplashWidth, double(height) / DesktopSplashHeight});
    painter.translate((width - DesktopSplashWidth * scale) / 2, (height - DesktopSplashHeight * scale) / 2);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    paintSplash(painter, splash);
}
