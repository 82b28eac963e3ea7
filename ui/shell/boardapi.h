#pragma once
// What the shell takes from the board presentation: the splash record, the two
// paintings of the view into an off-screen picture, and the pictures themselves.

#include <QImage>

#include "game/platform.h"

class GameController;
struct Splash;

Splash& theSplash();
bool initSplash(Splash& splash);
void releaseSplash(Splash& splash);
void advanceSplashFrame(Splash& splash);

// The splash screen or the game into a picture of the view's size in device pixels.
void paintSplashView(QImage& target, Splash& splash);
void paintGameView(QImage& target, GameController& game);

ImageHandle loadImage(const char* name);
void releaseImage(ImageHandle image);
