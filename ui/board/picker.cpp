#include "ui/board/picker.h"

#include <QPolygon>

#include "engine/core/position.h"
#include "game/controller.h"
#include "game/promotion.h"
#include "ui/board/boardpaint.h"
#include "ui/board/geometry.h"

void drawPromotionPicker(QPainter& painter, const GameController& game) {
    const PromotionPicker& picker = promotionPicker();
    if (!picker.open) return;
    const BoardGeometry& g = game.geometry;
    const bool iso = game.settings.isometric != 0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, iso);
    for (int k = 0; k < 4; ++k) {
        int column = 0, row = 0, x = 0, y = 0;
        pickerSquare(k, column, row);
        cellPosition(game, column, row, x, y);
        QPolygon cell;
        if (iso) {
            const int cx = x + g.cellWidth / 2, cy = y + g.cellHeight / 2;
            cell << QPoint(cx, y) << QPoint(x + g.cellWidth, cy) << QPoint(cx, y + g.cellHeight) << QPoint(x, cy);
        } else {
            cell = QPolygon(QRect(x, y, g.cellWidth - 1, g.cellHeight - 1));
        }
        painter.setPen(QPen(QColor(0x20, 0x40, 0x80), 2));
        painter.setBrush(QColor(0xfa, 0xfa, 0xf0));
        painter.drawPolygon(cell);
        int px = 0, py = 0;
        piecePosition(game, column, row, px, py);
        const int code = PickerPieceTypes[k] + (picker.colour == Black ? BlackOffset : 0);
        drawPiece(painter, game, px, py, code);
    }
    painter.restore();
}
