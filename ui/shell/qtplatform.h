#pragma once
// The game controller's platform on Qt: the view, its timers, message boxes,
// pictures and the emulated screen.

#include "game/platform.h"

class CMainFrame;
class CTaviskView;

class QtPlatform : public GamePlatform {
  public:
    void repaint() override;
    void sleepMs(int milliseconds) override;
    void serveEngineNotifications() override;
    std::intptr_t startTimer(void* view, int identifier, int periodMs) override;
    void stopTimer(std::intptr_t handle) override;
    void showMessage(int message, int language) override;
    bool askYesNo(int message, int language) override;
    bool isForeground() override;
    bool stylusButtonDown() override;
    bool hasMainWindow() override;
    void closeMainWindow() override;
    void exitProcess(int code) override;
    ImageHandle loadImage(const char* name) override;
    void releaseImage(ImageHandle image) override;
    int screenWidth() override;
    int screenHeight() override;
    bool desktopLayout() override;
};

QtPlatform& qtPlatform();

// The main window and its view while they exist; null before and after.
extern CMainFrame* theMainFrame;
CTaviskView* theView();
