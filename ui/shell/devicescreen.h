#pragma once
// The handheld screen the window stands for. Its size is chosen on the command
// line (--screen WxH); --zoom N shows every device pixel as N x N desktop pixels.
// Everything the game computes is in device pixels.

class QScreen;

struct DeviceScreen {
    int width = 240; // device pixels
    int height = 320;
    int zoom = 0; // desktop pixels per device pixel; 0 = choose from the monitor
    // No emulated screen: a resizable desktop window whose board follows its size
    // (the program's default when neither --screen nor --zoom is given). The width
    // and height then only size the dialogs, as on a large screen.
    bool desktop = false;
};

DeviceScreen& deviceScreen();

// "240x320" into width and height; false (nothing changed) for anything else.
bool parseScreenSize(const char* text, int& width, int& height);
// A whole zoom factor from 1 to 16; false for anything else.
bool parseZoom(const char* text, int& zoom);

// The largest whole factor at which the screen fits comfortably on the monitor,
// at least 1.
int zoomForMonitor(const QScreen* monitor, int width, int height);

// The bar heights and the view's height of the chosen screen (ui/board/geometry.h
// holds the rule).
int systemBarHeight();
// Portrait screens keep the task bar; landscape and square screens hide it.
bool keepsTaskBar();
// The part of the screen the view gets.
int viewTop();
int viewHeight();
