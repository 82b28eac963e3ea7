#include "ui/board/boardpaint.h"

#include <cmath>
#include <cstdlib>

#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/review.h"
#include "ui/board/desktoppanel.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"
#include "ui/board/livepictures.h"
#include "ui/board/markers.h"
#include "ui/board/picker.h"
#include "ui/board/sidepanel.h"
#include "ui/board/splash.h"

namespace {

constexpr int MarkerSelected = 0; // also the keyboard cursor
constexpr int MarkerLastMove = 1;
constexpr int MarkerTarget = 2; // legal destination or movable piece

bool onBoard(int column, int row) {
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

bool squareSelected(const GameController& game) {
    return game.selectedColumn != -1 && game.selectedRow != -1;
}

// Sprite cell of a piece code: columns 0..5 White pawn..king, 6..11 Black.
int spriteColumn(int pieceCode) {
    const int type = pieceCode & 7;
    if (type < Pawn || type > King || pieceCode > BlackKing) return -1;
    return type - Pawn + (pieceCode & 8 ? 6 : 0);
}

static_assert(DesktopMaxCell <= LiveMaxCellPx, "the desktop board's pictures exist at every size it takes");

bool desktop(const GameController& game) {
    return game.geometry.screenType == ScreenDesktop;
}

// Whether the paint may draw another size's pictures scaled while the set of its
// own size is painted elsewhere, and whether it did.
bool standInAllowed = false;
bool standInDrawn = false;

// The pictures a desktop paint draws, and by how much it scales them: 1 for the
// set of the window's square size, else a kept set of another size as a stand-in.
struct DesktopArt {
    const LivePictures& pictures;
    double scale;
};

int desktopSkin(const GameController& game) {
    return game.settings.isometric ? 0 : static_cast<int>(game.settings.skin);
}

qreal paintRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

// The desktop window's pictures, painted for its square size and the device pixel
// ratio of what is painted on (the isometric board has one skin).
DesktopArt desktopArt(const QPainter& painter, const GameController& game) {
    const int iso = game.settings.isometric ? 1 : 0, cell = game.geometry.cellWidth;
    const qreal ratio = paintRatio(painter);
    if (standInAllowed && !keptLivePictures(desktopSkin(game), iso, cell, ratio))
        if (const LivePictures* last = latestLivePictures(desktopSkin(game), iso)) {
            standInDrawn = true;
            return {*last, double(cell) / last->cellPx};
        }
    return {livePictures(desktopSkin(game), iso, cell, ratio), 1.0};
}

// A picture of the set at its logical size, or scaled smoothly for a stand-in.
void drawArt(QPainter& painter, double x, double y, const QImage& image, double scale) {
    if (scale == 1.0) {
        painter.drawImage(QPoint(int(x), int(y)), image);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(x, y), image.deviceIndependentSize() * scale), image);
    painter.restore();
}

void drawMarker(QPainter& painter, const GameController& game, int column, int row, int marker) {
    if (desktop(game)) {
        const DesktopArt art = desktopArt(painter, game);
        int x = 0, y = 0;
        cellPosition(game, column, row, x, y);
        drawArt(painter, x + art.pictures.markerOffsetX * art.scale,
                y + art.pictures.markerOffsetY * art.scale, art.pictures.markers[marker], art.scale);
        return;
    }
    if (!game.selectionImage) return;
    const BoardGeometry& g = game.geometry;
    const int iso = game.settings.isometric ? 1 : 0;
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    x += -((g.markerWidth - g.cellWidth) / 2) + iso;
    y += -((g.markerHeight - g.cellHeight) / 2) + iso;
    painter.drawImage(x, y, game.selectionImage->sprite, marker * g.markerWidth, 0, g.markerWidth,
                      g.markerHeight);
}

// Piece position as the board draws its pieces: one pixel lower on the QVGA landscape screen.
void boardPiecePosition(const GameController& game, int column, int row, int& x, int& y) {
    piecePosition(game, column, row, x, y);
    if (game.geometry.screenType == ScreenQvgaLandscape) y += 1;
}

void drawBoard(QPainter& painter, const GameController& game) {
    const BoardGeometry& g = game.geometry;
    if (desktop(game)) {
        // One picture of the whole board, its diamond's left corner (or its top-left
        // corner) where the geometry puts it.
        const DesktopArt art = desktopArt(painter, game);
        const int x = g.originX + g.boardLeft, y = g.originY + g.boardTop;
        if (game.settings.isometric)
            drawArt(painter, x - art.pictures.boardCornerX * art.scale,
                    y + g.boardHeight / 2 - g.cellHeight / 2 - art.pictures.boardCornerY * art.scale,
                    liveBoard(art.pictures, game.settings.orientation), art.scale);
        else
            drawArt(painter, x, y, art.pictures.board, art.scale);
        return;
    }
    if (!game.boardImage) return;
    if (game.settings.isometric) {
        painter.drawImage(g.boardLeft, g.boardTop, game.boardImage->picture);
        return;
    }
    // The flat board is symmetric, so it does not turn with the orientation.
    const int s = g.squareSize;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const int tileX = (column + row) % 2 == 0 ? s : 0;
            painter.drawImage(g.originX + column * s + g.boardLeft, g.originY + row * s + g.boardTop,
                              game.boardImage->picture, tileX, 0, s, s);
        }
}

// A castling text as the record writes it, with the letter O in either case or the digit 0.
bool castlingLetter(char c) {
    return c == 'O' || c == 'o' || c == '0';
}

} // namespace

bool lastMoveSquares(int& fromColumn, int& fromRow, int& toColumn, int& toRow) {
    fromColumn = fromRow = toColumn = toRow = -1;
    const char* text = moveTextBack(1, 0);
    if (!text || !text[0]) return false;
    const Position& position = engineSession.gamePosition;
    if (castlingLetter(text[0]) && text[1] == '-' && castlingLetter(text[2])) {
        // The king of the side that just castled, and its start square on the e-file side.
        const int king = position.sideToMove == White ? BlackKing : WhiteKing;
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column)
                if (position.board[squareOf(column, row)] == king) {
                    toColumn = column;
                    toRow = row;
                }
        if (toColumn < 0) return false;
        fromColumn = toColumn > 4 ? toColumn - 2 : toColumn + 2;
        fromRow = toRow;
        return true;
    }
    // [piece letter] file rank '-'|'x' file rank
    const char* p = text;
    if (*p >= 'A' && *p <= 'Z') ++p;
    auto square = [](const char* s, int& column, int& row) {
        if (s[0] < 'a' || s[0] > 'h' || s[1] < '1' || s[1] > '8') return false;
        column = s[0] - 'a';
        row = '8' - s[1];
        return true;
    };
    if (!square(p, fromColumn, fromRow) || (p[2] != '-' && p[2] != 'x') || !square(p + 3, toColumn, toRow)) {
        fromColumn = fromRow = toColumn = toRow = -1;
        return false;
    }
    return true;
}

void drawPiece(QPainter& painter, const GameController& game, int x, int y, int pieceCode) {
    const int column = spriteColumn(pieceCode);
    if (column < 0) return;
    if (desktop(game)) {
        const DesktopArt art = desktopArt(painter, game);
        drawArt(painter, x, y, livePiece(art.pictures, pieceCode, game.settings.orientation & 3), art.scale);
        return;
    }
    if (!game.piecesImage) return;
    const BoardGeometry& g = game.geometry;
    int row = 0;
    if (game.settings.isometric) {
        // White pieces look at the board from the other side.
        const int orientation = game.settings.orientation & 3;
        row = (pieceCode & 8) ? orientation : (orientation + 2) % 4;
    }
    painter.drawImage(x, y, game.piecesImage->sprite, column * g.pieceWidth, row * g.pieceHeight,
                      g.pieceWidth, g.pieceHeight);
}

void drawMarkers(QPainter& painter, GameController& game) {
    EngineBridge& bridge = engineBridge();
    const Settings& s = game.settings;
    const int type = game.geometry.screenType;
    int column = 0, row = 0;
    // 1. The keyboard cursor of the small screens.
    if ((type == ScreenNarrow || type == ScreenLow) && game.cursorColumn != -1 && game.cursorRow != -1)
        drawMarker(painter, game, game.cursorColumn, game.cursorRow, MarkerSelected);
    // 2. Pieces that can move, while the stylus rests on another square.
    if (game.showMovablePieces && game.stylusDown && s.showLegalMoves)
        while (bridge.nextMovablePiece(column, row)) drawMarker(painter, game, column, row, MarkerTarget);
    // 3. Destinations of the selected piece.
    if ((game.pieceSelected || game.stylusDown) && s.showLegalMoves)
        while (bridge.nextDestination(column, row)) drawMarker(painter, game, column, row, MarkerTarget);
    // 4. The selected square.
    if (game.pieceSelected && squareSelected(game))
        drawMarker(painter, game, game.selectedColumn, game.selectedRow, MarkerSelected);
    // 5. The last move.
    int fromColumn, fromRow, toColumn, toRow;
    if (s.showLastMove && lastMoveSquares(fromColumn, fromRow, toColumn, toRow) &&
        onBoard(fromColumn, fromRow)) {
        drawMarker(painter, game, fromColumn, fromRow, MarkerLastMove);
        drawMarker(painter, game, toColumn, toRow, MarkerLastMove);
    }
}

void drawPieces(QPainter& painter, GameController& game) {
    const bool iso = game.settings.isometric != 0;
    const int orientation = game.settings.orientation;

    // 1. Visiting order: the isometric board is drawn from the back to the front.
    bool rowsDown = false, columnsDown = false;
    if (iso && orientation == 2) rowsDown = true;
    if (iso && orientation == 3) rowsDown = columnsDown = true;

    // 2. The floating piece of the isometric board.
    bool pending = false;
    int floatX = 0, floatY = 0, floatPiece = 0;
    if (iso && game.stylusDown && squareSelected(game) && !game.animating) {
        pending = true;
        floatPiece = game.selectedPiece;
        piecePosition(game, game.selectedColumn, game.selectedRow, floatX, floatY);
        floatX += game.dragDX;
        floatY += game.dragDY;
    } else if (iso && game.animating) {
        pending = true;
        floatPiece = game.animPiece;
        floatX = static_cast<int>(game.animX);
        floatY = static_cast<int>(game.animY);
    }

    // 3. Every square; the floating piece goes in before the first piece in front of it.
    const int halfCell = game.geometry.cellWidth / 2;
    for (int i = 0; i < 8; ++i) {
        const int row = rowsDown ? 7 - i : i;
        for (int j = 0; j < 8; ++j) {
            const int column = columnsDown ? 7 - j : j;
            const bool selected = column == game.selectedColumn && row == game.selectedRow;
            int piece = shownPieceAt(column, row); // a reviewed position, or the game
            if (game.animating) {
                if (column == game.animHiddenColumn && row == game.animHiddenRow) piece = game.capturedPiece;
                if (selected) continue;
            } else if (game.stylusDown && selected) {
                continue;
            }
            if (piece == Empty) continue;
            int x = 0, y = 0;
            boardPiecePosition(game, column, row, x, y);
            if (pending && floatY < y && std::abs(floatX - x) <= halfCell) {
                drawPiece(painter, game, floatX, floatY, floatPiece);
                pending = false;
            }
            drawPiece(painter, game, x, y, piece);
        }
    }
    // 4.
    if (pending) drawPiece(painter, game, floatX, floatY, floatPiece);
}

void paintGame(QPainter& painter, GameController& game, int screenWidth, int screenHeight) {
    const bool iso = game.settings.isometric != 0;
    // 1. The clock timer of a new game starts with its first paint.
    game.boardPainted(game.view);
    // 2. The side panel.
    if (desktop(game)) {
        drawDesktopPanel(painter, game);
    } else {
        painter.setFont(panelFont(game.geometry.screenType));
        painter.setPen(Qt::black);
        const PanelContext panel{painter, game, screenWidth, screenHeight};
        drawMoveList(panel);
        drawStatus(panel);
        drawClocks(panel);
    }
    // 3. The board.
    drawBoard(painter, game);
    drawCoordinates(painter, game);
    // 4. Markers lie under the isometric pieces and over the flat ones.
    // A reviewed position shows only its own move and check.
    const bool review = reviewing();
    if (iso) {
        if (!review) drawMarkers(painter, game);
        drawCheckAndHint(painter, game);
        drawPieces(painter, game);
    } else {
        drawPieces(painter, game);
        if (!review) drawMarkers(painter, game);
        drawCheckAndHint(painter, game);
    }
    // 5. The flat piece being dragged follows the stylus over everything.
    if (!iso && game.stylusDown && !game.animating && squareSelected(game)) {
        int x = 0, y = 0;
        piecePosition(game, game.selectedColumn, game.selectedRow, x, y);
        if (game.geometry.screenType == ScreenQvgaLandscape) y += 1;
        drawPiece(painter, game, x + game.dragDX, y + game.dragDY, game.selectedPiece);
    }
    // 6. The sliding piece, one frame further on each paint.
    if (game.animating) {
        if (!iso)
            drawPiece(painter, game, static_cast<int>(game.animX), static_cast<int>(game.animY),
                      game.animPiece);
        game.advanceSlide();
    }
    // 7. The promotion picker over everything.
    drawPromotionPicker(painter, game);
}

void paintGameView(QImage& target, GameController& game) {
    paintView(target, game, nullptr);
}

bool paintGameViewWithStandIn(QImage& target, GameController& game) {
    standInAllowed = true;
    standInDrawn = false;
    paintView(target, game, nullptr);
    standInAllowed = false;
    return !standInDrawn;
}

void paintDesktopPicturesLater(const GameController& game, qreal devicePixelRatio, QObject* receiver,
                               std::function<void()> ready) {
    paintLivePicturesLater(desktopSkin(game), game.settings.isometric ? 1 : 0, game.geometry.cellWidth,
                           devicePixelRatio, receiver, std::move(ready));
}

void paintView(QImage& target, GameController& game, Splash* splash) {
    target.fill(Qt::white);
    QPainter painter(&target);
    if (splash) {
        paintSplash(painter, *splash);
        return;
    }
    int width = target.width(), height = target.height();
    if (game.platform) {
        width = game.platform->screenWidth();
        height = game.platform->screenHeight();
    }
    paintGame(painter, game, width, height);
}
