#include "ui/board/livepictures.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "engine/core/position.h"
#include "tools/art/art.h"

// The isometric layout of a cell cellPx wide, in the proportions of the large
// emulated screens (a 58 x 28 cell, 31 x 50 pieces), with the diamond's top
// corner at the top of the board picture.
art::IsoLayout liveIsoLayout(int cellPx) {
    art::IsoLayout iso{};
    iso.cellWidth = cellPx;
    iso.cellHeight = 2 * std::max(1, int(std::lround(cellPx * 14.0 / 58.0)));
    iso.originX = 0;
    iso.boardHeight = 8 * iso.cellHeight;
    iso.originY = iso.cellHeight / 2; // puts the left corner 4 cells down
    iso.boardWidth = 8 * iso.cellWidth;
    iso.pieceWidth = std::max(4, int(std::lround(cellPx * 31.0 / 58.0)));
    iso.pieceHeight = std::max(6, int(std::lround(cellPx * 50.0 / 58.0)));
    iso.markerWidth = iso.cellWidth + 1;
    iso.markerHeight = iso.cellHeight + 2;
    return iso;
}

namespace {

using Task = std::function<void()>;

// Runs independent paints on the machine's cores (a resize waits for all of
// them); each task writes its own images only.
void runTasks(const std::vector<Task>& tasks) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < tasks.size(); i = next++) tasks[i]();
    };
    const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < cores && i < tasks.size(); ++i) helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers) helper.join();
}

int devicePixels(double logical, double dpr) {
    return std::max(1, int(std::lround(logical * dpr)));
}

// A transparent canvas covering a logical box, and a painter on it in logical pixels.
QImage transparentCanvas(int width, int height, double dpr) {
    const QSize size(std::max(1, int(std::ceil(width * dpr - 1e-6))), std::max(1, int(std::ceil(height * dpr - 1e-6))));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

template <typename Paint>
QImage paintedImage(int width, int height, double dpr, Paint paint) {
    QImage image = transparentCanvas(width, height, dpr);
    QPainter p(&image);
    p.scale(dpr, dpr);
    paint(p);
    p.end();
    image.setDevicePixelRatio(dpr);
    return image;
}

// The flat board: tile edges on whole device pixels; a tile a pixel short or
// long of its place is stretched, which no eye sees.
QImage flatBoardImage(const LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    QImage board(devicePixels(8 * art.cellPx, dpr), devicePixels(8 * art.cellPx, dpr), QImage::Format_RGB32);
    QPainter p(&board);
    auto edge = [&](int i) { return int(std::lround(i * art.cellPx * dpr)); };
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const QRect place(edge(column), edge(row), edge(column + 1) - edge(column), edge(row + 1) - edge(row));
            p.drawImage(place, (column + row) % 2 == 0 ? art.lightTile : art.darkTile);
        }
    p.end();
    board.setDevicePixelRatio(dpr);
    return board;
}

void paintFlat(LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    const int cell = art.cellPx;
    art.cellWidth = art.cellHeight = cell;
    // As on the emulated screens: a 48-pixel piece on a 56-pixel square.
    const int size = std::max(4, int(std::lround(cell * 6.0 / 7.0)));
    art.pieceWidth = art.pieceHeight = size;
    art.pieceOffsetX = art.pieceOffsetY = (cell - size) / 2;
    art.footX = size / 2;
    art.footY = int(std::lround(size * 0.92));
    // Markers a little wider than the square, centred on it.
    const int margin = std::max(2, cell / 14);
    const art::SpriteFile markerFile{"", cell + 2 * margin, cell + 2 * margin, cell};
    art.markerWidth = art.markerHeight = markerFile.width;
    art.markerOffsetX = art.markerOffsetY = -margin;

    std::vector<Task> tasks;
    const int tile = devicePixels(cell, dpr);
    tasks.push_back([&art, tile] { art.lightTile = art::boardTile(art.skin, tile, true); });
    tasks.push_back([&art, tile] { art.darkTile = art::boardTile(art.skin, tile, false); });
    for (int piece = 0; piece < LivePieceCount; ++piece)
        tasks.push_back([&art, piece, size, dpr] {
            art.pieces[0][piece] = paintedImage(size, size, dpr, [&](QPainter& p) {
                art::drawFlatPiece(p, size, art::PieceKind(piece % art::pieceKinds), piece >= art::pieceKinds);
            });
        });
    for (int marker = 0; marker < LiveMarkerCount; ++marker)
        tasks.push_back([&art, marker, markerFile, dpr] {
            art.markers[marker] = paintedImage(markerFile.width, markerFile.height, dpr,
                                               [&](QPainter& p) { art::drawFlatMarker(p, markerFile, marker); });
        });
    runTasks(tasks);

    art.board = flatBoardImage(art);
    art.lightTile.setDevicePixelRatio(dpr);
    art.darkTile.setDevicePixelRatio(dpr);
    for (int view = 1; view < LiveViewCount; ++view)
        for (int piece = 0; piece < LivePieceCount; ++piece) art.pieces[view][piece] = art.pieces[0][piece];
}

// The squares and their frame painted over a board picture's shadow and sides.
void paintBoardTop(QImage& board, const LivePictures& art, const art::IsoLayout& iso, bool turned) {
    const double dpr = art.devicePixelRatio;
    board.setDevicePixelRatio(1.0); // painted in device pixels, scaled here
    QPainter p(&board);
    p.scale(dpr, dpr);
    art::paintIsoBoardTop(p, iso, turned, art.isoLightWood, art.isoDarkWood, art::IsoFrameOutline::Filled);
    p.end();
    board.setDevicePixelRatio(dpr);
}

// The squares of rows [top, bottom) of a board picture, from a plane painted
// beforehand, through a picture of those rows that shares the board's memory: the
// bands are painted side by side, each pixel as in one go.
void paintSquaresBand(uchar* bits, const QImage& board, int top, int bottom, double dpr,
                      const art::IsoLayout& iso, const QImage& plane) {
    QImage band(bits + top * board.bytesPerLine(), board.width(), bottom - top, board.bytesPerLine(),
                board.format());
    QPainter p(&band);
    p.translate(0, -top);
    p.scale(dpr, dpr);
    art::paintIsoBoardSquares(p, iso, plane, art::IsoFrameOutline::Filled);
}

constexpr int SquaresBands = 4;

void paintIsometric(LivePictures& art) {
    const double dpr = art.devicePixelRatio;
    const art::IsoLayout iso = liveIsoLayout(art.cellPx);
    art.cellWidth = iso.cellWidth;
    art.cellHeight = iso.cellHeight;
    art.boardCornerX = iso.originX;
    art.boardCornerY = iso.originY + iso.boardHeight / 2 - iso.cellHeight / 2;
    // As the board places its isometric pieces: centred on the cell, the foot on its centre.
    const int w = iso.pieceWidth, h = iso.pieceHeight;
    art.pieceWidth = w;
    art.pieceHeight = h;
    art.pieceOffsetX = iso.cellWidth / 2 - w / 2;
    art.pieceOffsetY = -(h / 2);
    art.footX = w / 2;
    art.footY = iso.cellHeight / 2 + h / 2;
    // The painter centres the diamond for a marker put one pixel right and down of its centred place.
    art.markerWidth = iso.markerWidth;
    art.markerHeight = iso.markerHeight;
    art.markerOffsetX = -((iso.markerWidth - iso.cellWidth) / 2) + 1;
    art.markerOffsetY = -((iso.markerHeight - iso.cellHeight) / 2) + 1;

    // The wood of the squares is seen slanted and at half height: a texture of
    // about 0.6 of the cell's width gives one texel per device pixel.
    const int texture = std::max(24, devicePixels(iso.cellWidth * 0.6, dpr));
    QImage feet[2];
    QImage plane;
    std::vector<Task> first;
    // The wood and the squares' plane made of it: the top, painted next with the
    // pieces, is the longest task of all, and the plane its first part.
    first.push_back([&art, &plane, texture] {
        art.isoLightWood = art::boardTile(0, texture, true);
        art.isoDarkWood = art::boardTile(0, texture, false);
        plane = art::isoBoardPlane(art.isoLightWood, art.isoDarkWood, false);
    });
    // The shadow and sides need no wood: painted while the wood is.
    const QSize size = art::isoBoardSize(iso);
    first.push_back([&] {
        art.board = paintedImage(size.width(), size.height(), dpr, [&](QPainter& p) {
            art::paintIsoBoardBase(p, iso, art::IsoShadow::Visible);
        });
    });
    // Every piece of a colour stands on the same foot: painted once, then each body on a copy.
    for (int black = 0; black < 2; ++black)
        first.push_back([&, black] {
            feet[black] = paintedImage(iso.pieceWidth, iso.pieceHeight, dpr,
                                       [&](QPainter& p) { art::drawIsoFoot(p, iso, art.footY, black != 0); });
        });
    for (int marker = 0; marker < LiveMarkerCount; ++marker)
        first.push_back([&art, &iso, marker, dpr] {
            art.markers[marker] = paintedImage(iso.markerWidth, iso.markerHeight, dpr,
                                               [&](QPainter& p) { art::drawIsoMarker(p, iso, marker); });
        });
    runTasks(first);

    std::vector<Task> second;
    // The squares, the longest step, in bands painted side by side with the pieces.
    art.board.setDevicePixelRatio(1.0);   // painted in device pixels, scaled by the painters
    uchar* const bits = art.board.bits(); // here, not by the bands' threads
    for (int band = 0; band < SquaresBands; ++band) {
        const int top = art.board.height() * band / SquaresBands;
        const int bottom = art.board.height() * (band + 1) / SquaresBands;
        second.push_back(
            [&, bits, top, bottom] { paintSquaresBand(bits, art.board, top, bottom, dpr, iso, plane); });
    }
    for (int view = 0; view < LiveViewCount; ++view)
        for (int piece = 0; piece < LivePieceCount; ++piece) {
            // Only the knight turns its head with the view; the others are copied below.
            const art::PieceKind kind = art::PieceKind(piece % art::pieceKinds);
            if (view > 0 && kind != art::Knight) continue;
            second.push_back([&, view, piece, kind] {
                const bool black = piece >= art::pieceKinds;
                QImage image = feet[black].copy();
                image.setDevicePixelRatio(1.0); // painted in device pixels, scaled here
                QPainter p(&image);
                p.scale(dpr, dpr);
                p.setClipRect(0, 0, iso.pieceWidth, iso.pieceHeight);
                art::drawIsoBody(p, iso, art.footY, kind, black, view);
                p.end();
                image.setDevicePixelRatio(dpr);
                art.pieces[view][piece] = image;
            });
        }
    runTasks(second);
    {
        QPainter p(&art.board);
        p.scale(dpr, dpr);
        art::paintIsoBoardFrame(p, iso, art::IsoFrameOutline::Filled);
    }
    art.board.setDevicePixelRatio(dpr);
    for (int view = 1; view < LiveViewCount; ++view)
        for (int piece = 0; piece < LivePieceCount; ++piece)
            if (art.pieces[view][piece].isNull()) art.pieces[view][piece] = art.pieces[0][piece];
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
    key.cellPx = std::clamp(cellPx, 8, LiveMaxCellPx);
    // NaN and non-positive ratios count as 1.
    const double dpr = devicePixelRatio;
    key.dpr = dpr >= 0.5 ? std::min(dpr, 8.0) : (dpr > 0 ? 0.5 : 1.0);
    // Larger squares than a screen of today can show are painted a little softer
    // rather than into pictures of hundreds of megabytes.
    key.dpr = std::min(key.dpr, double(LiveMaxDeviceCellPx) / key.cellPx);
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
    if (art.isometric)
        paintIsometric(art);
    else
        paintFlat(art);
    return art;
}

namespace {

// Most recently used first; a set does not move while it is kept. GUI thread only.
std::list<std::unique_ptr<LivePictures>>& keptSets() {
    static std::list<std::unique_ptr<LivePictures>> kept;
    return kept;
}

SetKey keyOf(const LivePictures& set) {
    return keyOf(set.skin, set.isometric, set.cellPx, set.devicePixelRatio);
}

std::list<std::unique_ptr<LivePictures>>::iterator findKept(const SetKey& key) {
    auto& kept = keptSets();
    return std::find_if(kept.begin(), kept.end(), [&key](const auto& set) { return keyOf(*set) == key; });
}

// The kept set of the key, made the most recently used; null when there is none.
const LivePictures* useKept(const SetKey& key) {
    auto& kept = keptSets();
    const auto it = findKept(key);
    if (it == kept.end()) return nullptr;
    kept.splice(kept.begin(), kept, it);
    return kept.front().get();
}

const LivePictures& keep(std::unique_ptr<LivePictures> set) {
    auto& kept = keptSets();
    kept.push_front(std::move(set));
    while (kept.size() > std::size_t(LivePictureSetsKept)) kept.pop_back();
    return *kept.front();
}

// The set being painted on another thread, and the latest request waiting for it
// (GUI thread only; the painting thread sees only the key).
struct LaterRequest {
    SetKey key;
    QPointer<QObject> receiver;
    std::function<void()> ready;
};
std::optional<LaterRequest> runningRequest;
std::optional<LaterRequest> waitingRequest;

void tell(const LaterRequest& request) {
    if (request.receiver && request.ready) request.ready();
}

void startPaintingLater(const LaterRequest& request) {
    runningRequest = request;
    const SetKey key = request.key;
    QThreadPool::globalInstance()->start([key] {
        auto set = std::make_shared<std::unique_ptr<LivePictures>>(
            std::make_unique<LivePictures>(paintLivePictures(key.skin, key.isometric, key.cellPx, key.dpr)));
        // Back on the GUI thread, which owns the kept sets.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [key, set] {
                if (!useKept(key)) keep(std::move(*set));
                const LaterRequest done = *runningRequest;
                runningRequest.reset();
                tell(done);
                if (!waitingRequest) return;
                const LaterRequest next = *waitingRequest;
                waitingRequest.reset();
                if (useKept(next.key))
                    tell(next);
                else
                    startPaintingLater(next);
            },
            Qt::QueuedConnection);
    });
}

} // namespace

const LivePictures& livePictures(int skin, int isometric, int cellPx, double devicePixelRatio) {
    const SetKey key = keyOf(skin, isometric, cellPx, devicePixelRatio);
    if (const LivePictures* set = useKept(key)) return *set;
    return keep(std::make_unique<LivePictures>(paintLivePictures(skin, isometric, cellPx, devicePixelRatio)));
}

const LivePictures* keptLivePictures(int skin, int isometric, int cellPx, double devicePixelRatio) {
    const auto it = findKept(keyOf(skin, isometric, cellPx, devicePixelRatio));
    return it == keptSets().end() ? nullptr : it->get();
}

const LivePictures* latestLivePictures(int skin, int isometric) {
    const SetKey style = keyOf(skin, isometric, 8, 1.0);
    for (const auto& set : keptSets())
        if (set->skin == style.skin && set->isometric == style.isometric) return set.get();
    return nullptr;
}

void paintLivePicturesLater(int skin, int isometric, int cellPx, double devicePixelRatio, QObject* receiver,
                            std::function<void()> ready) {
    LaterRequest request{keyOf(skin, isometric, cellPx, devicePixelRatio), receiver, std::move(ready)};
    if (keptLivePictures(skin, isometric, cellPx, devicePixelRatio)) return;
    if (!QCoreApplication::instance()) {
        livePictures(skin, isometric, cellPx, devicePixelRatio);
        if (request.ready) request.ready();
        return;
    }
    // Only the latest size waits while another is painted: a resize asks for many.
    if (runningRequest)
        waitingRequest = request;
    else
        startPaintingLater(request);
}

const QImage& liveBoard(const LivePictures& pictures, int orientation) {
    if (!pictures.isometric || (orientation & 1) == 0) return pictures.board;
    if (pictures.boardTurned.isNull()) {
        const art::IsoLayout iso = liveIsoLayout(pictures.cellPx);
        const QSize size = art::isoBoardSize(iso);
        QImage turned =
            paintedImage(size.width(), size.height(), pictures.devicePixelRatio,
                         [&](QPainter& p) { art::paintIsoBoardBase(p, iso, art::IsoShadow::Visible); });
        paintBoardTop(turned, pictures, iso, true);
        pictures.boardTurned = turned;
    }
    return pictures.boardTurned;
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
