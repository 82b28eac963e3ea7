// The painters of the game's pictures, shared by the build-time generator (the
// BMP files of the emulated screens) and the program (the same pictures at the
// window's size). Every picture is painted here by code: wood from a noise
// function of our own, pieces from vector outlines of our own design, lettering
// in the DejaVu fonts (see FONTS.md).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include "families.h"

class QPainter;

namespace art {

// Sheet order of the pieces: White pawn, bishop, knight, rook, queen, king.
enum PieceKind { Pawn, Bishop, Knight, Rook, Queen, King };
constexpr int pieceKinds = 6;

// Markers, in sheet order: selected square (also the cursor), last move, legal destination.
constexpr int markerKinds = 3;

// Pure white is the transparent colour of pieces and markers.
inline const QColor transparentKey(255, 255, 255);

// A fresh fully transparent canvas for antialiased drawing.
QImage canvas(int width, int height);
// Turns an antialiased canvas into a sprite keyed on pure white: covered pixels
// become opaque (never pure white), the rest pure white.
QImage keyed(const QImage& argb);
// Opaque copy for pictures that are drawn without a transparent colour.
QImage opaque(const QImage& image);
// Writes a 24-bit BMP; returns false on failure.
bool saveBmp(const QImage& image, const QString& path);

// Smooth value noise in 0..1 and its fractal sum, deterministic for a seed.
double noise(double x, double y, int seed);
double fractalNoise(double x, double y, int seed, int octaves);

// Pieces: outline and inner lines in a 100 x 100 design box (y down, base at y 92).
struct PieceShape {
    QPainterPath body;    // the silhouette, filled and outlined
    QPainterPath details; // inner lines, stroked in the contrast colour
    QPainterPath dots;    // small filled marks (eye, nostril)
    double baseTop;       // design y where the pedestal starts (the iso pieces replace it)
    QPainterPath upper;   // the body above baseTop, on which the iso pieces stand
};
PieceShape pieceShape(PieceKind kind, bool small);

// Draws a flat piece filling a size x size box at the painter's origin.
void drawFlatPiece(QPainter& painter, int size, PieceKind kind, bool black);
// Draws an isometric piece in a width x height box; the foot's centre is at
// (width / 2, footY), the cell's diamond is cellWidth x cellHeight, view 0..3.
void drawIsoPiece(QPainter& painter, const IsoLayout& iso, int footY, PieceKind kind, bool black, int view);
// Its two layers: the round foot, the same under every piece of a colour, and the body on it.
void drawIsoFoot(QPainter& painter, const IsoLayout& iso, int footY, bool black);
void drawIsoBody(QPainter& painter, const IsoLayout& iso, int footY, PieceKind kind, bool black, int view);

// Board tiles of a skin: the tile for odd squares (dark) or even squares (light).
QImage boardTile(int skin, int size, bool light);
// The isometric board picture; alternate = the odd-orientation view.
QImage isoBoard(const IsoLayout& iso, bool alternate);
// Its size in the layout's pixels, and the board painted in the painter's
// coordinates (a scaled painter paints it larger) with a wood texture of
// textureSize pixels per square.
QSize isoBoardSize(const IsoLayout& iso);
void paintIsoBoard(QPainter& painter, const IsoLayout& iso, bool alternate, int textureSize);
// The same with the two wood tiles of skin 0 already painted (square, equal sizes).
void paintIsoBoard(QPainter& painter, const IsoLayout& iso, bool alternate, const QImage& lightTile,
                   const QImage& darkTile);
// The board in two layers: what both views share (the table's shadow and the
// board's sides), then the squares and their frame on top of it. The frame
// stroked is that of the program folder's pictures; filled, it looks the same
// (a few antialiased pixels differ slightly) and paints three times faster.
enum class IsoFrameOutline { Stroked, Filled };
// The table's shadow painted whole (the program folder's pictures), or only
// where the sides and squares painted over it leave it visible: the same
// picture but for a few levels at the edges under them, much quicker to paint.
enum class IsoShadow { Whole, Visible };
void paintIsoBoardBase(QPainter& painter, const IsoLayout& iso, IsoShadow shadow = IsoShadow::Whole);
void paintIsoBoardTop(QPainter& painter, const IsoLayout& iso, bool alternate, const QImage& lightTile,
                      const QImage& darkTile, IsoFrameOutline outline);
// The squares as one flat picture of 8 x 8 tiles (the top maps it onto the
// diamond), and the top painted from it: painted once, it serves several painters
// that each paint a band of the board picture.
QImage isoBoardPlane(const QImage& lightTile, const QImage& darkTile, bool alternate);
void paintIsoBoardTop(QPainter& painter, const IsoLayout& iso, const QImage& plane, IsoFrameOutline outline);
// The top's two steps: the squares (the plane mapped onto the diamond; the same
// pixels whichever band of the picture a painter covers) and then their frame.
void paintIsoBoardSquares(QPainter& painter, const IsoLayout& iso, const QImage& plane,
                          IsoFrameOutline outline);
void paintIsoBoardFrame(QPainter& painter, const IsoLayout& iso, IsoFrameOutline outline);
// Marker sheets, and one marker of a sheet drawn antialiased at the painter's origin.
QImage flatSelection(const SpriteFile& file);
QImage isoSelection(const IsoLayout& iso);
void drawFlatMarker(QPainter& painter, const SpriteFile& file, int marker);
void drawIsoMarker(QPainter& painter, const IsoLayout& iso, int marker);
// Splash picture and its ten-frame animation strip.
QImage splashPicture(const Family& family);
QImage splashAnimation();
// The four 16 x 16 command-bar images: hint, takeback, forward, rotate.
QImage buttonImage(int index);
// The same image painted on a 16-unit grid at any size, antialiased over transparency.
void paintButton(QPainter& painter, int index);
QImage buttonPicture(int index, int pixels);

} // namespace art
