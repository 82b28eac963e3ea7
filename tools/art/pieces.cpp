// The chess pieces: silhouettes of our own design in a 100 x 100 box, painted flat
// for the 2D sets and shaded, standing on a round foot, for the isometric set.
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

#include "art.h"

namespace art {

namespace {

QPainterPath rect(double x0, double y0, double x1, double y1, double radius = 0) {
    QPainterPath p;
    p.addRoundedRect(QRectF(x0, y0, x1 - x0, y1 - y0), radius, radius);
    return p;
}
QPainterPath circle(double x, double y, double r) {
    QPainterPath p;
    p.addEllipse(QPointF(x, y), r, r);
    return p;
}
QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}
QPainterPath line(double x0, double y0, double x1, double y1) {
    QPainterPath p;
    p.moveTo(x0, y0);
    p.lineTo(x1, y1);
    return p;
}
// The flared skirt between a collar at y0 (half width w0) and the pedestal at y1 (half width w1).
QPainterPath skirt(double y0, double w0, double y1, double w1) {
    QPainterPath p;
    p.moveTo(50 - w0, y0);
    p.cubicTo(50 - w0, y0 + (y1 - y0) * 0.6, 50 - w1 + 4, y1 - 3, 50 - w1, y1);
    p.lineTo(50 + w1, y1);
    p.cubicTo(50 + w1 - 4, y1 - 3, 50 + w0, y0 + (y1 - y0) * 0.6, 50 + w0, y0);
    p.closeSubpath();
    return p;
}
QPainterPath pedestal() {
    return rect(20, 81, 80, 92, 3);
}

// The design of a piece, built from its parts (slow: path unions).
PieceShape designShape(PieceKind kind, bool small) {
    PieceShape s;
    s.baseTop = 82;
    if (small) {
        // Small sets: bolder tops, no inner lines; the silhouette alone tells the piece.
        switch (kind) {
        case Bishop: {
            QPainterPath mitre;
            mitre.moveTo(50, 16);
            mitre.cubicTo(63, 24, 71, 36, 68, 47);
            mitre.cubicTo(66, 55, 58, 59, 50, 59);
            mitre.cubicTo(42, 59, 34, 55, 32, 47);
            mitre.cubicTo(29, 36, 37, 24, 50, 16);
            s.body = circle(50, 11, 8)
                         .united(mitre)
                         .united(rect(33, 56, 67, 65, 3))
                         .united(skirt(63, 11, 82, 27))
                         .united(pedestal());
            return s;
        }
        case Knight: {
            PieceShape full = designShape(Knight, false);
            full.details = QPainterPath();
            full.dots = circle(37, 31, 4.5);
            return full;
        }
        case Queen:
            s.body = polygon({{30, 62},
                              {10, 22},
                              {30, 40},
                              {32, 12},
                              {43, 36},
                              {50, 6},
                              {57, 36},
                              {68, 12},
                              {70, 40},
                              {90, 22},
                              {70, 62}})
                         .united(rect(28, 57, 72, 66, 3))
                         .united(skirt(65, 16, 82, 29))
                         .united(pedestal());
            return s;
        case King: {
            QPainterPath dome;
            dome.moveTo(27, 61);
            dome.cubicTo(14, 44, 30, 28, 50, 35);
            dome.cubicTo(70, 28, 86, 44, 73, 61);
            dome.closeSubpath();
            s.body = rect(44, 0, 56, 36, 1)
                         .united(rect(33, 7, 67, 16, 1))
                         .united(dome)
                         .united(rect(27, 57, 73, 66, 3))
                         .united(skirt(65, 17, 82, 29))
                         .united(pedestal());
            return s;
        }
        default:
            break;
        }
        PieceShape full = designShape(kind, false);
        full.details = QPainterPath();
        return full;
    }
    switch (kind) {
    case Pawn:
        s.body = circle(50, 28, 13)
                     .united(polygon({{44, 38}, {56, 38}, {61, 57}, {39, 57}}))
                     .united(rect(33, 55, 67, 63, 3))
                     .united(skirt(62, 13, 82, 27))
                     .united(pedestal());
        s.details.addPath(line(35, 63, 65, 63));
        break;
    case Bishop: {
        QPainterPath mitre;
        mitre.moveTo(50, 18);
        mitre.cubicTo(61, 25, 69, 35, 67, 46);
        mitre.cubicTo(65, 54, 58, 58, 50, 58);
        mitre.cubicTo(42, 58, 35, 54, 33, 46);
        mitre.cubicTo(31, 35, 39, 25, 50, 18);
        s.body = circle(50, 12, 6.5)
                     .united(mitre)
                     .united(rect(34, 56, 66, 64, 3))
                     .united(skirt(63, 10, 82, 27))
                     .united(pedestal());
        s.details.addPath(line(44, 31, 57, 44));
        s.details.addPath(line(36, 64, 64, 64));
        break;
    }
    case Knight: {
        QPainterPath k;
        k.moveTo(22, 92);
        k.lineTo(80, 92);
        k.lineTo(80, 81);
        k.lineTo(74, 81);
        k.cubicTo(78, 64, 82, 40, 69, 24);
        k.cubicTo(65, 19, 61, 16, 58, 15);
        k.lineTo(56, 5);
        k.lineTo(48, 14);
        k.cubicTo(39, 16, 31, 22, 26, 32);
        k.cubicTo(22, 40, 17, 46, 13, 52);
        k.cubicTo(10, 57, 13, 63, 19, 64);
        k.cubicTo(25, 65, 30, 61, 35, 58);
        k.cubicTo(39, 56, 43, 54, 47, 52);
        k.cubicTo(41, 61, 33, 70, 30, 81);
        k.lineTo(22, 81);
        k.closeSubpath();
        s.body = k.united(pedestal());
        s.dots = circle(37, 30, 3.2).united(circle(18, 56, 1.8));
        QPainterPath mane;
        mane.moveTo(59, 19);
        mane.cubicTo(69, 30, 73, 52, 68, 80);
        s.details.addPath(mane);
        break;
    }
    case Rook:
        s.body = polygon({{22, 14},
                          {35, 14},
                          {35, 25},
                          {45, 25},
                          {45, 14},
                          {55, 14},
                          {55, 25},
                          {65, 25},
                          {65, 14},
                          {78, 14},
                          {78, 31},
                          {69, 38},
                          {31, 38},
                          {22, 31}})
                     .united(polygon({{32, 37}, {68, 37}, {70, 74}, {30, 74}}))
                     .united(rect(25, 72, 75, 82, 2))
                     .united(pedestal());
        s.details.addPath(line(31, 38, 69, 38));
        s.details.addPath(line(29, 73, 71, 73));
        break;
    case Queen: {
        QPainterPath crown = polygon({{31, 62},
                                      {16, 28},
                                      {33, 46},
                                      {34, 21},
                                      {44, 44},
                                      {50, 16},
                                      {56, 44},
                                      {66, 21},
                                      {67, 46},
                                      {84, 28},
                                      {69, 62}});
        s.body = crown.united(circle(16, 27, 5.5))
                     .united(circle(34, 20, 5.5))
                     .united(circle(50, 14, 5.5))
                     .united(circle(66, 20, 5.5))
                     .united(circle(84, 27, 5.5))
                     .united(rect(29, 58, 71, 66, 3))
                     .united(skirt(65, 16, 82, 28))
                     .united(pedestal());
        s.details.addPath(line(31, 58, 69, 58));
        s.details.addPath(line(31, 66, 69, 66));
        break;
    }
    case King: {
        QPainterPath lobes;
        lobes.moveTo(30, 60);
        lobes.cubicTo(16, 44, 28, 24, 45, 34);
        lobes.lineTo(50, 40);
        lobes.lineTo(55, 34);
        lobes.cubicTo(72, 24, 84, 44, 70, 60);
        lobes.closeSubpath();
        s.body = rect(45.5, 2, 54.5, 25, 1)
                     .united(rect(38, 7, 62, 15, 1))
                     .united(rect(44, 22, 56, 40))
                     .united(lobes)
                     .united(rect(28, 57, 72, 65, 3))
                     .united(skirt(64, 16, 82, 28))
                     .united(pedestal());
        s.details.addPath(line(30, 57, 70, 57));
        s.details.addPath(line(30, 65, 70, 65));
        s.details.addPath(line(50, 40, 50, 56));
        break;
    }
    }
    return s;
}

} // namespace

PieceShape pieceShape(PieceKind kind, bool small) {
    // Built once: the program paints every piece again at each new square size.
    static const std::array<PieceShape, 2 * pieceKinds> shapes = [] {
        std::array<PieceShape, 2 * pieceKinds> all;
        for (int k = 0; k < pieceKinds; ++k)
            for (int sm = 0; sm < 2; ++sm) {
                PieceShape& shape = all[k * 2 + sm];
                shape = designShape(PieceKind(k), sm != 0);
                QPainterPath above;
                above.addRect(QRectF(-10, -10, 120, shape.baseTop + 10));
                shape.upper = shape.body.intersected(above);
            }
        return all;
    }();
    const int k = std::clamp(int(kind), 0, pieceKinds - 1);
    return shapes[k * 2 + (small ? 1 : 0)];
}

namespace {

struct PieceColours {
    QColor light, dark, outline, detail;
};
PieceColours coloursOf(bool black) {
    if (black) return {QColor(128, 126, 136), QColor(22, 21, 26), QColor(6, 6, 8), QColor(196, 190, 178)};
    return {QColor(255, 251, 240), QColor(196, 182, 154), QColor(28, 24, 20), QColor(70, 58, 46)};
}

} // namespace

void drawFlatPiece(QPainter& painter, int size, PieceKind kind, bool black) {
    // The five-ball crown only reads on the large sets.
    const bool small = size < 24;
    const PieceShape shape = pieceShape(kind, small || (kind == Queen && size < 36));
    const PieceColours c = coloursOf(black);
    const double scale = size / 100.0;
    // Outlines stay about one pixel on the smallest sets and grow slowly with size.
    const double outlinePx = std::max(1.05, size / 26.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    QLinearGradient fill(30, 10, 70, 92);
    fill.setColorAt(0, c.light);
    fill.setColorAt(1, c.dark);
    painter.setPen(QPen(c.outline, outlinePx / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(shape.body);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(c.detail, std::max(0.9, size / 34.0) / scale, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(shape.details);
    if (!small) painter.drawLine(QPointF(22, shape.baseTop), QPointF(78, shape.baseTop));
    painter.setPen(Qt::NoPen);
    painter.setBrush(c.detail);
    painter.drawPath(shape.dots);
    painter.restore();
}

namespace {

// What the foot and the body of an isometric piece share.
struct IsoPieceFrame {
    PieceColours c;
    double width, cx, rx, ry, slab, outlinePx;
    QColor outline;
};

IsoPieceFrame isoPieceFrame(const IsoLayout& iso, bool black) {
    IsoPieceFrame f;
    f.c = coloursOf(black);
    f.width = iso.pieceWidth;
    f.cx = f.width / 2.0;
    f.rx = std::min(f.width * 0.42, iso.cellWidth * 0.36);
    f.ry = f.rx * iso.cellHeight / iso.cellWidth;
    f.slab = std::max(0.8, f.ry * 0.4);
    f.outlinePx = std::max(0.8, f.width / 28.0);
    // A softer outline keeps the small white pieces from looking drawn in ink.
    f.outline = black ? f.c.outline : QColor(92, 80, 66);
    return f;
}

// Light falls from the upper left of the screen, whatever the view.
QLinearGradient isoShading(const IsoPieceFrame& f, bool black) {
    QLinearGradient g(f.cx - f.rx, 0, f.cx + f.rx, 0);
    g.setColorAt(0.0, f.c.light.darker(black ? 100 : 108));
    g.setColorAt(0.3, f.c.light);
    g.setColorAt(1.0, f.c.dark);
    return g;
}

} // namespace

void drawIsoFoot(QPainter& painter, const IsoLayout& iso, int footY, bool black) {
    const IsoPieceFrame f = isoPieceFrame(iso, black);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The round foot: a short cylinder standing on the cell's centre.
    QPainterPath foot;
    foot.addEllipse(QPointF(f.cx, footY), f.rx, f.ry);
    foot.addRect(QRectF(f.cx - f.rx, footY - f.slab, 2 * f.rx, f.slab));
    foot.addEllipse(QPointF(f.cx, footY - f.slab), f.rx, f.ry);
    foot = foot.simplified();
    painter.setPen(QPen(f.outline, f.outlinePx));
    painter.setBrush(isoShading(f, black));
    painter.drawPath(foot);
    painter.setBrush(f.c.light.darker(black ? 80 : 104));
    painter.drawEllipse(QPointF(f.cx, footY - f.slab), f.rx, f.ry);
    painter.restore();
}

void drawIsoBody(QPainter& painter, const IsoLayout& iso, int footY, PieceKind kind, bool black, int view) {
    const IsoPieceFrame f = isoPieceFrame(iso, black);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The flat design above its pedestal, turned for the view.
    const PieceShape shape = pieceShape(kind, iso.pieceWidth < 25);
    const bool facingRight = kind == Knight && (view == 0 || view == 3);
    const bool fromBehind = kind == Knight && (view == 2 || view == 3);
    const double top = 1.0, bottom = footY - f.slab;
    const double sy = (bottom - top) / (shape.baseTop - 3.0);
    const double sx = std::min(2 * f.rx * 1.05, f.width - 1.0) / 64.0;
    QTransform t;
    t.translate(f.cx, bottom);
    t.scale(facingRight ? -sx : sx, sy);
    t.translate(-50, -shape.baseTop);
    const QPainterPath body = t.map(shape.upper);
    painter.setBrush(isoShading(f, black));
    painter.setPen(QPen(f.outline, f.outlinePx, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(body);
    if (iso.pieceWidth >= 15) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(f.c.detail, std::max(0.7, f.width / 40.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(t.map(shape.details));
        if (!fromBehind) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(f.c.detail);
            painter.drawPath(t.map(shape.dots));
        }
    }
    painter.restore();
}

void drawIsoPiece(QPainter& painter, const IsoLayout& iso, int footY, PieceKind kind, bool black, int view) {
    drawIsoFoot(painter, iso, footY, black);
    drawIsoBody(painter, iso, footY, kind, black, view);
}

} // namespace art
