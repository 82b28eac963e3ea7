// The command line's screen and zoom, and the zoom chosen for the monitor.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "tests/shell/qtapp.h"
#include "ui/shell/devicescreen.h"

namespace {

TEST(DeviceScreen, ScreenSizesAreReadOrRefused) {
    struct Case {
        const char* text;
        bool accepted;
        int width, height;
    };
    const Case cases[] = {
        {"240x320", true, 240, 320}, {"640x480", true, 640, 480}, {"176x220", true, 176, 220},
        {"240", false, 0, 0},        {"240x", false, 0, 0},       {"x320", false, 0, 0},
        {"240x320x2", false, 0, 0},  {"240x320 ", false, 0, 0},   {"0x0", false, 0, 0},
        {"-240x320", false, 0, 0},   {"99999x320", false, 0, 0},  {"", false, 0, 0},
        {"240X320", false, 0, 0},
    };
    for (const Case& c : cases) {
        int width = 7, height = 9;
        EXPECT_EQ(parseScreenSize(c.text, width, height), c.accepted) << c.text;
        EXPECT_EQ(width, c.accepted ? c.width : 7) << c.text;
        EXPECT_EQ(height, c.accepted ? c.height : 9) << c.text;
    }
    int width = 1, height = 1;
    EXPECT_FALSE(parseScreenSize(nullptr, width, height));
}

TEST(DeviceScreen, ZoomIsAWholeFactor) {
    const struct {
        const char* text;
        bool accepted;
        int zoom;
    } cases[] = {{"1", true, 1},   {"3", true, 3},    {"16", true, 16},  {"0", false, 0},
                 {"17", false, 0}, {"2.5", false, 0}, {"two", false, 0}, {"", false, 0}};
    for (const auto& c : cases) {
        int zoom = 5;
        EXPECT_EQ(parseZoom(c.text, zoom), c.accepted) << c.text;
        EXPECT_EQ(zoom, c.accepted ? c.zoom : 5) << c.text;
    }
}

TEST(DeviceScreen, ChosenZoomFitsTheMonitor) {
    ensureApplication();
    const QScreen* monitor = QGuiApplication::primaryScreen();
    ASSERT_NE(monitor, nullptr);
    const QRect area = monitor->availableGeometry();
    for (const QSize& screen : {QSize(240, 320), QSize(640, 480), QSize(176, 220), QSize(100, 100)}) {
        const int zoom = zoomForMonitor(monitor, screen.width(), screen.height());
        EXPECT_GE(zoom, 1);
        if (zoom > 1) {
            EXPECT_LE(screen.width() * zoom, area.width());
            EXPECT_LE(screen.height() * zoom, area.height());
        }
        EXPECT_GE(zoomForMonitor(monitor, screen.width() / 2, screen.height() / 2), zoom);
    }
    EXPECT_EQ(zoomForMonitor(nullptr, 240, 320), 1);
}

} // namespace
