#pragma once
// The paint of the game view. Everything is drawn into one off-screen picture
// of the view's size (device pixels); the view copies it to the window in one
// step afterwards.
//
// How the view calls it, from its paint event:
//     gameController().view = this;            // owner of the clock timer
//     paintView(frame, gameController(), splashShowing ? &theSplash() : nullptr);
//     ... then draw `frame` onto the widget.
// paintGameView and paintSplashView are the two halves of paintView.

#include <QImage>
#include <QPainter>

#include <functional>

class GameController;
class QObject;
struct Splash;

// White, then the splash screen (splash not null) or the game screen.
void paintView(QImage& target, GameController& game, Splash* splash);
void paintGameView(QImage& target, GameController& game);
// The desktop game screen as paintGameView, except that when the pictures of the
// window's size are not painted yet and another size's are kept, those are drawn
// scaled instead (a resize shows at once). Returns false then: the caller has
// the right set painted by paintDesktopPicturesLater and paints again.
bool paintGameViewWithStandIn(QImage& target, GameController& game);
void paintDesktopPicturesLater(const GameController& game, qreal devicePixelRatio, QObject* receiver,
                               std::function<void()> ready);

// The game screen in its drawing order: clock timer, side panel, board,
// markers and pieces, the dragged piece, the sliding piece.
void paintGame(QPainter& painter, GameController& game, int screenWidth, int screenHeight);

// One piece sprite with its top-left corner at (x, y), flat or isometric by the
// style; code 0 (and anything that is not a piece) draws nothing.
void drawPiece(QPainter& painter, const GameController& game, int x, int y, int pieceCode);
// Cursor, movable pieces, destinations, selection and last move.
void drawMarkers(QPainter& painter, GameController& game);
// The pieces in depth order, with the floating (dragged or sliding) piece of
// the isometric board put among them.
void drawPieces(QPainter& painter, GameController& game);

// The squares of the last move as the markers show them; false when the game
// has no last move or its origin cannot be told.
bool lastMoveSquares(int& fromColumn, int& fromRow, int& toColumn, int& toRow);
