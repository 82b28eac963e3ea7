// The pictures of the program folder against the board layout of every screen
// class, the loading rules, and the splash screen.

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "game/gamefiles.h"
#include "game/skinfiles.h"
#include "tests/board/board_fixture.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "ui/board/splash.h"

namespace {

struct ScreenCase {
    int width, height;
};
const ScreenCase everyScreen[] = {{240, 320}, {480, 640}, {320, 240}, {240, 240},
                                  {176, 220}, {240, 200}, {640, 480}};

// Opaque pixels in a sprite cell.
int coverage(const QImage& sheet, const QRect& cell) {
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) n += !isKey(sheet.pixel(x, y));
    return n;
}

} // namespace

// Every screen class, both styles, every skin and both isometric views: the
// pictures load, have the sizes the layout draws them with, and every sprite
// cell holds a piece or a marker.
TEST_F(BoardTest, PicturesFitTheLayoutOfEveryScreen) {
    for (const ScreenCase& s : everyScreen) {
        for (int style = 0; style < 5; ++style) {
            const bool iso = style >= 3;
            show(s.width, s.height, iso, iso ? 0 : style, style == 4 ? 1 : 0);
            const BoardGeometry& g = game().geometry;
            const QImage& board = game().boardImage->picture;
            const QImage& pieces = game().piecesImage->picture;
            const QImage& markers = game().selectionImage->picture;
            SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " style " << style);
            const int views = iso ? 4 : 1;
            EXPECT_EQ(pieces.size(), QSize(12 * g.pieceWidth, views * g.pieceHeight));
            EXPECT_EQ(markers.size(), QSize(3 * g.markerWidth, g.markerHeight));
            if (iso) {
                // The board picture holds the diamond and stays within the screen's board area.
                int x, y;
                cellPosition(game(), 7, 7, x, y);
                EXPECT_GE(board.width() + g.boardLeft, x + g.cellWidth - 1);
                cellPosition(game(), 0, 7, x, y);
                EXPECT_GE(board.height() + g.boardTop, y + g.cellHeight);
                EXPECT_LE(board.height(), g.boardHeight + 16);
            } else {
                EXPECT_EQ(board.size(), QSize(2 * g.squareSize, g.squareSize));
            }
            for (int view = 0; view < views; ++view)
                for (int i = 0; i < 12; ++i) {
                    const QRect cell(i * g.pieceWidth, view * g.pieceHeight, g.pieceWidth, g.pieceHeight);
                    EXPECT_GT(coverage(pieces, cell), g.pieceWidth * g.pieceHeight / 6) << "piece " << i;
                }
            for (int i = 0; i < 3; ++i)
                EXPECT_GT(coverage(markers, QRect(i * g.markerWidth, 0, g.markerWidth, g.markerHeight)), 4);
        }
    }
}

// A picture is taken only from a file that begins with "BM" and reads as a
// picture; pure white becomes transparent in its sprite form.
TEST_F(BoardTest, LoadImageChecksTheFile) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavisk-board-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "Skin1");
    const std::string saved = gameFolder();
    setGameFolder(folder.string());

    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(1, 0, qRgb(10, 20, 30));
    ASSERT_TRUE(picture.save(QString::fromStdString((folder / "Skin1" / "good.bmp").string()), "BMP"));
    ASSERT_TRUE(picture.save(QString::fromStdString((folder / "Skin1" / "png.bmp").string()), "PNG"));
    auto write = [&](const char* name, const char* bytes, size_t n) {
        std::FILE* f = std::fopen((folder / "Skin1" / name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes, 1, n, f);
        std::fclose(f);
    };
    write("short.bmp", "BM", 2);
    write("header.bmp", "BM\0\0\0\0\0\0\0\0\0\0\0\0garbage", 21);

    ImageHandle good = loadImage("Skin1\\good.bmp", ScreenQvgaPortrait);
    ASSERT_NE(good, nullptr);
    int width = 0, height = 0;
    imageSize(good, width, height);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(qAlpha(good->sprite.pixel(0, 0)), 0);
    EXPECT_EQ(good->sprite.pixel(1, 0), qRgb(10, 20, 30));
    EXPECT_EQ(good->picture.pixel(0, 0), qRgb(255, 255, 255));
    releaseImage(good);

    for (const char* name :
         {"Skin1\\png.bmp", "Skin1\\short.bmp", "Skin1\\header.bmp", "Skin1\\missing.bmp", ".bmp"})
        EXPECT_EQ(loadImage(name, ScreenQvgaPortrait), nullptr) << name;
    // The VGA family looks in its own folder.
    EXPECT_EQ(loadImage("Skin1\\good.bmp", ScreenVga), nullptr);
    EXPECT_STREQ(pictureFamilyFolder(ScreenVgaLandscape), "VGA");
    EXPECT_STREQ(pictureFamilyFolder(ScreenSquare), "");

    setGameFolder(saved);
    std::filesystem::remove_all(folder);
}

// A missing picture is reported by loadSkin and leaves the images held before.
TEST_F(BoardTest, MissingSkinPictureFailsTheLoad) {
    show(240, 320, false);
    const std::string saved = gameFolder();
    setGameFolder((std::filesystem::temp_directory_path() / "tavisk-board-nothing-here").string());
    EXPECT_FALSE(game().loadSkin(1));
    setGameFolder(saved);
}

// Placement by screen size, the ten frames, and the picture and frame as painted.
TEST_F(BoardTest, SplashPlacementFramesAndPaint) {
    struct Case {
        int width, height;
        int frameX, frameY, pictureX, pictureY;
    };
    const Case cases[] = {{240, 320, 30, 113, -40, -25},  {240, 240, 30, 113, -40, -25},
                          {320, 240, 70, 113, 0, -25},    {176, 220, -2, 108, -72, -30},
                          {480, 640, 150, 191, -80, -50}, {640, 480, 230, 191, 0, -50},
                          {320, 480, 30, 113, -40, -25}};
    for (const Case& c : cases) {
        Splash splash{};
        placeSplash(splash, c.width, c.height);
        EXPECT_EQ(splash.frameX, c.frameX) << c.width << "x" << c.height;
        EXPECT_EQ(splash.frameY, c.frameY) << c.width << "x" << c.height;
        EXPECT_EQ(splash.pictureX, c.pictureX) << c.width << "x" << c.height;
        EXPECT_EQ(splash.pictureY, c.pictureY) << c.width << "x" << c.height;
    }

    for (const ScreenCase& s : {ScreenCase{240, 320}, ScreenCase{640, 480}}) {
        BoardGeometry g{};
        layoutBoard(g, s.width, s.height, 0);
        Splash splash{};
        ASSERT_TRUE(initSplash(splash, s.width, s.height, g.screenType));
        EXPECT_EQ(splash.splashFrame, 0);
        int w, h;
        imageSize(splash.animImage, w, h);
        EXPECT_EQ(w, SplashFrameWidth);
        EXPECT_EQ(h, SplashFrameHeight * SplashFrameCount);
        for (int i = 0; i < 10; ++i) advanceSplashFrame(splash);
        EXPECT_EQ(splash.splashFrame, 0);
        for (int i = 0; i < 3; ++i) advanceSplashFrame(splash);

        QImage view(s.width, s.height, QImage::Format_RGB32);
        paintSplashView(view, splash);
        const QImage& picture = splash.splashImage->picture;
        const QImage& anim = splash.animImage->picture;
        // The picture where the frame does not cover it, and frame 3 in the frame's place.
        EXPECT_EQ(view.pixel(5, 5), picture.pixel(5 - splash.pictureX, 5 - splash.pictureY));
        int frameDiffers = 0;
        for (int y = 0; y < SplashFrameHeight; ++y)
            for (int x = 0; x < SplashFrameWidth; ++x)
                frameDiffers += view.pixel(splash.frameX + x, splash.frameY + y) !=
                                anim.pixel(x, 3 * SplashFrameHeight + y);
        EXPECT_EQ(frameDiffers, 0);
        releaseSplash(splash);
        EXPECT_EQ(splash.splashImage, nullptr);
    }

    const std::string saved = gameFolder();
    setGameFolder((std::filesystem::temp_directory_path() / "tavisk-board-nothing-here").string());
    Splash missing{};
    EXPECT_FALSE(initSplash(missing, 240, 320, ScreenQvgaPortrait));
    EXPECT_EQ(missing.splashImage, nullptr);
    EXPECT_EQ(missing.animImage, nullptr);
    setGameFolder(saved);
}

// One file name serves screen classes of different sizes through their families.
TEST_F(BoardTest, SkinFileNamesAndFamilies) {
    char name[64];
    boardImageName(name, sizeof name, 1, ScreenQvgaLandscape);
    ImageHandle landscape = loadImage(name, ScreenQvgaLandscape);
    ImageHandle vgaLandscape = loadImage(name, ScreenVgaLandscape);
    ASSERT_NE(landscape, nullptr);
    ASSERT_NE(vgaLandscape, nullptr);
    // One file name, two sizes: 26-pixel tiles on QVGA, 52 on VGA.
    EXPECT_EQ(landscape->picture.size(), QSize(52, 26));
    EXPECT_EQ(vgaLandscape->picture.size(), QSize(104, 52));
    releaseImage(landscape);
    releaseImage(vgaLandscape);
}
