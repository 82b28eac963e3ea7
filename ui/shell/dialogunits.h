#pragma once
// Dialog templates are laid out in dialog units: a quarter of the font's average
// character width across, an eighth of its height down.

#include <QRect>
#include <QWidget>

inline QRect dialogRect(const QWidget* dialog, int x, int y, int width, int height) {
    const QFontMetrics metrics = dialog->fontMetrics();
    const int baseX = metrics.averageCharWidth();
    const int baseY = metrics.height();
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

// Shows the platform's task bar again; dialogs open over the full game screen.
void showTaskBar();
