#pragma once
// The side panel around the board: the last two full moves with their numbers,
// the status area (opening name, "Checkmate", "Draw" or the engine's expected
// line, with the score) and the two clock lines, placed per screen class.
//
// Every text lies in the rectangle from (x, y) to (x + screen width, y + 24),
// aligned to its bottom edge, in black on the white of the view.

#include <QFont>
#include <QPainter>
#include <QString>

class GameController;

struct PanelContext {
    QPainter& painter;
    GameController& game;
    int screenWidth;
    int screenHeight;
};

// The font of the game screen's texts for a screen class.
QFont panelFont(int screenType);
void drawPanelText(const PanelContext& panel, int x, int y, const QString& text);

void drawMoveList(const PanelContext& panel);
void drawStatus(const PanelContext& panel);
void drawClocks(const PanelContext& panel);
// The user's clock line and the computer's, in the user's language.
void clockTexts(const GameController& game, QString lines[2]);

// What the status area shows, read from the engine at each paint.
struct EngineStatus {
    QString openingName; // empty when the game has left the book
    QString statusText;  // "Checkmate", "Draw" or the principal variation
    int score;           // last search score, White's view; 100000 = none
};
void readEngineStatus();
const EngineStatus& engineStatus();
