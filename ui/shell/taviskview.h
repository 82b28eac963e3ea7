#pragma once
// The game view: passes the stylus and the clock timer to the game controller and
// paints the splash screen or the game, one device pixel as zoom x zoom desktop pixels.
// In the desktop window the view is the board and its panel at any size: the game's
// pixels are the view's logical pixels, painted at the monitor's device pixel ratio.

#include <QImage>
#include <QString>
#include <QWidget>

class CMainFrame;

class CTaviskView : public QWidget {
    Q_OBJECT
  public:
    CTaviskView(CMainFrame* frame, QWidget* parent);

    bool splashShowing = true; // from the view's creation until the splash screen ends

    // The end of the splash screen: the skin for this screen, the Language dialog when
    // no game was restored, then the game is shown.
    void endSplash();
    void advanceSplash();

    int startClockTimer(int periodMs);
    void stopClockTimer(int timerId);
    bool clockTimerRunning() const { return clockTimer_ != 0; }

    // The caption of a pressed image button, drawn at the bottom of the view until the
    // next repaint without it. x is the button's centre in device pixels.
    void showCaption(const QString& caption, int centreX);
    void clearCaption();
    const QString& caption() const { return caption_; }

    // The last picture painted, in device pixels (the desktop window's carries the
    // monitor's device pixel ratio).
    const QImage& lastFrame() const { return frame_; }
    // The last paint showed another size's pictures scaled while its own were painted.
    bool standInShown() const { return standInShown_; }
    int standInPaints() const { return standInPaints_; }

    // Device pixels to view pixels and back.
    QPoint toWidget(int x, int y) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPoint toDevice(const QPointF& position) const;
    void drawCaption(QImage& image) const;
    void paintDesktop();
    // The desktop window's board and panel for the view's size, the move list in its place.
    void layOutDesktop();
    void placeMoveList();

    CMainFrame* mainFrame_;
    QImage frame_;
    bool standInShown_ = false;
    int standInPaints_ = 0;
    int clockTimer_ = 0;
    QString caption_;
    int captionCentreX_ = 0;
    bool initialUpdateDone_ = false;
};
