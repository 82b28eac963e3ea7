#include "ui/board/markers.h"

#include <QPolygon>

#include "engine/core/attacks.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/hintmark.h"
#include "game/preferences.h"
#include "game/review.h"
#include "ui/board/geometry.h"

namespace {

// The outline of a square as the board shows it: the flat square, or the isometric
// cell's diamond.
QPolygon squareShape(const GameController& game, int column, int row, int inset) {
    const BoardGeometry& g = game.geometry;
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    const int w = g.cellWidth, h = g.cellHeight;
    if (!game.settings.isometric)
        return QPolygon(QRect(x + inset, y + inset, w - 2 * inset, h - 2 * inset));
    const int cx = x + w / 2, cy = y + h / 2;
    const int dx = w / 2 - inset, dy = h / 2 - inset / 2;
    QPolygon diamond;
    diamond << QPoint(cx, cy - dy) << QPoint(cx + dx, cy) << QPoint(cx, cy + dy) << QPoint(cx - dx, cy);
    return diamond;
}

void outlineSquare(QPainter& painter, const GameController& game, int column, int row, const QColor& colour) {
    const int width = std::max(2, game.geometry.cellWidth / 14);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(squareShape(game, column, row, width / 2 + 1));
}

} // namespace

bool kingInCheck(int& column, int& row) {
    // A copy: the attack tests move pieces for a moment.
    const Position* reviewed = reviewedPosition();
    const Position position = reviewed ? *reviewed : engineSession.gamePosition;
    const int side = position.sideToMove;
    if ((side != White && side != Black) || !inCheck(position, side)) return false;
    const int king = kingSquare(position, side);
    column = columnOf(king);
    row = rowOf(king);
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

void drawCheckAndHint(QPainter& painter, const GameController& game) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, game.settings.isometric != 0);
    int hint[4], from = 0, to = 0;
    if (reviewedMove(from, to)) {
        const QColor blue(0x20, 0x60, 0xd0);
        outlineSquare(painter, game, columnOf(from), rowOf(from), blue);
        outlineSquare(painter, game, columnOf(to), rowOf(to), blue);
    } else if (!reviewing() && shownHint(hint)) {
        const QColor green(0x1f, 0xa0, 0x3c);
        outlineSquare(painter, game, hint[0], hint[1], green);
        outlineSquare(painter, game, hint[2], hint[3], green);
    }
    int column = 0, row = 0;
    if (kingInCheck(column, row)) {
        const QPolygon shape = squareShape(game, column, row, 1);
        // A red glow under the isometric king; a red frame around the flat one.
        if (game.settings.isometric) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xe0, 0x10, 0x10, 150));
            painter.drawPolygon(shape);
        }
        outlineSquare(painter, game, column, row, QColor(0xe0, 0x10, 0x10));
    }
    painter.restore();
}

void drawCoordinates(QPainter& painter, const GameController& game) {
    const BoardGeometry& g = game.geometry;
    if (!desktopPreferences().coordinates || g.cellWidth < 24) return;
    const bool iso = game.settings.isometric != 0;
    painter.save();
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(8, (iso ? g.cellHeight * 2 / 3 : g.squareSize / 4)));
    font.setBold(true);
    painter.setFont(font);
    // For each file the square nearest the bottom of the screen, for each rank the one
    // furthest left: the board's near and left edges however it is turned.
    for (int line = 0; line < 8; ++line) {
        int fileX = 0, fileY = -1, fileRow = 0, rankX = 1 << 20, rankY = 0, rankColumn = 0;
        for (int k = 0; k < 8; ++k) {
            int x = 0, y = 0;
            cellPosition(game, line, k, x, y);
            if (y > fileY) fileX = x, fileY = y, fileRow = k;
            cellPosition(game, k, line, x, y);
            if (x < rankX) rankX = x, rankY = y, rankColumn = k;
        }
        const QString file(QChar('a' + line)), rank(QChar('8' - line));
        if (iso) {
            // Beside the cells, outside the board.
            painter.setPen(QColor(0x30, 0x30, 0x30));
            painter.drawText(QRect(fileX, fileY + g.cellHeight - 2, g.cellWidth, g.cellHeight), Qt::AlignCenter,
                             file);
            painter.drawText(QRect(rankX - g.cellWidth / 2, rankY, g.cellWidth / 2, g.cellHeight),
                             Qt::AlignCenter, rank);
            continue;
        }
        // In the corners of the edge squares, in the colour of the other squares.
        const int s = g.squareSize, pad = std::max(1, s / 16);
        const bool fileLight = (line + fileRow) % 2 == 0, rankLight = (rankColumn + line) % 2 == 0;
        painter.setPen(fileLight ? QColor(0x50, 0x50, 0x50) : QColor(0xf0, 0xf0, 0xf0));
        painter.drawText(QRect(fileX, fileY, s - pad, s - pad / 2), Qt::AlignRight | Qt::AlignBottom, file);
        painter.setPen(rankLight ? QColor(0x50, 0x50, 0x50) : QColor(0xf0, 0xf0, 0xf0));
        // A few pixels below the corner, which stays the tile's own.
        painter.drawText(QRect(rankX + pad, rankY + std::max(3, s / 10), s, s), Qt::AlignLeft | Qt::AlignTop, rank);
    }
    painter.restore();
}
