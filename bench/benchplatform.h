#pragma once
// The platform of the paint benches: a screen of the given size and nothing
// else; pictures come from the program folder.

#include <QGuiApplication>

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

// The Qt application a paint bench needs, on the offscreen screen unless another
// is asked for.
struct BenchApplication {
    int argc = 1;
    char name[13] = "tavisk-bench";
    char* argv[2] = {name, nullptr};
    bool offscreen = (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qputenv("QT_QPA_PLATFORM", "offscreen"));
    QGuiApplication app{argc, argv};
};
