#include "ui/shell/taviskview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QtMath>

#include <cmath>

#include "game/controller.h"
#include "game/promotion.h"
#include "game/review.h"
#include "ui/board/boardpaint.h"
#include "ui/board/desktoppanel.h"
#include "ui/board/geometry.h"
#include "ui/board/splash.h"
#include "ui/shell/autoturn.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/languagedlg.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/movelist.h"
#include "ui/shell/sounds.h"
#include "ui/shell/taviskdoc.h"

namespace {
int zoom() {
    return deviceScreen().desktop ? 1 : std::max(1, deviceScreen().zoom);
}
} // namespace

CTaviskView::CTaviskView(CMainFrame* frame, QWidget* parent) : QWidget(parent), mainFrame_(frame) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

// The game, not the splash, stands behind the Language dialog of a first start.
void CTaviskView::endSplash() {
    GameController& game = gameController();
    // 1. The layout and pictures for this screen.
    game.loadSkin(static_cast<int>(game.settings.skin));
    // 2. From now on paints show the game, turned for the user's colour.
    splashShowing = false;
    autoTurnBoard();
    if (deviceScreen().desktop) layOutDesktop();
    // 3. A first start without a restored game asks for the language.
    CTaviskDoc* document = mainFrame_->document();
    if (document && document->languageDialogPending) {
        document->languageDialogPending = false;
        repaint();
        document->runLanguageDialog();
    }
}

void CTaviskView::advanceSplash() {
    advanceSplashFrame(theSplash());
}

int CTaviskView::startClockTimer(int periodMs) {
    if (clockTimer_) killTimer(clockTimer_);
    clockTimer_ = startTimer(periodMs);
    return clockTimer_;
}

void CTaviskView::stopClockTimer(int timerId) {
    if (timerId == 0) return;
    killTimer(timerId);
    if (timerId == clockTimer_) clockTimer_ = 0;
}

void CTaviskView::showCaption(const QString& caption, int centreX) {
    caption_ = caption;
    captionCentreX_ = centreX;
    repaint();
}

void CTaviskView::clearCaption() {
    caption_.clear();
}

QPoint CTaviskView::toDevice(const QPointF& position) const {
    const int z = zoom();
    return QPoint(static_cast<int>(std::floor(position.x())) / z,
                  static_cast<int>(std::floor(position.y())) / z);
}

QPoint CTaviskView::toWidget(int x, int y) const {
    const int z = zoom();
    return QPoint(x * z + z / 2, y * z + z / 2);
}

void CTaviskView::paintEvent(QPaintEvent*) {
    GameController& game = gameController();
    game.view = this;
    if (deviceScreen().desktop) {
        paintDesktop();
        return;
    }
    const int width = deviceScreen().width;
    const int height = viewHeight();
    if (frame_.size() != QSize(width, height)) frame_ = QImage(width, height, QImage::Format_RGB32);

    // Splash or game, into the off-screen picture of the device's size.
    if (splashShowing)
        paintSplashView(frame_, theSplash());
    else {
        paintGameView(frame_, game);
        soundsAfterPaint();
        mainFrame_->refreshMoveList();
    }
    if (!caption_.isEmpty()) drawCaption(frame_);

    // One step to the window, every device pixel a sharp zoom x zoom block.
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize physical(qRound(width * zoom() * ratio), qRound(height * zoom() * ratio));
    QImage scaled = frame_.size() == physical
                        ? frame_
                        : frame_.scaled(physical, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    painter.drawImage(0, 0, scaled);

    // The screen mode follows the device: landscape and square screens hide the task bar.
    // Not while a dialog is open: the dialog has just shown it, and showing it over the
    // view is what brings this paint.
    const DeviceScreen& screen = deviceScreen();
    if (screen.width >= screen.height && !languageDialogOpen && !QApplication::activeModalWidget() &&
        mainFrame_->taskBarShown())
        QMetaObject::invokeMethod(mainFrame_, &CMainFrame::enterFullScreen, Qt::QueuedConnection);
    if (!splashShowing)
        QMetaObject::invokeMethod(mainFrame_, &CMainFrame::updateImageButtons, Qt::QueuedConnection);
}

// The whole view at its logical size into a picture of the monitor's pixels, then
// one step to the window: sharp at any size and pixel ratio.
void CTaviskView::paintDesktop() {
    GameController& game = gameController();
    const qreal ratio = devicePixelRatioF();
    const QSize physical(qCeil(width() * ratio), qCeil(height() * ratio));
    if (frame_.size() != physical) frame_ = QImage(physical, QImage::Format_RGB32);
    frame_.setDevicePixelRatio(ratio);
    if (splashShowing) {
        paintDesktopSplash(frame_, theSplash(), width(), height());
    } else {
        // A new size shows at once with the last pictures scaled; the crisp ones are
        // painted on another thread, and a paint follows when they are ready.
        standInShown_ = !paintGameViewWithStandIn(frame_, game);
        if (standInShown_) {
            ++standInPaints_;
            paintDesktopPicturesLater(game, ratio, this, [this] { update(); });
        }
        placeMoveList(); // a change of style lays out the board anew
        soundsAfterPaint();
        mainFrame_->refreshMoveList();
    }
    if (!caption_.isEmpty()) drawCaption(frame_);
    QPainter painter(this);
    painter.drawImage(0, 0, frame_);
    if (!splashShowing)
        QMetaObject::invokeMethod(mainFrame_, &CMainFrame::updateImageButtons, Qt::QueuedConnection);
}

void CTaviskView::layOutDesktop() {
    layoutBoard(gameController());
    placeMoveList();
}

void CTaviskView::placeMoveList() {
    CMoveList* list = mainFrame_->moveList();
    if (!list) return;
    const GameController& game = gameController();
    const BoardGeometry& g = game.geometry;
    int x, y, w, h;
    desktopMoveListRect(g, desktopPanelTextLines(game), x, y, w, h);
    const QRect place(x, y, w, h);
    if (list->geometry() != place || list->font().pixelSize() != g.panelFontPx)
        list->fitTo(x, y, w, h, g.panelFontPx);
    list->setVisible(!splashShowing && w > 0 && h > 0);
}

void CTaviskView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!deviceScreen().desktop) return;
    layOutDesktop();
    update();
}

// A box as wide as the text plus 6, centred on the button, its bottom one pixel above
// the bottom of the view, outlined and filled with the default pen and brush.
void CTaviskView::drawCaption(QImage& image) const {
    QPainter painter(&image);
    const QFontMetrics metrics = painter.fontMetrics();
    const int boxWidth = metrics.horizontalAdvance(caption_) + 6;
    const int boxHeight = metrics.height() + 2;
    const int bottom = qRound(image.height() / image.devicePixelRatio());
    const QRect box(captionCentreX_ - boxWidth / 2, bottom - 1 - boxHeight, boxWidth, boxHeight);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, caption_);
}

void CTaviskView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (splashShowing) {
        endSplash();
        repaint();
        return;
    }
    // A press on the board ends a review: the game is shown again.
    if (reviewing()) {
        leaveReview();
        repaint();
        return;
    }
    // A game that is over takes no more moves (nor a promotion picker).
    if (gameController().gameDecided()) return;
    GameController& game = gameController();
    const QPoint point = toDevice(event->position());
    int column = -1, row = -1;
    hitTest(game, point.x(), point.y(), column, row);
    // The promotion picker takes the press; a tap that promotes a pawn opens it.
    if (promotionPicker().open) {
        pickPromotion(game, column, row);
        return;
    }
    if (game.pieceSelected && !game.stylusDown && opensPromotionPicker(game, column, row)) return;
    game.stylusPressed(point.x(), point.y());
}

void CTaviskView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint point = toDevice(event->position());
    gameController().stylusMoved(point.x(), point.y());
}

void CTaviskView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (!splashShowing) {
        GameController& game = gameController();
        const QPoint point = toDevice(event->position());
        int column = -1, row = -1;
        hitTest(game, point.x(), point.y(), column, row);
        // A pawn dragged to its last rank opens the promotion picker.
        const bool dragged = game.stylusDown && game.pieceSelected &&
                             (column != game.selectedColumn || row != game.selectedRow);
        if (!(dragged && opensPromotionPicker(game, column, row))) game.stylusReleased(point.x(), point.y());
    }
    QWidget::mouseReleaseEvent(event);
}

// The clocks count only while the main window is in front; the controller asks.
void CTaviskView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == clockTimer_ && clockTimer_ != 0) {
        gameController().clockTimerFired();
        return;
    }
    QWidget::timerEvent(event);
}

// The initial update: a square screen takes the whole screen at once.
void CTaviskView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (initialUpdateDone_) return;
    initialUpdateDone_ = true;
    if (deviceScreen().desktop) {
        layOutDesktop();
        return;
    }
    if (deviceScreen().width == deviceScreen().height) mainFrame_->enterFullScreen();
}
