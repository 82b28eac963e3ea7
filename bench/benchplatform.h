#pragma once
// The platform of the paint benches: a screen of the given size and nothing
// else; pictures come from the program folder.

#include "game/platform.h"
#include "ui/board/images.h"

class BenchPlatform : public GamePlatform {
  public:
    int width = 480, height = 640;
    bool desktop = false; // the resizable desktop window instead of a device screen
    void repaint() override {}
    void sleepMs(int) override {}
    std::intptr_t startTimer(void*, int, int) override { return 1; }
    void stopTimer(std::intptr_t) override {}
    void showMessage(int, int) override {}
    bool askYesNo(int, int) override { return false; }
    bool isForeground() override { return true; }
    bool stylusButtonDown() override { return false; }
    bool hasMainWindow() override { return false; }
    void closeMainWindow() override {}
    void exitProcess(int) override {}
    ImageHandle loadImage(const char* name) override { return ::loadImage(name); }
    void releaseImage(ImageHandle image) override { ::releaseImage(image); }
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }
    bool desktopLayout() override { return desktop; }
};
