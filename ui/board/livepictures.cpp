#include "ui/board/livepictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <list>
#include <memory>

#include "engine/core/position.h"
#include "tools/art/art.h"

namespace {

// Logical box to device pixels: whole pixels that cover the box.
QSize deviceSize(int width, int height, double dpr) {
    return QSize(std::max(1, int(std::ceil(width * dpr - 1e-6))), std::max(1, int(std::ceil(height * dpr - 1e-6))));
}

// A transparent canvas of a logical size, and a painter on it in logical pixels.
QImage transparentCanvas(int width, int height, double dpr) {
    QImage image(deviceSize(width, height, dpr), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginLogical(QPainter& painter, double dpr) {
    painter.scale(dpr, dpr);
}

void flatBoard(LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    const int tile = std::max(1, int(std::lround(art.cellPx * dpr)));
    art.lightTile = art::boardTile(art.skin, tile, true);
    art.darkTile = art::boardTile(art.skin, tile, false);
    const int side = std::max(1, int(std::lround(8 * art.cellPx * dpr)));
    QImage board(side, side, QImage::Format_RGB32);
    {
        QPainter p(&board);
        // Square edges on whole device pixels; a tile a pixel short or long of
        // its place is stretched, which no eye sees.
        auto edge = [&](int i) { return int(std::lround(i * art.cellPx * dpr)); };
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const QRect place(edge(column), edge(row), edge(column + 1) - edge(column), edge(row + 1) - edge(row));
                p.drawImage(place, (column + row) % 2 == 0 ? art.lightTile : art.darkTile);
            }
    }
    board.setDevicePixelRatio(dpr);
    art.lightTile.setDevicePixelRatio(dpr);
    art.darkTile.setDevicePixelRatio(dpr);
    art.board = board;
    art.boardAlt = board;
}

void flatPieces(LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    // The sets of the emulated screens: a 48-pixel piece on a 56-pixel square.
    const int size = std::max(4, int(std::lround(art.cellPx * 6.0 / 7.0)));
    art.pieceWidth = art.pieceHeight = size;
    art.pieceOffsetX = art.pieceOffsetY = (art.cellPx - size) / 2;
    art.footX = size / 2;
    art.footY = int(std::lround(size * 0.92));
    for (int piece = 0; piece < LivePieceCount; ++piece) {
        QImage image = transparentCanvas(size, size, dpr);
        QPainter p(&image);
        beginLogical(p, dpr);
        art::drawFlatPiece(p, size, art::PieceKind(piece % art::pieceKinds), piece >= art::pieceKinds);
        p.end();
        image.setDevicePixelRatio(dpr);
        for (int view = 0; view < LiveViewCount; ++view) art.pieces[view][piece] = image;
    }
}

void flatMarkers(LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    // A little wider than the square, as the emulated screens' markers.
    const int margin = std::max(2, art.cellPx / 14);
    const int side = art.cellPx + 2 * margin;
    art.markerWidth = art.markerHeight = side;
    art.markerOffsetX = art.markerOffsetY = -margin;
    const art::SpriteFile file{"", side, side, art.cellPx};
    for (int marker = 0; marker < LiveMarkerCount; ++marker) {
        QImage image = transparentCanvas(side, side, dpr);
        QPainter p(&image);
        beginLogical(p, dpr);
        art::drawFlatMarker(p, file, marker);
        p.end();
        image.setDevicePixelRatio(dpr);
        art.markers[marker] = image;
    }
}

// The isometric layout of a cell cellPx wide, in the proportions of the large
// emulated screens (a 58 x 28 cell, 31 x 50 pieces), with the diamond's top
// corner at the top of the board picture.
art::IsoLayout isoLayout(int cellPx) {
    art::IsoLayout iso{};
    iso.cellWidth = cellPx;
    iso.cellHeight = 2 * std::max(1, int(std::lround(cellPx * 14.0 / 58.0)));
    iso.originX = 0;
    iso.boardHeight = 8 * iso.cellHeight;
    iso.originY = iso.cellHeight / 2; // the left corner at 4 cells down
    iso.boardWidth = 8 * iso.cellWidth;
    iso.pieceWidth = std::max(4, int(std::lround(cellPx * 31.0 / 58.0)));
    iso.pieceHeight = std::max(6, int(std::lround(cellPx * 50.0 / 58.0)));
    iso.markerWidth = iso.cellWidth + 1;
    iso.markerHeight = iso.cellHeight + 2;
    return iso;
}

void isoBoards(LivePictures& art, const art::IsoLayout& iso) {
    const double dpr = art.devicePixelRatio;
    const QSize size = art::isoBoardSize(iso);
    const int texture = std::max(1, int(std::lround(iso.cellWidth * dpr)));
    for (int alternate = 0; alternate < 2; ++alternate) {
        QImage image = transparentCanvas(size.width(), size.height(), dpr);
        QPainter p(&image);
        beginLogical(p, dpr);
        art::paintIsoBoard(p, iso, alternate != 0, texture);
        p.end();
        image.setDevicePixelRatio(dpr);
        (alternate ? art.boardAlt : art.board) = image;
    }
    art.boardCornerX = iso.originX;
    art.boardCornerY = iso.originY + iso.boardHeight / 2 - iso.cellHeight / 2;
}

void isoPieces(LivePictures& art, const art::IsoLayout& iso) {
    const double dpr = art.devicePixelRatio;
    const int w = iso.pieceWidth, h = iso.pieceHeight;
    art.pieceWidth = w;
    art.pieceHeight = h;
    // As the board places its isometric pieces: centred on the cell, the foot on its centre.
    art.pieceOffsetX = iso.cellWidth / 2 - w / 2;
    art.pieceOffsetY = -(h / 2);
    art.footX = w / 2;
    art.footY = iso.cellHeight / 2 + h / 2;
    for (int view = 0; view < LiveViewCount; ++view)
        for (int piece = 0; piece < LivePieceCount; ++piece) {
            const art::PieceKind kind = art::PieceKind(piece % art::pieceKinds);
            // Only the knight turns its head with the view.
            if (view > 0 && kind != art::Knight) {
                art.pieces[view][piece] = art.pieces[0][piece];
                continue;
            }
            QImage image = transparentCanvas(w, h, dpr);
            QPainter p(&image);
            beginLogical(p, dpr);
            p.setClipRect(0, 0, w, h);
            art::drawIsoPiece(p, iso, art.footY, kind, piece >= art::pieceKinds, view);
            p.end();
            image.setDevicePixelRatio(dpr);
            art.pieces[view][piece] = image;
        }
}

void isoMarkers(LivePictures& art, const art::IsoLayout& iso) {
    const double dpr = art.devicePixelRatio;
    art.markerWidth = iso.markerWidth;
    art.markerHeight = iso.markerHeight;
    // The painter centres the diamond for a marker put one pixel right and down of its centred place.
    art.markerOffsetX = -((iso.markerWidth - iso.cellWidth) / 2) + 1;
    art.markerOffsetY = -((iso.markerHeight - iso.cellHeight) / 2) + 1;
    for (int marker = 0; marker < LiveMarkerCount; ++marker) {
        QImage image = transparentCanvas(iso.markerWidth, iso.markerHeight, dpr);
        QPainter p(&image);
        beginLogical(p, dpr);
        art::drawIsoMarker(p, iso, marker);
        p.end();
        image.setDevicePixelRatio(dpr);
        art.markers[marker] = image;
    }
}

// The values a set is painted for: bad ones give the nearest sensible set
// rather than a huge or an empty one.
struct SetKey {
    int skin, isometric, cellPx;
    double dpr;
    bool operator==(const SetKey&) const = default;
};

SetKey keyOf(int skin, int isometric, int cellPx, double devicePixelRatio) {
    SetKey key;
    key.isometric = isometric ? 1 : 0;
    key.skin = (skin >= 0 && skin <= 2 && !key.isometric) ? skin : 0;
    key.cellPx = std::clamp(cellPx, 8, 1024);
    // NaN and non-positive ratios count as 1.
    const double dpr = devicePixelRatio;
    key.dpr = dpr >= 0.5 ? std::min(dpr, 8.0) : (dpr > 0 ? 0.5 : 1.0);
    return key;
}

} // namespace

LivePictures paintLivePictures(int skin, int isometric, int cellPx, double devicePixelRatio) {
    const SetKey key = keyOf(skin, isometric, cellPx, devicePixelRatio);
    LivePictures art;
    art.skin = key.skin;
    art.isometric = key.isometric;
    art.cellPx = key.cellPx;
    art.devicePixelRatio = key.dpr;
    if (!art.isometric) {
        art.cellWidth = art.cellHeight = art.cellPx;
        flatBoard(art);
        flatPieces(art);
        flatMarkers(art);
    } else {
        const art::IsoLayout iso = isoLayout(art.cellPx);
        art.cellWidth = iso.cellWidth;
        art.cellHeight = iso.cellHeight;
        isoBoards(art, iso);
        isoPieces(art, iso);
        isoMarkers(art, iso);
    }
    return art;
}

const LivePictures& livePictures(int skin, int isometric, int cellPx, double devicePixelRatio) {
    // Most recently used first; a set does not move while it is kept.
    static std::list<std::unique_ptr<LivePictures>> kept;
    const SetKey key = keyOf(skin, isometric, cellPx, devicePixelRatio);
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        const LivePictures& set = **it;
        if (keyOf(set.skin, set.isometric, set.cellPx, set.devicePixelRatio) == key) {
            kept.splice(kept.begin(), kept, it);
            return *kept.front();
        }
    }
    kept.push_front(std::make_unique<LivePictures>(paintLivePictures(skin, isometric, cellPx, devicePixelRatio)));
    while (kept.size() > std::size_t(LivePictureSetsKept)) kept.pop_back();
    return *kept.front();
}

const QImage& livePiece(const LivePictures& pictures, int pieceCode, int orientation) {
    static const QImage none;
    const int type = pieceCode & 7;
    if (pieceCode < 0 || pieceCode > BlackKing || type < Pawn || type > King) return none;
    const bool black = (pieceCode & BlackOffset) != 0;
    const int index = type - Pawn + (black ? 6 : 0);
    int view = 0;
    if (pictures.isometric) {
        // White pieces look at the board from the other side.
        const int o = orientation & 3;
        view = black ? o : (o + 2) % 4;
    }
    return pictures.pieces[view][index];
}
