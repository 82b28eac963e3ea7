#include "tests/board/board_fixture.h"

#include <QGuiApplication>
#include <QtMath>

#include <cstring>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/session/session.h"
#include "game/settings.h"
#include "ui/board/boardpaint.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"

ImageHandle PicturePlatform::loadImage(const char* name) {
    return ::loadImage(name);
}
void PicturePlatform::releaseImage(ImageHandle image) {
    ::releaseImage(image);
}

int columnOf(const char* square) {
    return square[0] - 'a';
}
int rowOf(const char* square) {
    return '8' - square[1];
}

bool isKey(QRgb pixel) {
    return (pixel & 0xFFFFFF) == 0xFFFFFF;
}

SpriteMatch matchSprite(const QImage& painted, int x, int y, const QImage& sheet, const QRect& cell) {
    SpriteMatch m;
    for (int dy = 0; dy < cell.height(); ++dy)
        for (int dx = 0; dx < cell.width(); ++dx) {
            const QRgb p = sheet.pixel(cell.x() + dx, cell.y() + dy);
            if (isKey(p)) continue;
            ++m.opaque;
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < painted.width() && py < painted.height() &&
                (painted.pixel(px, py) & 0xFFFFFF) == (p & 0xFFFFFF))
                ++m.shown;
        }
    return m;
}

GameController& BoardTest::game() {
    return gameController();
}

void BoardTest::SetUp() {
    initSession();
    newGame();
    forgetOpeningName();
    GameController& g = game();
    g.platform = &platform;
    setDefaultSettings(g.settings);
    g.settings.showLegalMoves = 1;
    g.settings.showLastMove = 1;
    g.userColour = White;
    g.selectedColumn = g.selectedRow = -1;
    g.cursorColumn = g.cursorRow = -1;
    g.pieceSelected = g.stylusDown = g.showMovablePieces = g.animating = false;
    g.dragDX = g.dragDY = 0;
    g.capturedPiece = 0;
    g.clockTimerStarted = true;
    g.whiteClockMs = g.blackClockMs = 0;
    g.gameEnd = 0;
    g.lineValid = false;
    engineSession.rootScore = 0;
}

void BoardTest::TearDown() {
    GameController& g = game();
    for (ImageHandle* image : {&g.boardImage, &g.piecesImage, &g.selectionImage}) {
        ::releaseImage(*image);
        *image = nullptr;
    }
    g.platform = nullptr;
}

void BoardTest::show(int width, int height, bool isometric, int skin, int orientation) {
    platform.width = width;
    platform.height = height;
    game().settings.isometric = isometric ? 1 : 0;
    game().settings.skin = static_cast<std::uint32_t>(skin);
    game().settings.orientation = orientation;
    ASSERT_TRUE(game().loadSkin(skin)) << width << "x" << height << (isometric ? " isometric" : " flat");
}

void BoardTest::play(std::initializer_list<const char*> moves) {
    for (const char* move : moves)
        ASSERT_EQ(playMoveText(move, engineSession.gamePosition, 1, &gameRecord), 1) << move;
    game().judgeGame(false); // as the controller does after every move
}

void BoardTest::setPosition(const char* fen) {
    Position position;
    ASSERT_EQ(readFen(position, fen, std::strlen(fen)), 1) << fen;
    resetEngineGame();
    engineSession.startPosition = position;
    engineSession.gamePosition = position;
}

QImage BoardTest::paint() {
    // The view's real size: the screen less the bars the device keeps.
    QImage frame(platform.width, viewHeight(platform.width, platform.height), QImage::Format_RGB32);
    paintGameView(frame, game());
    return frame;
}

void BoardTest::showDesktop(int width, int height, bool isometric, int skin, int orientation) {
    platform.desktop = true;
    show(width, height, isometric, skin, orientation);
}

QImage BoardTest::paintDesktop(double ratio) {
    QImage frame(qCeil(platform.width * ratio), qCeil(platform.height * ratio), QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    paintGameView(frame, game());
    return frame;
}

QRect BoardTest::pieceCell(int pieceCode) const {
    const GameController& g = gameController();
    const int column = (pieceCode & 7) - 2 + (pieceCode & 8 ? 6 : 0);
    int row = 0;
    if (g.settings.isometric)
        row = (pieceCode & 8) ? g.settings.orientation : (g.settings.orientation + 2) % 4;
    return QRect(column * g.geometry.pieceWidth, row * g.geometry.pieceHeight, g.geometry.pieceWidth,
                 g.geometry.pieceHeight);
}

QRect BoardTest::markerCell(int marker) const {
    const BoardGeometry& g = gameController().geometry;
    return QRect(marker * g.markerWidth, 0, g.markerWidth, g.markerHeight);
}

void BoardTest::cell(const char* square, int& x, int& y) const {
    cellPosition(gameController(), columnOf(square), rowOf(square), x, y);
}

void BoardTest::piece(const char* square, int& x, int& y) const {
    piecePosition(gameController(), columnOf(square), rowOf(square), x, y);
    if (gameController().geometry.screenType == ScreenQvgaLandscape) y += 1;
}

void BoardTest::markerAt(const char* square, int& x, int& y) const {
    const GameController& g = gameController();
    cell(square, x, y);
    const int iso = g.settings.isometric ? 1 : 0;
    x += -((g.geometry.markerWidth - g.geometry.cellWidth) / 2) + iso;
    y += -((g.geometry.markerHeight - g.geometry.cellHeight) / 2) + iso;
}

namespace {

// Fonts and the picture formats need a GUI application; the offscreen platform serves.
class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_board";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

  private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
