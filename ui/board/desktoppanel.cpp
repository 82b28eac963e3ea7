#include "ui/board/desktoppanel.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cstdio>

#include "engine/core/position.h"
#include "engine/session/session.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "ui/board/geometry.h"
#include "ui/board/sidepanel.h"
#include "ui/shell/texttables.h"

namespace {

constexpr int NoScore = 100000;
constexpr int StatusLines = 3;
constexpr int ClockLines = 3; // the two clocks and a blank line

// The width the texts may use: the whole panel, or its left part when the move list
// stands beside them.
int textWidth(const BoardGeometry& g) {
    int x, y, width, height;
    desktopMoveListRect(g, g.panelTextLines, x, y, width, height);
    return y == g.panelTop && width > 0 ? x - g.panelLeft - g.panelFontPx / 2 : g.panelWidth;
}

// The text cut into lines at spaces (a word longer than the width is cut by characters).
QStringList wrapped(const QFontMetrics& metrics, const QString& text, int width, int lines) {
    QStringList out;
    QString rest = text.trimmed();
    while (!rest.isEmpty() && out.size() < lines) {
        QString head = rest;
        while (head.size() > 1 && metrics.horizontalAdvance(head) > width) {
            const int space = head.lastIndexOf(' ');
            head = space > 0 ? head.left(space).trimmed() : head.left(head.size() - 1);
        }
        out << head;
        rest = rest.mid(head.size()).trimmed();
    }
    return out;
}

} // namespace

QFont desktopPanelFont(const GameController& game) {
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(8, game.geometry.panelFontPx));
    return font;
}

// The status is read by the paint, from the first move on.
static bool statusShown() {
    const EngineStatus& status = engineStatus();
    return engineSession.gamePosition.ply >= 2 &&
           (!status.openingName.isEmpty() || !status.statusText.isEmpty());
}

int desktopPanelTextLines(const GameController& game) {
    return statusShown() ? game.geometry.panelTextLines : ClockLines;
}

void drawDesktopPanel(QPainter& painter, GameController& game) {
    const BoardGeometry& g = game.geometry;
    if (g.panelWidth <= 0 || g.panelHeight <= 0) return;
    painter.save();
    painter.setFont(desktopPanelFont(game));
    painter.setPen(Qt::black);
    painter.setClipRect(QRect(g.panelLeft, g.panelTop, g.panelWidth, g.panelHeight));
    const QFontMetrics metrics(painter.font());
    const int width = std::max(1, textWidth(g));
    const int pitch = g.panelLinePitch;
    auto line = [&](int index, const QString& text) {
        painter.drawText(QRect(g.panelLeft, g.panelTop + index * pitch, width, pitch),
                         Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(text, Qt::ElideRight, width));
    };

    // 1. The clocks, the user's first.
    QString clocks[2];
    clockTexts(game, clocks);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    line(0, clocks[0]);
    line(1, clocks[1]);
    painter.setFont(desktopPanelFont(game));

    // 2. The status from the first move on: the opening while in the book, else the
    //    score (positive when it favours the user) and the result or expected line.
    if (engineSession.gamePosition.ply >= 2) {
        readEngineStatus();
        const EngineStatus& status = engineStatus();
        int next = ClockLines;
        if (!status.openingName.isEmpty()) {
            for (const QString& text : wrapped(metrics, status.openingName, width, StatusLines + 1))
                line(next++, text);
        } else if (!status.statusText.isEmpty()) {
            if (status.score != NoScore) {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%.2f",
                              status.score * (game.userColour == Black ? -0.01 : 0.01));
                line(next, QString::fromLatin1(buffer));
            }
            ++next;
            for (const QString& text : wrapped(metrics, status.statusText, width, StatusLines))
                line(next++, text);
        }
    }
    painter.restore();
}
