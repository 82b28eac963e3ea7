// tavisk-art: paints every picture the game loads and writes them below a program
// folder: the QVGA family in Skin1, Skin2, Skin3 and Splash, the other resolution
// families in VGA/, Narrow/ and Low/ with the same folder names inside, and the
// command-bar images in Toolbar.bmp. With --preview DIR it also writes enlarged PNG
// contact sheets for looking at the art.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

#include "art.h"

using namespace art;

namespace {

int failures = 0;

void write(const QImage& image, const QString& folder, const QString& name) {
    QDir().mkpath(folder);
    if (!saveBmp(image, folder + "/" + name)) {
        std::fprintf(stderr, "tavisk-art: cannot write %s/%s\n", qPrintable(folder), qPrintable(name));
        ++failures;
    }
}

QImage flatPieces(const SpriteFile& file) {
    QImage sheet = canvas(12 * file.width, file.height);
    QPainter p(&sheet);
    for (int colour = 0; colour < 2; ++colour)
        for (int kind = 0; kind < pieceKinds; ++kind) {
            p.save();
            p.translate((colour * 6 + kind) * file.width, 0);
            drawFlatPiece(p, file.width, PieceKind(kind), colour == 1);
            p.restore();
        }
    p.end();
    return keyed(sheet);
}

// Twelve columns as the flat sheet, one row per view.
QImage isoPieces(const IsoLayout& iso) {
    const int footY = iso.cellHeight / 2 + iso.pieceHeight / 2;
    QImage sheet = canvas(12 * iso.pieceWidth, 4 * iso.pieceHeight);
    QPainter p(&sheet);
    for (int view = 0; view < 4; ++view)
        for (int colour = 0; colour < 2; ++colour)
            for (int kind = 0; kind < pieceKinds; ++kind) {
                p.save();
                p.translate((colour * 6 + kind) * iso.pieceWidth, view * iso.pieceHeight);
                p.setClipRect(0, 0, iso.pieceWidth, iso.pieceHeight);
                drawIsoPiece(p, iso, footY, PieceKind(kind), colour == 1, view);
                p.restore();
            }
    p.end();
    return keyed(sheet);
}

QImage boardFile(int skin, int tile) {
    QImage image(2 * tile, tile, QImage::Format_RGB32);
    QPainter p(&image);
    p.drawImage(0, 0, boardTile(skin, tile, false));   // column + row odd
    p.drawImage(tile, 0, boardTile(skin, tile, true)); // column + row even (a8)
    return image;
}

void writeFamily(const QString& root, const Family& family) {
    const QString base = family.folder[0] ? root + "/" + family.folder : root;
    for (int skin = 0; skin < 3; ++skin)
        for (const SpriteFile& board : family.boards)
            write(boardFile(skin, board.width), base + QString("/Skin%1").arg(skin + 1), board.name);
    const QString skin1 = base + "/Skin1";
    for (const SpriteFile& pieces : family.pieces) write(flatPieces(pieces), skin1, pieces.name);
    for (const SpriteFile& selection : family.selections)
        write(flatSelection(selection), skin1, selection.name);
    write(isoBoard(family.iso, false), skin1, "iso_board_main.bmp");
    write(isoBoard(family.iso, true), skin1, "iso_board_alt.bmp");
    write(isoPieces(family.iso), skin1, "iso_pieces.bmp");
    write(isoSelection(family.iso), skin1, "iso_selection.bmp");
    write(splashPicture(family), base + "/Splash", "Splash.bmp");
    write(splashAnimation(), base + "/Splash", "Anim.bmp");
}

// The command bar's four 16 x 16 images side by side: hint, takeback, forward, rotate.
QImage toolbarStrip() {
    QImage strip(64, 16, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < 4; ++i) p.drawImage(i * 16, 0, buttonImage(i));
    p.end();
    return strip;
}

// Pure white back to transparent, as the game does when it loads a sprite sheet.
QImage unkeyed(const QImage& sprite) {
    QImage argb = sprite.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if ((argb.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) argb.setPixel(x, y, 0);
    return argb;
}

// An enlarged look at the pieces over both tiles of every skin, and the other pictures.
void writePreviews(const QString& folder) {
    QDir().mkpath(folder);
    for (const Family& family : families) {
        const QString tag = family.folder[0] ? family.folder : "QVGA";
        for (const SpriteFile& file : family.pieces) {
            const QImage sheet = flatPieces(file);
            QImage sheetOnBoards(12 * file.width, 6 * file.width, QImage::Format_RGB32);
            QPainter p(&sheetOnBoards);
            for (int skin = 0; skin < 3; ++skin)
                for (int row = 0; row < 2; ++row)
                    for (int i = 0; i < 12; ++i) {
                        const QRect cell(i * file.width, (skin * 2 + row) * file.width, file.width,
                                         file.width);
                        p.drawImage(cell.topLeft(), boardTile(skin, file.width, (i + row) % 2 == 0));
                        const QImage argb = unkeyed(sheet.copy(i * file.width, 0, file.width, file.height));
                        p.drawImage(cell.topLeft(), argb);
                    }
            p.end();
            const int zoom = file.width < 30 ? 4 : 2;
            sheetOnBoards.scaled(sheetOnBoards.size() * zoom)
                .save(folder + "/" + tag + "-" + QString(file.name).replace(".bmp", ".png"));
        }
        const QImage iso = isoPieces(family.iso);
        iso.scaled(iso.size() * 4).save(folder + "/" + tag + "-iso_pieces.png");
        const QImage board = isoBoard(family.iso, false);
        board.scaled(board.size() * 2).save(folder + "/" + tag + "-iso_board.png");
        for (const SpriteFile& selection : family.selections) {
            const QImage s = flatSelection(selection);
            s.scaled(s.size() * 4)
                .save(folder + "/" + tag + "-" + QString(selection.name).replace(".bmp", ".png"));
        }
        const QImage isel = isoSelection(family.iso);
        isel.scaled(isel.size() * 4).save(folder + "/" + tag + "-iso_selection.png");
    }
    splashPicture(families[0]).save(folder + "/splash-qvga.png");
    splashPicture(families[1]).save(folder + "/splash-vga.png");
    splashAnimation().save(folder + "/anim.png");
    const QImage buttons = toolbarStrip();
    buttons.scaled(buttons.size() * 6).save(folder + "/buttons.png");
    for (int skin = 0; skin < 3; ++skin) {
        const QImage tiles = boardFile(skin, 56);
        tiles.scaled(tiles.size() * 3).save(folder + QString("/tiles-skin%1.png").arg(skin + 1));
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tavisk-art PROGRAM_FOLDER [--preview FOLDER]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (const Family& family : families) writeFamily(root, family);
    write(toolbarStrip(), root, "Toolbar.bmp");
    if (argc >= 4 && QString(argv[2]) == "--preview") writePreviews(QString::fromLocal8Bit(argv[3]));
    return failures == 0 ? 0 : 1;
}
