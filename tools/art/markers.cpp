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

void drawFlatMarker(QPainter& p, const SpriteFile& file, int marker) {
    const int w = file.width, cell = file.cell;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // The marker is centred on its cell; the cell's own edges lie this far inside it.
    const double inset = (w - cell) / 2.0;
    const QRectF square(inset, inset, cell, cell);
    if (marker == 0) {
        // A bold frame along the square's edge.
        const double frame = std::max(2.0, cell / 10.0);
        p.setPen(QPen(selectedColour, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(square.adjusted(frame / 2 - 0.5, frame / 2 - 0.5, -frame / 2 + 0.5, -frame / 2 + 0.5));
    } else if (marker == 1) {
        // Four corner brackets, which leave the piece in the middle clear.
        const double arm = cell * 0.32, stroke = std::max(2.0, cell / 11.0);
        p.setPen(QPen(lastMoveColour, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        const QRectF r = square.adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
        for (int corner = 0; corner < 4; ++corner) {
            const double x = corner % 2 ? r.right() : r.left();
            const double y = corner / 2 ? r.bottom() : r.top();
            const double dx = corner % 2 ? -arm : arm, dy = corner / 2 ? -arm : arm;
            p.drawPolyline(QPolygonF({QPointF(x + dx, y), QPointF(x, y), QPointF(x, y + dy)}));
        }
    } else if (marker == 2) {
        // A round dot in the middle, rimmed so it shows on any piece and tile.
        const double radius = std::max(2.5, cell * 0.16);
        p.setPen(QPen(rim, std::max(1.0, cell / 28.0)));
        p.setBrush(legalColour);
        p.drawEllipse(square.center(), radius, radius);
    }
    p.restore();
}

QImage flatSelection(const SpriteFile& file) {
    QImage sheet = canvas(markerKinds * file.width, file.height);
    QPainter p(&sheet);
    for (int marker = 0; marker < markerKinds; ++marker) {
        p.save();
        p.translate(marker * file.width, 0);
        drawFlatMarker(p, file, marker);
        p.restore();
    }
    p.end();
    return keyed(sheet);
}

void drawIsoMarker(QPainter& p, const IsoLayout& iso, int marker) {
    if (marker < 0 || marker >= markerKinds) return;
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
    const QColor fills[markerKinds] = {selectedColour, lastMoveColour, legalColour};
    const double scales[markerKinds] = {0.98, 0.98, 0.62};
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fills[marker].darker(170), pen));
    p.setBrush(marker == 1 ? QBrush(Qt::NoBrush) : QBrush(fills[marker]));
    if (marker == 1) p.setPen(QPen(fills[marker], pen * 2));
    p.drawPolygon(diamond(scales[marker]));
    p.restore();
}

QImage isoSelection(const IsoLayout& iso) {
    QImage sheet = canvas(markerKinds * iso.markerWidth, iso.markerHeight);
    QPainter p(&sheet);
    for (int marker = 0; marker < markerKinds; ++marker) {
        p.save();
        p.translate(marker * iso.markerWidth, 0);
        drawIsoMarker(p, iso, marker);
        p.restore();
    }
    p.end();
    return keyed(sheet);
}

} // namespace art
