#include "ui/shell/barimages.h"

#include <QBitmap>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "game/gamefiles.h"
#include "tools/art/art.h"

namespace {
constexpr int ButtonSize = 16;
constexpr int ButtonCount = 4;
constexpr const char* ToolbarFileName = "Toolbar.bmp"; // the four images side by side

// Drawn when the picture file is not there (the buttons are never worth ending the program for): a question
// mark, two arrows and a turn.
QImage drawnButton(int index) {
    QImage image(ButtonSize, ButtonSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x20, 0x30, 0x60), 1.6));
    painter.setBrush(QColor(0x20, 0x30, 0x60));
    switch (index) {
    case 0: {
        QFont font = painter.font();
        font.setPixelSize(14);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, ButtonSize, ButtonSize), Qt::AlignCenter, "?");
        break;
    }
    case 1:
        painter.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(12, 3), QPointF(12, 13)}));
        break;
    case 2:
        painter.drawPolygon(QPolygonF({QPointF(13, 8), QPointF(4, 3), QPointF(4, 13)}));
        break;
    default: {
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
        painter.setBrush(QColor(0x20, 0x30, 0x60));
        painter.drawPolygon(QPolygonF({QPointF(9, 1), QPointF(13, 4), QPointF(9, 6)}));
        break;
    }
    }
    return image;
}

// The picture file's pure white is its transparent colour, as for every sprite.
QImage fileButton(int index) {
    QFile file(QString::fromStdString(gameFile(ToolbarFileName)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("BM")) return {};
    QImage strip;
    if (!strip.loadFromData(bytes, "BMP") || strip.width() < ButtonSize * ButtonCount ||
        strip.height() < ButtonSize)
        return {};
    QImage image =
        strip.copy(index * ButtonSize, 0, ButtonSize, ButtonSize).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) image.setPixel(x, y, 0);
    return image;
}
} // namespace

QIcon barButtonIcon(int index, int zoom) {
    QImage image = fileButton(index);
    if (image.isNull()) image = drawnButton(index);
    const int size = ButtonSize * std::max(1, zoom);
    return QIcon(QPixmap::fromImage(image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

QIcon desktopBarButtonIcon(int index, int logicalSize) {
    // Painted at every size the window may ask for (device pixel ratios 1 to 3), so the
    // images stay sharp where the handheld's bitmaps would be doubled.
    QIcon icon;
    for (int ratio = 1; ratio <= 3; ++ratio)
        icon.addPixmap(QPixmap::fromImage(art::buttonPicture(index, logicalSize * ratio)));
    return icon;
}
