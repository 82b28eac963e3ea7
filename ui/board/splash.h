#pragma once
// The splash screen: a picture and a ten-frame animation shown at start-up.
// The main window's timer advances the frames; the view paints it while the
// splash is showing.

#include <QImage>
#include <QPainter>

#include "game/platform.h"

constexpr int SplashFrameCount = 10;
constexpr int SplashFrameWidth = 150;
constexpr int SplashFrameHeight = 120;

struct Splash {
    int splashFrame;             // current animation frame 0..9
    ImageHandle splashImage;     // "Splash\Splash.bmp"
    ImageHandle animImage;       // "Splash\Anim.bmp": the frames stacked vertically
    int frameX, frameY;          // where a frame is drawn
    int frameWidth, frameHeight; // 150 x 120
    int pictureX, pictureY;      // where the splash picture is drawn
};

// The one splash record of the program.
Splash& theSplash();

// Frame 0 and the placement for a screen of width x height.
void placeSplash(Splash& splash, int width, int height);
// Loads both pictures for the screen class and places them for the screen.
// False when either picture is missing (both are then released); the caller
// tells the user and ends the program.
bool initSplash(Splash& splash, int width, int height, int screenType);
// The same for the game's screen: its platform's metrics and current layout.
bool initSplash(Splash& splash);
void releaseSplash(Splash& splash);
// The next frame, back to 0 after the last.
void advanceSplashFrame(Splash& splash);

// The picture opaque at its place, then the current frame of the animation.
void paintSplash(QPainter& painter, const Splash& splash);
// The splash screen into a view picture: white, then paintSplash.
void paintSplashView(QImage& target, Splash& splash);

// The desktop window: the large screen's splash (480 x 640) centred in a view of
// width x height logical pixels, made smaller when the view is.
constexpr int DesktopSplashWidth = 480;
constexpr int DesktopSplashHeight = 640;
void paintDesktopSplash(QImage& target, const Splash& splash, int width, int height);
