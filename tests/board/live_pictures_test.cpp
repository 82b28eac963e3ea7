// The board's pictures painted at run time: sizes and device pixel ratios,
// transparent edges and opaque pieces, and the same pictures as the BMP files
// of the emulated screens when painted at their size.

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/core/position.h"
#include "tests/board/board_fixture.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "tools/art/art.h"
#include "ui/board/livepictures.h"

namespace {

int alphaAt(const QImage& image, double x, double y) {
    return qAlpha(image.pixel(int(x), int(y)));
}

// Device pixels that cover a logical length.
int covering(int logical, double dpr) {
    return int(std::ceil(logical * dpr - 1e-6));
}

// Mean colour of a picture, as one number per channel summed.
int meanColour(const QImage& image) {
    long long sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += qRed(p) + qGreen(p) + qBlue(p);
        }
    return int(sum / (image.width() * image.height()));
}

// A live piece against the same cell of a build-time sheet (pure white is the
// sheet's transparent colour): pixels whose coverage differs, and colours that
// differ by more than a few steps where both are covered.
int differingPixels(const QImage& live, const QImage& sheet, const QRect& cell) {
    const QImage argb = live.convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb l = argb.pixel(x, y), s = sheet.pixel(cell.x() + x, cell.y() + y);
            const bool liveCovered = qAlpha(l) >= 120, sheetCovered = (s & 0xFFFFFF) != 0xFFFFFF;
            if (liveCovered != sheetCovered) {
                ++differing;
            } else if (liveCovered && (std::abs(qRed(l) - qRed(s)) > 2 || std::abs(qGreen(l) - qGreen(s)) > 2 ||
                                       std::abs(qBlue(l) - qBlue(s)) > 2)) {
                ++differing;
            }
        }
    return differing;
}

} // namespace

// Two square sizes at ratios 1 and 2, flat (every skin) and isometric: each image
// has the device size of its logical box and carries the ratio; every piece is
// transparent at its corners and opaque in its body; light and dark squares differ;
// the markers show; the set is painted once and then kept.
TEST_F(BoardTest, LivePicturesAtAnySizeAndRatio) {
    for (const int cellPx : {40, 97, 200})
        for (const double dpr : {1.0, 2.0})
            for (int style = 0; style < 4; ++style) {
                const int iso = style == 3 ? 1 : 0;
                // And one large isometric board, whose frame is wide enough to hide the
                // squares' edge (painted without antialiasing then).
                if (cellPx == 200 && (!iso || dpr != 1.0)) continue;
                const LivePictures& art = livePictures(iso ? 0 : style, iso, cellPx, dpr);
                SCOPED_TRACE(testing::Message() << "cell " << cellPx << " dpr " << dpr << " style " << style);
                ASSERT_EQ(art.cellPx, cellPx);
                ASSERT_EQ(art.devicePixelRatio, dpr);
                EXPECT_EQ(&livePictures(iso ? 0 : style, iso, cellPx, dpr), &art);

                EXPECT_EQ(art.board.devicePixelRatio(), dpr);
                EXPECT_EQ(liveBoard(art, 3).devicePixelRatio(), dpr);
                if (iso) {
                    EXPECT_EQ(art.cellWidth, cellPx);
                    EXPECT_TRUE(art.cellHeight > cellPx / 3 && art.cellHeight < cellPx * 2 / 3 &&
                                art.cellHeight % 2 == 0);
                    // The diamond's corners lie inside the picture; outside the board it is clear.
                    EXPECT_GE(art.board.width(), covering(8 * art.cellWidth, dpr));
                    EXPECT_GE(art.board.height(), covering(art.boardCornerY + 4 * art.cellHeight, dpr));
                    EXPECT_EQ(art.boardCornerY, 4 * art.cellHeight);
                    EXPECT_EQ(alphaAt(art.board, 1, 1), 0);
                    // The middle of the top square and of the bottom square; the other
                    // view has the other colour there.
                    const int middle = int(4 * cellPx * dpr), top = int(0.5 * art.cellHeight * dpr);
                    EXPECT_EQ(alphaAt(art.board, middle, top), 255);
                    EXPECT_EQ(alphaAt(art.board, middle, 7.5 * art.cellHeight * dpr), 255);
                    EXPECT_GT(std::abs(meanColour(art.board.copy(middle - 2, top - 1, 5, 3)) -
                                       meanColour(liveBoard(art, 1).copy(middle - 2, top - 1, 5, 3))),
                              60);
                    EXPECT_TRUE(art.lightTile.isNull());
                    // Both views, painted in layers with the quicker frame, look as the
                    // board painted in one go with the stroked frame of the program
                    // folder's pictures; the turned one serves orientations 1 and 3.
                    EXPECT_EQ(&liveBoard(art, 1), &liveBoard(art, 3));
                    EXPECT_EQ(&liveBoard(art, 2), &art.board);
                    for (const bool turned : {false, true}) {
                        QImage whole(art.board.size(), QImage::Format_ARGB32_Premultiplied);
                        whole.fill(Qt::transparent);
                        QPainter p(&whole);
                        p.scale(dpr, dpr);
                        art::paintIsoBoard(p, liveIsoLayout(art.cellPx), turned, art.isoLightWood, art.isoDarkWood);
                        p.end();
                        const QImage& live = liveBoard(art, turned ? 1 : 0);
                        ASSERT_EQ(live.size(), whole.size());
                        int unlike = 0;
                        for (int y = 0; y < live.height(); ++y)
                            for (int x = 0; x < live.width(); ++x) {
                                const QRgb a = live.pixel(x, y), b = whole.pixel(x, y);
                                unlike += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))}) > 12;
                            }
                        // A few antialiased pixels at the bevelled corners.
                        EXPECT_LE(unlike, 16) << "turned " << turned;
                    }
                } else {
                    EXPECT_EQ(&liveBoard(art, 1), &art.board);
                    EXPECT_EQ(art.cellWidth, cellPx);
                    const int s = int(cellPx * dpr);
                    EXPECT_EQ(art.board.size(), QSize(8 * s, 8 * s));
                    EXPECT_EQ(art.lightTile.size(), QSize(s, s));
                    EXPECT_EQ(art.lightTile.devicePixelRatio(), dpr);
                    EXPECT_GT(meanColour(art.lightTile), meanColour(art.darkTile) + 60);
                    // a8 light, b8 dark, h1 light.
                    EXPECT_EQ(art.board.pixel(s / 2, s / 2), art.lightTile.pixel(s / 2, s / 2));
                    EXPECT_EQ(art.board.pixel(s + s / 2, s / 2), art.darkTile.pixel(s / 2, s / 2));
                    EXPECT_EQ(art.board.pixel(7 * s + s / 2, 7 * s + s / 2), art.lightTile.pixel(s / 2, s / 2));
                }

                EXPECT_GT(art.pieceWidth, cellPx / 3);
                EXPECT_LE(art.pieceWidth, cellPx);
                for (int view = 0; view < LiveViewCount; ++view)
                    for (int piece = 0; piece < LivePieceCount; ++piece) {
                        const QImage& image = art.pieces[view][piece];
                        SCOPED_TRACE(testing::Message() << "view " << view << " piece " << piece);
                        ASSERT_EQ(image.size(), QSize(covering(art.pieceWidth, dpr), covering(art.pieceHeight, dpr)));
                        EXPECT_EQ(image.devicePixelRatio(), dpr);
                        EXPECT_TRUE(image.hasAlphaChannel());
                        const int w = image.width() - 1, h = image.height() - 1;
                        EXPECT_EQ(alphaAt(image, 0, 0) + alphaAt(image, w, 0) + alphaAt(image, 0, h) +
                                      alphaAt(image, w, h),
                                  0);
                        // The body's middle, and for the isometric pieces the round foot.
                        const double bodyY = iso ? art.footY * 0.55 : art.pieceHeight * 0.5;
                        EXPECT_EQ(alphaAt(image, art.footX * dpr, bodyY * dpr), 255);
                        if (iso) {
                            EXPECT_EQ(alphaAt(image, art.footX * dpr, (art.footY - 1) * dpr), 255);
                        }
                    }
                // White pieces look from the other side of the isometric board.
                const QImage& whiteKnight = livePiece(art, WhiteKnight, 0);
                EXPECT_TRUE(whiteKnight.cacheKey() == art.pieces[iso ? 2 : 0][2].cacheKey());
                EXPECT_TRUE(livePiece(art, Empty, 0).isNull());
                EXPECT_TRUE(livePiece(art, Border, 0).isNull());
                EXPECT_TRUE(livePiece(art, -1, 0).isNull());
                EXPECT_TRUE(livePiece(art, 99, 0).isNull());

                for (int marker = 0; marker < LiveMarkerCount; ++marker) {
                    const QImage& image = art.markers[marker];
                    EXPECT_EQ(image.size(), QSize(covering(art.markerWidth, dpr), covering(art.markerHeight, dpr)));
                    EXPECT_EQ(image.devicePixelRatio(), dpr);
                    EXPECT_EQ(alphaAt(image, 0, 0), 0);
                }
                // The destination dot (or diamond) covers the middle of the square.
                const QImage& target = art.markers[LiveMarkerTarget];
                EXPECT_EQ(alphaAt(target, (art.cellWidth / 2.0 - art.markerOffsetX) * dpr,
                                  (art.cellHeight / 2.0 - art.markerOffsetY) * dpr),
                          255);
            }

    // Values out of range give a small, sensible set instead of a failure.
    const LivePictures& odd = livePictures(-4, 7, -30, std::nan(""));
    EXPECT_EQ(odd.skin, 0);
    EXPECT_EQ(odd.isometric, 1);
    EXPECT_EQ(odd.cellPx, 8);
    EXPECT_EQ(odd.devicePixelRatio, 1.0);
    EXPECT_FALSE(odd.pieces[0][0].isNull());
}

// One painter: the program's pieces and squares at the size of the large screens'
// BMP files are those files' pictures.
TEST_F(BoardTest, LivePicturesMatchTheProgramFolderPictures) {
    const ImageHandle flatSheet = loadImage("Skin1\\pieces.bmp", ScreenVga);
    const ImageHandle isoSheet = loadImage("Skin1\\iso_pieces.bmp", ScreenVga);
    const ImageHandle tiles = loadImage("Skin1\\board.bmp", ScreenVga);
    ASSERT_TRUE(flatSheet && isoSheet && tiles);

    const LivePictures flat = paintLivePictures(0, 0, 56, 1.0);
    ASSERT_EQ(flat.pieceWidth, 48);
    for (int piece = 0; piece < LivePieceCount; ++piece)
        EXPECT_LE(differingPixels(flat.pieces[0][piece], flatSheet->picture, QRect(piece * 48, 0, 48, 48)), 12)
            << "piece " << piece;
    EXPECT_EQ(flat.lightTile.convertToFormat(QImage::Format_RGB32), tiles->picture.copy(56, 0, 56, 56));
    EXPECT_EQ(flat.darkTile.convertToFormat(QImage::Format_RGB32), tiles->picture.copy(0, 0, 56, 56));

    const LivePictures iso = paintLivePictures(0, 1, 58, 1.0);
    ASSERT_EQ(QSize(iso.pieceWidth, iso.pieceHeight), QSize(31, 50));
    for (int view = 0; view < LiveViewCount; ++view)
        for (int piece = 0; piece < LivePieceCount; ++piece)
            EXPECT_LE(differingPixels(iso.pieces[view][piece], isoSheet->picture,
                                      QRect(piece * 31, view * 50, 31, 50)),
                      12)
                << "view " << view << " piece " << piece;
    // The desktop command bar's images are the program folder's button strip, painted sharp.
    const ImageHandle buttons = loadImage("Toolbar.bmp", ScreenQvgaPortrait);
    ASSERT_TRUE(buttons);
    for (int button = 0; button < 4; ++button)
        EXPECT_LE(differingPixels(art::buttonPicture(button, 16), buttons->picture, QRect(button * 16, 0, 16, 16)), 2)
            << "button " << button;
    for (ImageHandle image : {flatSheet, isoSheet, tiles, buttons}) releaseImage(image);
}
