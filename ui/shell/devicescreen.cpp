#include "ui/shell/devicescreen.h"

#include "ui/board/geometry.h"

#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int MinScreenSide = 100;
constexpr int MaxScreenSide = 2000;
constexpr int MaxZoom = 16;
} // namespace

DeviceScreen& deviceScreen() {
    static DeviceScreen screen;
    return screen;
}

bool parseScreenSize(const char* text, int& width, int& height) {
    if (!text) return false;
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text, "%dx%d%c", &w, &h, &tail) != 2) return false;
    if (w < MinScreenSide || h < MinScreenSide || w > MaxScreenSide || h > MaxScreenSide) return false;
    width = w;
    height = h;
    return true;
}

bool parseZoom(const char* text, int& zoom) {
    if (!text) return false;
    int z = 0;
    char tail = 0;
    if (std::sscanf(text, "%d%c", &z, &tail) != 1 || z < 1 || z > MaxZoom) return false;
    zoom = z;
    return true;
}

// Room is left for the desktop's own panels and the window frame: the screen may use
// at most 85% of the available height and width. Of the factors that fit, the largest
// that makes a whole number of the monitor's own pixels per screen pixel wins, so that
// the pictures stay sharp on monitors that scale by 1.25 or 1.5 as well.
int zoomForMonitor(const QScreen* monitor, int width, int height) {
    if (!monitor || width <= 0 || height <= 0) return 1;
    const QRect area = monitor->availableGeometry();
    const int byWidth = area.width() * 85 / 100 / width;
    const int byHeight = area.height() * 85 / 100 / height;
    const int largest = std::clamp(std::min(byWidth, byHeight), 1, MaxZoom);
    const double ratio = monitor->devicePixelRatio();
    for (int zoom = largest; zoom >= 1; --zoom) {
        const double physical = zoom * ratio;
        if (std::abs(physical - std::round(physical)) < 0.01) return zoom;
    }
    return largest;
}

int systemBarHeight() {
    return systemBarHeight(deviceScreen().width, deviceScreen().height);
}

bool keepsTaskBar() {
    return keepsTaskBar(deviceScreen().width, deviceScreen().height);
}

int viewTop() {
    return keepsTaskBar() ? systemBarHeight() : 0;
}

int viewHeight() {
    return viewHeight(deviceScreen().width, deviceScreen().height);
}
