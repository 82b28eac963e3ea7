#pragma once
// The board's pictures painted at run time for a board of any size. The same
// painters as the BMP files of the emulated screens paint them at the size the
// window needs times the screen's device pixel ratio; each image carries that
// ratio, so a QPainter on a HiDPI widget draws it crisp at its logical size.
//
// Every size and offset below is in logical pixels (the widget's coordinates);
// an image's pixel size is its logical size times devicePixelRatio, rounded up.
// Pieces and markers are ARGB with a transparent, antialiased edge.
//
// The check, hint and coordinate marks of the board are vector drawings
// (ui/board/markers.cpp) and scale by themselves; they have no picture here.
//
// Usage, in each paint (after the first call for a size the lookup is cheap):
//     const LivePictures& art = livePictures(skin, isometric, cellPx, widget->devicePixelRatioF());
//     painter.drawImage(boardX, boardY, liveBoard(art, orientation));
//     painter.drawImage(cellX + art.pieceOffsetX, cellY + art.pieceOffsetY, livePiece(art, code, orientation));

#include <QImage>

#include <functional>

class QObject;

namespace art {
struct IsoLayout;
}

// Pieces in sheet order: White pawn, bishop, knight, rook, queen, king, then Black's.
constexpr int LivePieceCount = 12;
// The isometric pieces are seen from four sides (only the knight looks different).
constexpr int LiveViewCount = 4;
// Markers: the selected square (also the keyboard cursor), the last move's two
// squares, a legal destination (also a piece that can move).
constexpr int LiveMarkerSelected = 0;
constexpr int LiveMarkerLastMove = 1;
constexpr int LiveMarkerTarget = 2;
constexpr int LiveMarkerCount = 3;
// Picture sets kept; asking for another size paints it and drops the oldest.
constexpr int LivePictureSetsKept = 4;
// The largest square painted, in logical and in device pixels (an 8K screen's
// board has squares of about 540): beyond that the ratio is lowered.
constexpr int LiveMaxCellPx = 512;
constexpr int LiveMaxDeviceCellPx = 640;

struct LivePictures {
    // What the set was painted for, after bad values were brought into range:
    // skin 0..2 (the isometric board is always the wood of skin 0, so it gives 0),
    // isometric 0 or 1, cellPx 8..LiveMaxCellPx, devicePixelRatio 0.5..8 and at
    // most LiveMaxDeviceCellPx / cellPx.
    int skin = 0;
    int isometric = 0;
    int cellPx = 0;
    double devicePixelRatio = 1;

    // One square: the flat square (cellPx x cellPx) or the box of the isometric
    // cell's diamond (cellPx wide, about half as high; always even).
    int cellWidth = 0;
    int cellHeight = 0;

    // Flat: the whole board, 8 cellPx square, a8 (a light square) at the top-left;
    // it looks the same in every orientation.
    // Isometric: the board seen in orientations 0 and 2, the board's two visible
    // sides and its shadow below the diamond, transparent around it.
    // liveBoard() gives the picture for any orientation.
    QImage board;
    // The isometric view for orientations 1 and 3 costs as much as the first one
    // and is seldom needed: liveBoard() paints it on first use from the kept wood.
    mutable QImage boardTurned;
    QImage isoLightWood;
    QImage isoDarkWood;
    // Where the left corner of the isometric diamond lies in the board picture
    // (its top corner is at y 0, its right corner at x 8 * cellWidth). Flat: 0, 0.
    // Square (column c, row r) of the unturned board has its cell box's top-left
    // at (boardCornerX + (c + r) * cellWidth / 2, boardCornerY + (r - c - 1) * cellHeight / 2).
    int boardCornerX = 0;
    int boardCornerY = 0;
    // Flat: one light and one dark square, cellPx x cellPx. Isometric: null.
    QImage lightTile;
    QImage darkTile;

    // The piece images, pieceWidth x pieceHeight each; index [view][piece].
    // Flat: every view is the same image.
    int pieceWidth = 0;
    int pieceHeight = 0;
    // From the cell box's top-left corner to the piece image's top-left corner
    // (isometric: negative y, the piece stands up out of its cell).
    int pieceOffsetX = 0;
    int pieceOffsetY = 0;
    // Where the piece stands inside its image: flat, the middle of the pedestal's
    // bottom edge; isometric, the centre of the round foot, which comes on the
    // centre of the cell's diamond. Drawing order and drag offsets can use it.
    int footX = 0;
    int footY = 0;
    QImage pieces[LiveViewCount][LivePieceCount];

    // Markers, markerWidth x markerHeight each, drawn at the cell box's top-left
    // corner plus the offset; the flat ones frame the square, the isometric ones
    // lie on the diamond under the pieces.
    int markerWidth = 0;
    int markerHeight = 0;
    int markerOffsetX = 0;
    int markerOffsetY = 0;
    QImage markers[LiveMarkerCount];
};

// The picture set for a board whose flat square (or isometric cell width) is
// cellPx logical pixels, painted at cellPx x devicePixelRatio device pixels.
// Painted on the first call for these values, then kept; the reference stays
// valid until LivePictureSetsKept other sets have been asked for. GUI thread only.
const LivePictures& livePictures(int skin, int isometric, int cellPx, double devicePixelRatio);

// The kept set for these values, or null; nothing is painted. GUI thread only.
const LivePictures* keptLivePictures(int skin, int isometric, int cellPx, double devicePixelRatio);
// The most recently used kept set of a style (skin and isometric as livePictures
// takes them), whatever its size and ratio, or null: a stand-in, drawn scaled,
// while the set of a new size is painted. GUI thread only.
const LivePictures* latestLivePictures(int skin, int isometric);
// Paints the set for these values on another thread, then keeps it and calls
// ready on the GUI thread (not if the receiver is gone by then). Nothing when it
// is kept already. While one set is painted only the latest request waits, so a
// window being resized gets the set of the size it stops at. Without an
// application object the set is painted at once. GUI thread only.
void paintLivePicturesLater(int skin, int isometric, int cellPx, double devicePixelRatio, QObject* receiver,
                            std::function<void()> ready);
// The same set painted afresh, not kept (the benchmark times it).
LivePictures paintLivePictures(int skin, int isometric, int cellPx, double devicePixelRatio);

// The isometric layout the set of a cell cellPx wide is painted in (tools/art/art.h).
art::IsoLayout liveIsoLayout(int cellPx);

// The board picture for an orientation 0..3 (any int is taken modulo 4); the
// first call for an isometric set's odd orientations paints that view.
// GUI thread only, as livePictures.
const QImage& liveBoard(const LivePictures& pictures, int orientation);

// The image of a piece code (the engine's codes, as the board draws them) in an
// orientation 0..3: the isometric White pieces are seen from the other side of
// the board. A null image for an empty square or anything that is not a piece.
const QImage& livePiece(const LivePictures& pictures, int pieceCode, int orientation);
