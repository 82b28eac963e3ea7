#pragma once
// The main window: the emulated device screen with the task-bar strip at the top,
// the view, and the command bar at the bottom (two drop-down menus and four image
// buttons). It runs the splash timer and receives the engine's notifications.

#include <QMainWindow>

class CTaviskDoc;
class CTaviskView;
class QMenu;
class QToolBar;
class QToolButton;
class QAction;
class CMoveList;

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int SplashPeriodMs = 200;
    static constexpr int SplashAnimationTicks = 10; // the animation runs for the first ticks
    static constexpr int SplashTicks = 20;          // then the game screen appears

    // The desktop window's least size and its command bar's height.
    static constexpr int DesktopMinimumWidth = 320;
    static constexpr int DesktopMinimumHeight = 240;
    static constexpr int DesktopBarHeight = 40;

    explicit CMainFrame(CTaviskDoc* document);
    ~CMainFrame() override;

    // False when the command bar could not be made: the window is then unusable.
    bool created() const { return created_; }
    CTaviskView* view() const { return view_; }
    CTaviskDoc* document() const { return document_; }

    // The command bar for the current language: two drop-down menus and four image
    // buttons. The old bar is gone first; false when the new one could not be made.
    bool rebuildMenuBar();
    QToolBar* menuBar() const { return commandBar_; }
    QMenu* gameMenu() const { return gameMenu_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    QToolButton* menuButton(int index) const { return menuButtons_[index]; }
    QToolButton* imageButton(int index) const { return imageButtons_[index]; }
    QAction* action(int command) const;

    // The framework's command-update pass over a menu and its submenus, and over the
    // image buttons.
    void updateMenu(QMenu* menu);
    void updateImageButtons();

    // Routes a command to the document, then to the application.
    void onCommand(int command);

    // The list of moves beside the screen (in the desktop window's panel); null on
    // screens without room for it.
    CMoveList* moveList() const { return moveList_; }
    void refreshMoveList();

    int splashTicks() const { return splashTicks_; }
    bool splashTimerRunning() const { return splashTimer_ != 0; }

    // The task-bar strip: shown again by every dialog, hidden by the full-screen switch
    // on landscape and square screens.
    void showTaskBar();
    void enterFullScreen();
    bool taskBarShown() const;
    // After a dialog or another window of the program has gone: the screen mode of the
    // device again, the main window in front again (also without a window manager, so
    // the user's clock runs on), and the game repainted, so that nothing of the window
    // stays on the game screen.
    void restoreGameScreen();

  protected:
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createDesktopWindow();
    void splashTick();
    void buttonPressed(int index);
    void buttonReleased();
    void addAccelerators();
    void keyCommand(int command);

    CTaviskDoc* document_;
    CTaviskView* view_ = nullptr;
    QWidget* screen_ = nullptr;
    QWidget* taskBar_ = nullptr;
    QToolBar* commandBar_ = nullptr;
    CMoveList* moveList_ = nullptr;
    QMenu* gameMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QToolButton* menuButtons_[2] = {};
    QToolButton* imageButtons_[4] = {};
    int splashTicks_ = 0;
    int splashTimer_ = 0;
    bool created_ = false;
    int buttonsTimer_ = 0; // sets the bar's buttons again now and then
    static constexpr int ButtonsRefreshMs = 150;
};
