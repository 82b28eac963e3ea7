#pragma once
// The desktop window's panel texts beside or under the board: the two clock lines,
// the score and the status (opening name, result or the engine's expected line),
// wrapped to the panel's width. The move list below them is a widget of the shell.

#include <QFont>
#include <QPainter>

class GameController;

// The panel's font at the desktop geometry's text size.
QFont desktopPanelFont(const GameController& game);
void drawDesktopPanel(QPainter& painter, GameController& game);
// The text lines the panel shows as last drawn: the clocks and a blank line until
// there is a status (the first move), then all the lines the panel keeps room for.
// The move list goes under them.
int desktopPanelTextLines(const GameController& game);
