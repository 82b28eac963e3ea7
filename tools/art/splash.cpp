// The splash picture with the name of the game, its animation (a knight's jump on a
// small board) and the four command-bar images.
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "art.h"

namespace art {

namespace {

constexpr int frameWidth = 150, frameHeight = 120, frameCount = 10;

// One animation frame: a 5 x 4 wooden board, a white pawn and a black king at rest,
// and a white knight jumping from c1 to d3 and back, with its shadow on the board.
QImage animationFrame(int frame) {
    QImage image(frameWidth, frameHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    const int square = 30;
    const QImage light = boardTile(0, square, true), dark = boardTile(0, square, false);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) p.drawImage(c * square, r * square, (c + r) % 2 == 0 ? light : dark);
    p.setRenderHint(QPainter::Antialiasing);

    auto piece = [&](double x, double y, PieceKind kind, bool black) {
        QImage sprite = canvas(square, square);
        QPainter q(&sprite);
        drawFlatPiece(q, square, kind, black);
        q.end();
        p.drawImage(QPointF(x, y), sprite);
    };
    piece(0 * square, 2 * square, Pawn, false);
    piece(4 * square, 0 * square, King, true);

    // Frames 0..4 jump forward, 5..9 jump back; each jump lands on its last frame.
    const double t = (frame % 5 + 1) / 5.0;
    const QPointF from(1 * square, 3 * square), to(2 * square, 1 * square);
    const QPointF a = frame < 5 ? from : to, b = frame < 5 ? to : from;
    const QPointF ground = a + (b - a) * t;
    const double lift = std::sin(t * 3.14159) * 22;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(ground + QPointF(square / 2.0, square * 0.86), square * 0.34 * (1 - lift / 60),
                  square * 0.12 * (1 - lift / 60));
    piece(ground.x(), ground.y() - lift, Knight, false);
    p.end();
    return image;
}

} // namespace

QImage splashAnimation() {
    QImage strip(frameWidth, frameHeight * frameCount, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int f = 0; f < frameCount; ++f) p.drawImage(0, f * frameHeight, animationFrame(f));
    p.end();
    return strip;
}

QImage splashPicture(const Family& family) {
    const int w = family.splashWidth, h = family.splashHeight;
    const double k = w / 320.0; // the VGA picture is the QVGA one at twice the size
    QImage picture(w, h, QImage::Format_RGB32);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QRadialGradient sky(QPointF(w * 0.5, h * 0.35), w * 0.75);
    sky.setColorAt(0, QColor(38, 78, 62));
    sky.setColorAt(1, QColor(10, 24, 20));
    p.fillRect(picture.rect(), sky);

    // A faint chequered floor in perspective below the title.
    p.save();
    p.setPen(Qt::NoPen);
    const double horizon = 118 * k;
    for (int row = 0; row < 12; ++row) {
        const double y0 = horizon + std::pow(row / 12.0, 1.6) * (h - horizon);
        const double y1 = horizon + std::pow((row + 1) / 12.0, 1.6) * (h - horizon);
        for (int col = -8; col < 8; ++col) {
            if ((row + col) % 2 == 0) continue;
            auto xAt = [&](double y, int c) { return w / 2.0 + c * (y - horizon + 8 * k) * 0.9; };
            QPolygonF q({QPointF(xAt(y0, col), y0), QPointF(xAt(y0, col + 1), y0),
                         QPointF(xAt(y1, col + 1), y1), QPointF(xAt(y1, col), y1)});
            p.setBrush(QColor(255, 255, 255, 10 + row * 2));
            p.drawPolygon(q);
        }
    }
    p.restore();

    // The name, in gold with a dark shadow, centred over the visible middle.
    QFont title("DejaVu Serif", -1, QFont::Bold);
    title.setPixelSize(int(46 * k));
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5 * k);
    p.setFont(title);
    const QRectF titleBox(0, 44 * k, w, 60 * k);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(titleBox.translated(2 * k, 2 * k), Qt::AlignHCenter | Qt::AlignVCenter, "Tavisk");
    QLinearGradient gold(0, titleBox.top() + 8 * k, 0, titleBox.bottom() - 8 * k);
    gold.setColorAt(0, QColor(255, 236, 160));
    gold.setColorAt(0.5, QColor(232, 180, 60));
    gold.setColorAt(1, QColor(170, 110, 30));
    p.setPen(QPen(QBrush(gold), 1));
    p.drawText(titleBox, Qt::AlignHCenter | Qt::AlignVCenter, "Tavisk");

    // A thin gold rule under the name.
    p.setPen(QPen(QColor(200, 160, 70), 1.2 * k));
    p.drawLine(QPointF(w / 2.0 - 60 * k, 108 * k), QPointF(w / 2.0 + 60 * k, 108 * k));

    // The animation's window: a gold frame round the slot, showing the first frame.
    const QRect slot(family.splashSlotX, family.splashSlotY, frameWidth, frameHeight);
    p.setPen(QPen(QColor(200, 160, 70), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(slot).adjusted(-2.5, -2.5, 1.5, 1.5));
    p.drawImage(slot.topLeft(), animationFrame(0));

    p.end();
    return picture;
}

void paintButton(QPainter& p, int index) {
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 40, 60);
    switch (index) {
    case 0: { // hint: a light bulb
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(255, 214, 40));
        p.drawEllipse(QPointF(8, 6.5), 4.6, 4.6);
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(5.5, 11, 5, 3.5));
        p.drawLine(QPointF(5.5, 12.7), QPointF(10.5, 12.7));
        break;
    }
    case 1:   // takeback: an arrow to the left
    case 2: { // forward: an arrow to the right
        const double s = index == 1 ? -1 : 1;
        auto x = [&](double v) { return 8 + s * (v - 8); };
        QPolygonF arrow({QPointF(x(2), 6), QPointF(x(8), 6), QPointF(x(8), 2.5), QPointF(x(14.5), 8),
                         QPointF(x(8), 13.5), QPointF(x(8), 10), QPointF(x(2), 10)});
        p.setPen(QPen(ink, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(index == 1 ? QColor(220, 90, 60) : QColor(60, 150, 80));
        p.drawPolygon(arrow);
        break;
    }
    default: { // rotate: a circular arrow
        p.setPen(QPen(QColor(40, 90, 180), 2.4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 180));
        p.drawPolygon(QPolygonF({QPointF(8, 0.5), QPointF(12.5, 4), QPointF(8, 7.5)}));
        break;
    }
    }
}

QImage buttonImage(int index) {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    paintButton(p, index);
    p.end();
    return keyed(image);
}

QImage buttonPicture(int index, int pixels) {
    QImage image = canvas(pixels, pixels);
    QPainter p(&image);
    p.scale(pixels / 16.0, pixels / 16.0);
    paintButton(p, index);
    p.end();
    return image;
}

} // namespace art
