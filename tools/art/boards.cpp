// Board tiles of the three flat skins and the isometric board picture.
#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>

#include "art.h"

namespace art {

namespace {

QRgb mix(QColor a, QColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return qRgb(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
}

// Wood: long fibres along x, bent by low-frequency noise, with growth rings that
// darken in narrow bands. (u, v) are in tile units; one tile is 1 x 1.
double woodGrain(double u, double v, int seed) {
    const double warp = fractalNoise(u * 1.5, v * 4.0, seed, 3) * 2.2;
    const double rings = 0.5 + 0.5 * std::sin((v * 7.0 + warp) * 3.14159);
    const double fibre = fractalNoise(u * 3.0, v * 40.0, seed + 7, 2);
    return 0.55 * std::pow(rings, 3.0) + 0.45 * fibre;
}

// Paints a size x size tile; the grain runs across for light tiles, down for dark ones,
// so that neighbouring squares read as separate pieces of wood.
QImage woodTile(int size, bool light, int seed) {
    const QColor pale = light ? QColor(236, 204, 156) : QColor(160, 104, 62);
    const QColor deep = light ? QColor(204, 160, 104) : QColor(104, 60, 32);
    QImage tile(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < size; ++x) {
            double u = (x + 0.5) / size, v = (y + 0.5) / size;
            if (!light) std::swap(u, v);
            line[x] = mix(pale, deep, woodGrain(u, v, seed));
        }
    }
    return tile;
}

QImage blueTile(int size, bool light) {
    const QColor a = light ? QColor(222, 232, 242) : QColor(92, 128, 176);
    const QColor b = light ? QColor(198, 214, 230) : QColor(70, 104, 152);
    QImage tile(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            // A soft cloud and a faint sheen from the upper left.
            const double cloud = fractalNoise(u * 3 + (light ? 0 : 9), v * 3, 41, 4);
            line[x] = mix(a, b, cloud * 0.8 + (u + v) * 0.15);
        }
    }
    return tile;
}

// Printed-diagram style: plain paper and fine diagonal hatching.
QImage diagramTile(int size, bool light) {
    QImage tile(size, size, QImage::Format_RGB32);
    const QColor paper(250, 250, 248);
    tile.fill(paper);
    if (light) return tile;
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    const double spacing = std::max(3.0, size / 7.0);
    p.setPen(QPen(QColor(72, 72, 72), std::max(1.0, size / 28.0)));
    // Lines run at 45 degrees and continue across the tile edge without a seam.
    for (double d = -size; d < 2 * size; d += spacing) p.drawLine(QPointF(d, size), QPointF(d + size, 0));
    return tile;
}

} // namespace

QImage boardTile(int skin, int size, bool light) {
    switch (skin) {
    case 0:
        return woodTile(size, light, light ? 11 : 23);
    case 1:
        return blueTile(size, light);
    default:
        return diagramTile(size, light);
    }
}

namespace {

// The board plane's corners in picture pixels: u runs up-right, v down-right (in squares).
struct IsoFrame {
    double wc, hc, depth;
    QPointF left, top, right, bottom;
};

IsoFrame isoFrame(const IsoLayout& iso) {
    IsoFrame f;
    f.wc = iso.cellWidth;
    f.hc = iso.cellHeight;
    const double x0 = iso.originX;
    const double y0 = iso.originY + iso.boardHeight / 2 - f.hc / 2; // y of the left corner
    f.depth = std::max(3.0, f.hc * 0.4);
    auto at = [&](double u, double v) { return QPointF(x0 + (u + v) * f.wc / 2, y0 + (v - u) * f.hc / 2); };
    f.left = at(0, 0);
    f.top = at(8, 0);
    f.right = at(8, 8);
    f.bottom = at(0, 8);
    return f;
}

double isoFrameWidth(const IsoLayout& iso) {
    return std::max(0.8, iso.cellHeight / 14.0);
}

} // namespace

QSize isoBoardSize(const IsoLayout& iso) {
    const IsoFrame f = isoFrame(iso);
    return QSize(std::max(int(std::ceil(f.right.x())) + 1, 1), int(std::ceil(f.bottom.y() + f.depth + 3)));
}

void paintIsoBoard(QPainter& p, const IsoLayout& iso, bool alternate, int textureSize) {
    const int n = std::max(24, textureSize);
    paintIsoBoard(p, iso, alternate, boardTile(0, n, true), boardTile(0, n, false));
}

namespace {

// Where the lines through a, b and through c, d meet.
QPointF crossing(QPointF a, QPointF b, QPointF c, QPointF d) {
    const QPointF r = b - a, q = d - c;
    const double det = r.x() * q.y() - r.y() * q.x();
    if (std::abs(det) < 1e-12) return a;
    const double t = ((c.x() - a.x()) * q.y() - (c.y() - a.y()) * q.x()) / det;
    return a + r * t;
}

// The part of the table's shadow that stays in sight below and right of the board's
// sides: what lies more than two pixels inside them is painted over. shadow is the
// whole shadow (left + depth + offset, bottom + depth + offset, right + depth +
// offset, right, left); the part comes as three convex pieces, which the painter
// fills much faster than one bent band.
std::array<QPolygonF, 3> visibleShadow(const QPolygonF& shadow, QPointF left, QPointF bottom, QPointF right,
                                       QPointF down) {
    const QPointF up(0, 2.0), inward(2.0, 0);
    // The sides' lower edge two pixels up, and the right side's edge two pixels in.
    const QPointF bottomIn = bottom + down - up;
    const QPointF rightTop = right - inward;
    const QPointF rightIn = crossing(rightTop, rightTop + down, bottomIn, right + down - up);
    const QPointF leftIn = crossing(left, shadow[0], bottomIn, left + down - up);
    return {QPolygonF({leftIn, shadow[0], shadow[1], bottomIn}),
            QPolygonF({bottomIn, shadow[1], shadow[2], rightIn}),
            QPolygonF({rightTop, rightIn, shadow[2], right})};
}

} // namespace

void paintIsoBoardBase(QPainter& p, const IsoLayout& iso, IsoShadow shadowArea) {
    const IsoFrame f = isoFrame(iso);
    const double depth = f.depth;
    const QPointF left = f.left, right = f.right, bottom = f.bottom;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    // A soft shadow on the table, then the two visible sides of the board.
    const QPointF down(0, depth);
    for (int i = 3; i >= 1; --i) {
        QPolygonF shadow({left + down + QPointF(i, i * 0.6), bottom + down + QPointF(i, i * 0.6),
                          right + down + QPointF(i, i * 0.6), right, left});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 18));
        if (shadowArea == IsoShadow::Visible) {
            const std::array<QPolygonF, 3> pieces = visibleShadow(shadow, left, bottom, right, down);
            for (int k = 0; k < 3; ++k) {
                // A long slanted band costs as much as its bounding box: the two under the
                // sides are cut in short pieces (edge to edge, so the coverage adds up as one).
                const QPolygonF& piece = pieces[k];
                const int cuts = k < 2 ? 16 : 1;
                auto along = [](QPointF a, QPointF b, double t) { return a + (b - a) * t; };
                for (int c = 0; c < cuts; ++c) {
                    const double t0 = double(c) / cuts, t1 = double(c + 1) / cuts;
                    p.drawPolygon(QPolygonF({along(piece[0], piece[3], t0), along(piece[1], piece[2], t0),
                                             along(piece[1], piece[2], t1), along(piece[0], piece[3], t1)}));
                }
            }
        } else {
            p.drawPolygon(shadow);
        }
    }
    QLinearGradient leftSide(left, bottom);
    leftSide.setColorAt(0, QColor(150, 94, 52));
    leftSide.setColorAt(1, QColor(120, 72, 38));
    p.setBrush(leftSide);
    p.setPen(QPen(QColor(70, 40, 20), 0.8));
    p.drawPolygon(QPolygonF({left, bottom, bottom + down, left + down}));
    QLinearGradient rightSide(bottom, right);
    rightSide.setColorAt(0, QColor(96, 56, 28));
    rightSide.setColorAt(1, QColor(78, 44, 22));
    p.setBrush(rightSide);
    p.drawPolygon(QPolygonF({bottom, right, right + down, bottom + down}));
    p.restore();
}

namespace {

// The frame a pen of this width with bevelled joins strokes along a convex
// quadrilateral (corners clockwise on screen), filled as one piece per side. The
// pieces overlap at the corners, so no seam shows; antialiasing a few small
// polygons costs a third of stroking the whole outline on a large picture.
void fillFrame(QPainter& p, const QPointF (&corner)[4], double width, const QColor& colour) {
    const double half = width / 2;
    auto outward = [](QPointF a, QPointF b) {
        const QPointF d = b - a;
        const double length = std::max(1e-9, std::hypot(d.x(), d.y()));
        return QPointF(d.y() / length, -d.x() / length);
    };
    QPointF outer[8], inner[4];
    for (int i = 0; i < 4; ++i) {
        const QPointF before = outward(corner[(i + 3) % 4], corner[i]), after = outward(corner[i], corner[(i + 1) % 4]);
        outer[2 * i] = corner[i] + before * half;
        outer[2 * i + 1] = corner[i] + after * half;
        // Where the two sides' inner edges meet.
        const QPointF sum = before + after;
        inner[i] = corner[i] - sum * (half / std::max(1e-9, QPointF::dotProduct(before, sum)));
    }
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (int i = 0; i < 4; ++i)
        p.drawPolygon(QPolygonF({outer[2 * i], outer[2 * i + 1], outer[(2 * i + 2) % 8], outer[(2 * i + 3) % 8],
                                 inner[(i + 1) % 4], inner[i]}));
    p.restore();
}

} // namespace

QImage isoBoardPlane(const QImage& lightTile, const QImage& darkTile, bool alternate) {
    // A flat wood board of 8 x 8 tiles, mapped onto the diamond when painted.
    const int n = std::max(1, std::min(lightTile.width(), darkTile.width()));
    QImage plane(8 * n, 8 * n, QImage::Format_RGB32);
    QPainter q(&plane);
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) {
            const bool light = ((u + v) % 2 == 0) != alternate;
            // Shift the texture per square so the squares do not repeat exactly.
            const QImage& tile = light ? lightTile : darkTile;
            const int shift = (u * 7 + v * 3) % n;
            q.drawImage(QRect(u * n, v * n, n - shift, n), tile, QRect(shift, 0, n - shift, n));
            q.drawImage(QRect(u * n + n - shift, v * n, shift, n), tile, QRect(0, 0, shift, n));
        }
    return plane;
}

void paintIsoBoardTop(QPainter& p, const IsoLayout& iso, bool alternate, const QImage& lightTile,
                      const QImage& darkTile, IsoFrameOutline outline) {
    paintIsoBoardTop(p, iso, isoBoardPlane(lightTile, darkTile, alternate), outline);
}

void paintIsoBoardTop(QPainter& p, const IsoLayout& iso, const QImage& plane, IsoFrameOutline outline) {
    paintIsoBoardSquares(p, iso, plane, outline);
    paintIsoBoardFrame(p, iso, outline);
}

void paintIsoBoardSquares(QPainter& p, const IsoLayout& iso, const QImage& plane, IsoFrameOutline outline) {
    const IsoFrame f = isoFrame(iso);
    const double wc = f.wc, hc = f.hc;
    const int n = std::max(1, plane.width() / 8);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // The filled frame, two device pixels or more on each side of the diamond's
    // edge, covers the plane's edge whole: its antialiasing would only cost time.
    if (outline == IsoFrameOutline::Filled && isoFrameWidth(iso) / 2 * p.deviceTransform().m11() >= 2.0)
        p.setRenderHint(QPainter::Antialiasing, false);
    // The plane mapped onto the diamond; combined with the painter's own transform, so
    // a scaled painter paints the same board larger.
    p.setTransform(
        QTransform(wc / (2.0 * n), -hc / (2.0 * n), wc / (2.0 * n), hc / (2.0 * n), f.left.x(), f.left.y()),
        true);
    p.drawImage(0, 0, plane);
    p.restore();
}

void paintIsoBoardFrame(QPainter& p, const IsoLayout& iso, IsoFrameOutline outline) {
    const IsoFrame f = isoFrame(iso);
    const QPointF left = f.left, top = f.top, right = f.right, bottom = f.bottom;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor frame(60, 34, 16);
    const double frameWidth = isoFrameWidth(iso);
    if (outline == IsoFrameOutline::Filled) {
        fillFrame(p, {left, top, right, bottom}, frameWidth, frame);
    } else {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(frame, frameWidth));
        p.drawPolygon(QPolygonF({left, top, right, bottom}));
    }
    // A little light on the front edges gives the top its thickness.
    p.setPen(QPen(QColor(210, 170, 120), 0.8));
    p.drawLine(left + QPointF(0.5, 0.8), bottom + QPointF(0, 0.8));
    p.restore();
}

void paintIsoBoard(QPainter& p, const IsoLayout& iso, bool alternate, const QImage& lightTile,
                   const QImage& darkTile) {
    paintIsoBoardBase(p, iso);
    paintIsoBoardTop(p, iso, alternate, lightTile, darkTile, IsoFrameOutline::Stroked);
}

QImage isoBoard(const IsoLayout& iso, bool alternate) {
    QImage picture(isoBoardSize(iso), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    paintIsoBoard(p, iso, alternate, iso.cellWidth);
    return picture;
}

} // namespace art
