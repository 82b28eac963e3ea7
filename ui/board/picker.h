#pragma once
// The promotion picker on the board: four squares from the promotion square towards
// the middle, each with its piece in the board's own style.

#include <QPainter>

class GameController;

void drawPromotionPicker(QPainter& painter, const GameController& game);
