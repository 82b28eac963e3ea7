#include "ui/shell/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QTimerEvent>
#include <QToolBar>
#include <QToolButton>

#include "engine/session/notify.h"
#include "game/controller.h"
#include "game/review.h"
#include "ui/shell/autoturn.h"
#include "ui/shell/barimages.h"
#include "ui/shell/commandrules.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/languagedlg.h"
#include "ui/shell/localisation.h"
#include "ui/shell/movelist.h"
#include "ui/shell/preferences.h"
#include "ui/shell/qtplatform.h"
#include "ui/shell/shortcuts.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskdoc.h"
#include "ui/shell/taviskview.h"

namespace {

// The device's task bar: a dark strip with the program's title.
class TaskBarStrip : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x1d, 0x3b, 0x6e));
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(std::max(8, height() / 2));
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(rect().adjusted(height() / 3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         fromTable(applicationTitle));
    }
};

// The engine's worker sends its notifications from its own thread and waits until the
// main thread has handled them. They are queued on the application object, which
// outlives the main window; a notification that arrives when the window is gone is
// answered with 0. One raised on the main thread itself is handled at once (a blocking
// queued call to oneself would never return). The disambiguation question only reads
// the position it carries, so it is answered on the worker's thread: a worker recording
// its move must not wait for a main thread that is itself waiting for the worker to stop.
std::intptr_t handleOnMainThread(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    return theMainFrame ? dispatchEngineNotification(message, wParam, lParam) : 0;
}

std::intptr_t shellNotify(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return 0;
    if (message == DisambiguateMessage) return dispatchEngineNotification(message, wParam, lParam);
    if (message == WorkerIdleMessage) {
        // Posted: the worker does not wait. Inside a dialog's own loop the handler
        // under way finishes its change first, and the game is written after it.
        QMetaObject::invokeMethod(
            application,
            [] {
                const CTaviskApp* app = CTaviskApp::instance();
                if (app && !app->inNestedLoop()) handleOnMainThread(WorkerIdleMessage, 0, 0);
            },
            Qt::QueuedConnection);
        return 0;
    }
    if (QThread::currentThread() == application->thread()) return handleOnMainThread(message, wParam, lParam);
    std::intptr_t answer = 0;
    QMetaObject::invokeMethod(
        application, [&] { answer = handleOnMainThread(message, wParam, lParam); },
        Qt::BlockingQueuedConnection);
    return answer;
}

int zoom() {
    return std::max(1, deviceScreen().zoom);
}

} // namespace

void showTaskBar() {
    if (theMainFrame) theMainFrame->showTaskBar();
}

// The create handler: command bar (hidden during the splash), splash timer, the size of
// the screen, and the window's place as the receiver of the engine's notifications.
CMainFrame::CMainFrame(CTaviskDoc* document) : document_(document) {
    setWindowTitle(fromTable(applicationTitle));
    theMainFrame = this;
    // The paints set the bar's buttons, but what they depend on also changes without
    // a paint: the engine's worker comes to rest a moment after its move is shown (or
    // after the tutor's takeback has stopped it), and a box or a dialog closes. Hint
    // would stay greyed at the user's turn until the next paint.
    buttonsTimer_ = startTimer(ButtonsRefreshMs);
    if (deviceScreen().desktop) {
        createDesktopWindow();
        return;
    }
    const int z = zoom();
    const DeviceScreen& screen = deviceScreen();
    const int bar = systemBarHeight();

    screen_ = new QWidget(this);
    screen_->setAutoFillBackground(true);
    QPalette palette = screen_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    screen_->setPalette(palette);
    setCentralWidget(screen_);
    view_ = new CTaviskView(this, screen_);
    view_->setGeometry(0, viewTop() * z, screen.width * z, viewHeight() * z);
    taskBar_ = new TaskBarStrip(screen_);
    taskBar_->setGeometry(0, 0, screen.width * z, bar * z);
    taskBar_->setVisible(keepsTaskBar());
    taskBar_->raise();

    created_ = rebuildMenuBar();
    if (commandBar_) commandBar_->hide();
    addAccelerators();
    splashTimer_ = startTimer(SplashPeriodMs);
    // Beside a screen with room: the moves of the game.
    int listWidth = 0;
    if (screenHasRoomForMoveList(screen.width, screen.height)) {
        auto* dock = new QDockWidget(this);
        dock->setObjectName("moveListDock");
        dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
        dock->setTitleBarWidget(new QWidget(dock));
        moveList_ = new CMoveList(dock);
        listWidth = CMoveList::ListWidth;
        dock->setFixedWidth(listWidth);
        dock->setWidget(moveList_);
        addDockWidget(Qt::RightDockWidgetArea, dock);
    }
    setFixedSize(screen.width * z + listWidth, screen.height * z);
    mainWindow.store(&shellNotify);
    qApp->installEventFilter(this);
}

// The desktop window: the view (board and panel, with the move list in the panel)
// fills the window above the command bar; any size from the minimum up, the size and
// place of the last run again.
void CMainFrame::createDesktopWindow() {
    view_ = new CTaviskView(this, this);
    setCentralWidget(view_);
    taskBar_ = new TaskBarStrip(this); // never shown: the desktop has its own
    taskBar_->hide();
    moveList_ = new CMoveList(view_);
    moveList_->hide();

    created_ = rebuildMenuBar();
    if (commandBar_) commandBar_->hide();
    addAccelerators();
    splashTimer_ = startTimer(SplashPeriodMs);
    setMinimumSize(DesktopMinimumWidth, DesktopMinimumHeight);
    if (!restoreWindowPlace(*this)) {
        const QScreen* monitor = screen();
        const QRect area = monitor ? monitor->availableGeometry() : QRect(0, 0, 1024, 768);
        resize(std::clamp(area.width() * 4 / 5, DesktopMinimumWidth, 1024),
               std::clamp(area.height() * 4 / 5, DesktopMinimumHeight, 760));
    }
    mainWindow.store(&shellNotify);
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    if (deviceScreen().desktop) saveWindowPlace(*this);
    mainWindow.store(nullptr);
    theMainFrame = nullptr;
}

QAction* CMainFrame::action(int command) const {
    for (QMenu* menu : {gameMenu_, optionsMenu_}) {
        if (!menu) continue;
        for (QAction* item : menu->findChildren<QAction*>())
            if (item->data().toInt() == command && !item->isSeparator() && !item->menu()) return item;
    }
    return nullptr;
}

namespace {

// The menu's own items, then the desktop's; every item gets a mnemonic letter and shows
// its keys.
QMenu* buildMenu(const MenuLayout* layout, int count, const MenuLayout* extras, int extraCount, QWidget* parent,
                 CMainFrame* frame) {
    auto* menu = new QMenu(parent);
    QMenu* target = menu;
    QString used, usedInSubmenu;
    for (int i = 0; i < count + extraCount; ++i) {
        const MenuLayout& entry = i < count ? layout[i] : extras[i - count];
        switch (entry.kind) {
        case MenuEntry::Separator:
            target->addSeparator();
            break;
        case MenuEntry::SubmenuBegin:
            target = menu->addMenu(withMnemonic(localMenuText(entry.key), used));
            QObject::connect(target, &QMenu::aboutToShow, frame,
                             [frame, target] { frame->updateMenu(target); });
            break;
        case MenuEntry::SubmenuEnd:
            target = menu;
            break;
        case MenuEntry::Item: {
            QAction* item =
                target->addAction(withMnemonic(localMenuText(entry.key), target == menu ? used : usedInSubmenu));
            item->setData(entry.key);
            // Shown only: the window's own shortcuts run the commands (addAccelerators).
            item->setShortcuts(commandShortcuts(entry.key));
            const int command = entry.key;
            // Run once the menu has closed: a command may rebuild the bar the menu belongs to.
            QObject::connect(item, &QAction::triggered, frame, [frame, command] {
                QMetaObject::invokeMethod(
                    frame, [frame, command] { frame->onCommand(command); }, Qt::QueuedConnection);
            });
            break;
        }
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, frame, [frame, menu] { frame->updateMenu(menu); });
    return menu;
}

} // namespace

bool CMainFrame::rebuildMenuBar() {
    // 1. The current bar goes.
    if (commandBar_) {
        removeToolBar(commandBar_);
        commandBar_->deleteLater();
        commandBar_ = nullptr;
        gameMenu_ = optionsMenu_ = nullptr;
    }
    const int z = zoom();
    const bool desktop = deviceScreen().desktop;
    const int barHeight = desktop ? DesktopBarHeight : systemBarHeight() * z;

    // 2. A new bar with the two drop-down buttons of the language.
    auto* bar = new QToolBar(this);
    bar->setObjectName("commandBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setFixedHeight(barHeight);
    // VGA-class screens draw the bar at twice the size, images included.
    const int scale = desktop ? 2 : std::max(1, z * systemBarHeight() / 26);
    bar->setIconSize(QSize(16 * scale, 16 * scale));
    QFont font = bar->font();
    font.setPixelSize(desktop ? 14 : std::max(9, barHeight * 8 / 26));
    bar->setFont(font);

    gameMenu_ = buildMenu(gameMenuLayout, std::size(gameMenuLayout), gameMenuExtras, std::size(gameMenuExtras), bar,
                          this);
    optionsMenu_ = buildMenu(optionsMenuLayout, std::size(optionsMenuLayout), optionsMenuExtras,
                             std::size(optionsMenuExtras), bar, this);
    const int menuKeys[2] = {MenuGame, MenuOptions};
    QMenu* menus[2] = {gameMenu_, optionsMenu_};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QToolButton(bar);
        button->setText(localMenuText(menuKeys[i]));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // The bar is at the bottom of the screen: its menus open upwards from it.
        QMenu* menu = menus[i];
        QPointer<QToolButton> guarded(button);
        connect(button, &QToolButton::pressed, this, [guarded, menu] {
            gameController().stylusReleased(-1, -1);
            const QSize size = menu->sizeHint();
            menu->exec(guarded->mapToGlobal(QPoint(0, -size.height())));
            if (guarded) guarded->setDown(false);
        });
        bar->addWidget(button);
        menuButtons_[i] = button;
    }

    // 3. The four image buttons.
    bar->addSeparator();
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(bar);
        button->setIcon(desktop ? desktopBarButtonIcon(i, 16 * scale) : barButtonIcon(i, scale));
        button->setAutoRaise(true);
        const int command = barButtons[i].command;
        connect(button, &QToolButton::pressed, this, [this, i] { buttonPressed(i); });
        connect(button, &QToolButton::released, this, &CMainFrame::buttonReleased);
        connect(button, &QToolButton::clicked, this, [this, command] { onCommand(command); });
        bar->addWidget(button);
        imageButtons_[i] = button;
    }

    // 4. The bar's place: the bottom of the screen. It stays hidden while the splash
    //    timer runs, however often it is rebuilt meanwhile.
    addToolBar(Qt::BottomToolBarArea, bar);
    commandBar_ = bar;
    if (splashTimer_ != 0 || !created_) bar->hide();
    updateImageButtons();
    return true;
}

void CMainFrame::updateMenu(QMenu* menu) {
    if (!menu) return;
    for (QAction* item : menu->actions()) {
        if (item->menu()) {
            updateMenu(item->menu()); // the nested "Board settings" items
            continue;
        }
        if (item->isSeparator()) continue;
        const CommandState state = commandState(item->data().toInt());
        item->setEnabled(state.enabled);
        item->setCheckable(state.checkable);
        if (state.checkable) item->setChecked(state.checked);
    }
}

void CMainFrame::updateImageButtons() {
    for (int i = 0; i < 4; ++i)
        if (imageButtons_[i]) imageButtons_[i]->setEnabled(commandState(barButtons[i].command).enabled);
}

void CMainFrame::onCommand(int command) {
    if (!(document_ && document_->onCommand(command)))
        if (CTaviskApp* app = CTaviskApp::instance()) app->onCommand(command);
    if (!view_->splashShowing) autoTurnBoard();
}

void CMainFrame::timerEvent(QTimerEvent* event) {
    if (event->timerId() == splashTimer_ && splashTimer_ != 0)
        splashTick();
    else if (event->timerId() == buttonsTimer_)
        updateImageButtons();
    else
        QMainWindow::timerEvent(event);
}

// The splash animates for ten ticks, stays for ten more, then the menu bar shows and
// the game screen appears.
void CMainFrame::splashTick() {
    ++splashTicks_;
    if (splashTicks_ < SplashAnimationTicks) view_->advanceSplash();
    if (splashTicks_ >= SplashTicks) {
        if (commandBar_) commandBar_->show();
        killTimer(splashTimer_);
        splashTimer_ = 0;
        view_->endSplash();
    }
    view_->repaint();
}

// A press on an image button shows its caption on the view while it is held.
void CMainFrame::buttonPressed(int index) {
    QToolButton* button = imageButtons_[index];
    if (!button || !button->isEnabled()) return;
    const QPoint centre = button->mapTo(this, button->rect().center());
    const QPoint inView = view_->mapFrom(this, centre);
    view_->showCaption(barCaption(barButtons[index].caption), inView.x() / zoom());
}

// The end of the press repaints the view (the caption goes) and ends any press on the
// board that the button swallowed.
void CMainFrame::buttonReleased() {
    view_->clearCaption();
    view_->repaint();
    gameController().stylusReleased(-1, -1);
}

// The keys of the commands, for the whole window. A key does what its menu item would:
// nothing during the splash or while the item is disabled.
void CMainFrame::addAccelerators() {
    const int commands[] = {CmdNewGame,  CmdLoad,        CmdSave,     CmdTakeback,     CmdForward,
                            CmdTakebackAll, CmdForwardAll, CmdHint,   CmdCopyGame,     CmdCopyPosition,
                            CmdPaste,    CmdTutorial,    CmdSaveAndExit};
    for (int command : commands) {
        for (const QKeySequence& keys : commandShortcuts(command)) {
            auto* shortcut = new QShortcut(keys, this);
            connect(shortcut, &QShortcut::activated, this, [this, command] { keyCommand(command); });
        }
    }
    // Ctrl+X reaches the framework, which has nothing to cut.
    auto* cut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_X), this);
    connect(cut, &QShortcut::activated, this, [this] { onCommand(CmdEditCut); });
}

void CMainFrame::keyCommand(int command) {
    if (view_->splashShowing) return;
    // While a position is reviewed the arrows step through the game, End returns to it.
    if (reviewing()) {
        switch (command) {
        case CmdTakeback: stepReview(-1); break;
        case CmdForward: stepReview(1); break;
        case CmdTakebackAll: startReview(0); break;
        case CmdForwardAll: leaveReview(); break;
        default: leaveReview(); onCommand(command); return;
        }
        refreshMoveList();
        view_->repaint();
        return;
    }
    if (!commandState(command).enabled) return;
    onCommand(command);
}

void CMainFrame::refreshMoveList() {
    if (moveList_) moveList_->refresh();
}

void CMainFrame::showTaskBar() {
    if (deviceScreen().desktop) return;
    taskBar_->show();
    taskBar_->raise();
}

// Landscape and square screens give the whole screen to the game.
void CMainFrame::enterFullScreen() {
    if (!keepsTaskBar()) taskBar_->hide();
}

bool CMainFrame::taskBarShown() const {
    return !taskBar_->isHidden();
}

void CMainFrame::restoreGameScreen() {
    // Another dialog may follow at once (a list after the open dialog): it has its turn.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return;
    const DeviceScreen& screen = deviceScreen();
    if (screen.width >= screen.height && !languageDialogOpen) enterFullScreen();
    if (isVisible() && !isActiveWindow()) activateWindow();
    view_->update();
}

// The clocks count only while the main window is in front: they are settled whenever
// that changes.
void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) gameController().settleClocks();
    QMainWindow::changeEvent(event);
}

// A dialog, message box or other window of the program stops the clocks when it comes
// and gives the game screen back when it goes.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type kind = event->type();
    if ((kind == QEvent::Hide || kind == QEvent::Show) && watched != this && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip) {
            if (kind == QEvent::Hide)
                QMetaObject::invokeMethod(this, &CMainFrame::restoreGameScreen, Qt::QueuedConnection);
            else // once the window is up, before the window system says who is in front
                QMetaObject::invokeMethod(this, [] { gameController().settleClocks(); }, Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A close request ends the program in order: the window goes, the message loop ends,
// and the document's end saves the settings and the game. Nothing is ever asked.
void CMainFrame::closeEvent(QCloseEvent* event) {
    if (deviceScreen().desktop) saveWindowPlace(*this);
    event->accept();
    QApplication::quit();
}
