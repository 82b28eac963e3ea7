// Marker sheets: selected square, last move, legal destination (or movable piece).
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {
const QColor selectedColour(255, 196, 0);
const QColor lastMoveColour(236, 112, 24);
const QColor legalColour(40, 176, 72);
const QColor rim(20, 40, 20);
} // namespace

QImage flatSelection(const SpriteFile& file) {
    const int w = file.width, h = file.height, cell = file.cell;
    QImage sheet = canvas(3 * w, h);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    // The marker is centred on its cell; the cell's own edges lie this far inside it.
    const double inset = (w - cell) / 2.0;
    const QRectF square(inset, inset, cell, cell);

    // 0: a bold frame along the square's edge.
    const double frame = std::max(2.0, cell / 10.0);
    p.setPen(QPen(selectedColour, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(square.adjusted(frame / 2 - 0.5, frame / 2 - 0.5, -frame / 2 + 0.5, -frame / 2 + 0.5));

    // 1: four corner brackets, which leave the piece in the middle clear.
    p.translate(w, 0);
    const double arm = cell * 0.32, stroke = std::max(2.0, cell / 11.0);
    p.setPen(QPen(lastMoveColour, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QRectF r = square.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
    for (int corner = 0; corner < 4; ++corner) {
        const double x = corner % 2 ? r.right() : r.left();
        const double y = corner / 2 ? r.bottom() : r.top();
        const double dx = corner % 2 ? -arm : arm, dy = corner / 2 ? -arm : arm;
        p.drawPolyline(QPolygonF({QPointF(x + dx, y), QPointF(x, y), QPointF(x, y + dy)}));
    }

    // 2: a round dot in the middle, rimmed so it shows on any piece and tile.
    p.translate(w, 0);
    const double radius = std::max(2.5, cell * 0.16);
    p.setPen(QPen(rim, std::max(1.0, cell / 28.0)));
    p.setBrush(legalColour);
    p.drawEllipse(square.center(), radius, radius);
    p.end();
    return keyed(sheet);
}

QImage isoSelection(const IsoLayout& iso) {
    const int w = iso.markerWidth, h = iso.markerHeight;
    QImage sheet = canvas(3 * w, h);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    // The board puts a marker one pixel right and down of its centred place.
    const double dx = -((iso.markerWidth - iso.cellWidth) / 2) + 1;
    const double dy = -((iso.markerHeight - iso.cellHeight) / 2) + 1;
    const QPointF centre(iso.cellWidth / 2.0 - dx, iso.cellHeight / 2.0 - dy);
    auto diamond = [&](double scale) {
        const double a = iso.cellWidth / 2.0 * scale, b = iso.cellHeight / 2.0 * scale;
        return QPolygonF({centre + QPointF(-a, 0), centre + QPointF(0, -b), centre + QPointF(a, 0),
                          centre + QPointF(0, b)});
    };
    const double pen = std::max(1.0, iso.cellHeight / 9.0);
    // The markers lie under the pieces, so they can fill the square.
    const QColor fills[3] = {selectedColour, lastMoveColour, legalColour};
    const double scales[3] = {0.98, 0.98, 0.62};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(i * w, 0);
        p.setPen(QPen(fills[i].darker(170), pen));
        p.setBrush(i == 1 ? QBrush(Qt::NoBrush) : QBrush(fills[i]));
        if (i == 1) p.setPen(QPen(fills[i], pen * 2));
        p.drawPolygon(diamond(scales[i]));
        p.restore();
    }
    p.end();
    return keyed(sheet);
}

} // namespace art
