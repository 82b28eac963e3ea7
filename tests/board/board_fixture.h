#pragma once
// A game screen rendered off-screen: the controller on a platform that only
// reports the screen size and loads the pictures of the program folder, the
// engine's game set up from moves or a FEN, and helpers that compare painted
// pixels with the sprites that should be there.

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <initializer_list>

#include "game/controller.h"

class PicturePlatform : public GamePlatform {
  public:
    int width = 240, height = 320;
    void repaint() override {}
    void sleepMs(int) override {}
    std::intptr_t startTimer(void*, int, int) override { return ++timersStarted; }
    void stopTimer(std::intptr_t) override {}
    void showMessage(int, int) override {}
    bool askYesNo(int, int) override { return false; }
    bool isForeground() override { return true; }
    bool stylusButtonDown() override { return false; }
    bool hasMainWindow() override { return false; }
    void closeMainWindow() override {}
    void exitProcess(int) override {}
    ImageHandle loadImage(const char* name) override;
    void releaseImage(ImageHandle image) override;
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }
    bool desktopLayout() override { return desktop; }
    int timersStarted = 0;
    bool desktop = false;
};

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Lays out a screen and loads the pictures of the style; fails the test if one is missing.
    void show(int width, int height, bool isometric, int skin = 0, int orientation = 0);
    // The engine's game from the initial position with these moves, or from a FEN.
    void play(std::initializer_list<const char*> moves);
    void setPosition(const char* fen);
    // The whole game view, as the view paints it, at the view's real height.
    QImage paint();
    // The desktop window's view of width x height logical pixels, and its paint at a
    // device pixel ratio.
    void showDesktop(int width, int height, bool isometric, int skin = 0, int orientation = 0);
    QImage paintDesktop(double ratio);

    GameController& game();
    // Sprite sheet cells of the current pictures.
    QRect pieceCell(int pieceCode) const;
    QRect markerCell(int marker) const;
    void cell(const char* square, int& x, int& y) const;
    void piece(const char* square, int& x, int& y) const;
    // Top-left corner of a marker on the square.
    void markerAt(const char* square, int& x, int& y) const;

    PicturePlatform platform;
};

// Square (column, row) of a name such as "e2".
int columnOf(const char* square);
int rowOf(const char* square);

// Pixels of the sprite's cell that are not transparent (not pure white), and how
// many of them the painted picture shows unchanged at (x, y).
struct SpriteMatch {
    int opaque = 0;
    int shown = 0;
};
SpriteMatch matchSprite(const QImage& painted, int x, int y, const QImage& sheet, const QRect& cell);
bool isKey(QRgb pixel);
// The game has left the opening book: no opening name in the status area.
void forgetOpeningName();
// The game is in the book, in the opening of this name.
void setOpeningName(const char* name);
