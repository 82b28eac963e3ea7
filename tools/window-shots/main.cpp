// Pictures of the real game window: run under an X server (scripts/screenshots.sh
// starts Xvfb). One run is one start of the program on one screen; the game files
// live in a scratch copy of the program folder, so the real one is never written.
//
//   window-shots PROGRAM_FOLDER OUT_FOLDER SCRATCH --screen WxH --zoom N
//                --shots first|second|languages|promotion|review|check

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cstdio>
#include <functional>

#include "engine/session/bridge.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/settings.h"
#include "ui/board/geometry.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/localisation.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/movelist.h"
#include "ui/shell/newgamedlg.h"
#include "ui/shell/qtplatform.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/texttables.h"

namespace {

QString outFolder;
int failures = 0;

void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        settle(10);
    }
    return true;
}

// The part of the X screen covered by the main window and whatever is open over it.
void shoot(const char* name, CMainFrame* frame) {
    QRect area = frame->frameGeometry();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top != frame) area |= top->frameGeometry();
    const QPixmap picture =
        QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString path = outFolder + "/" + name + ".png";
    if (!picture.save(path)) {
        std::fprintf(stderr, "window-shots: could not write %s\n", qPrintable(path));
        ++failures;
    } else {
        std::printf("%s %dx%d\n", qPrintable(path), picture.width(), picture.height());
    }
}

// Shoots while a modal window is open, then closes it.
void shootModal(const QString& name, CMainFrame* frame, const std::function<void()>& open, int delayMs = 400) {
    QTimer::singleShot(delayMs, [name, frame] {
        shoot(qPrintable(name), frame);
        if (QWidget* modal = QApplication::activeModalWidget())
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    open();
}

// The New Game dialog (in level mode `mode`, or as it opens when -1). With a
// game in progress the program first asks whether to save it: not now.
void shootNewGame(const char* name, CMainFrame* frame, int mode) {
    QTimer::singleShot(150, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QMessageBox::DestructiveRole) button->click();
    });
    QTimer::singleShot(450, [mode] {
        if (auto* dialog = qobject_cast<CNewGameDlg*>(QApplication::activeModalWidget()))
            if (mode >= 0) dialog->modeList()->setCurrentIndex(mode);
    });
    shootModal(name, frame, [frame] { frame->onCommand(CmdNewGame); }, 700);
}

void tapSquare(CTaviskView* view, int column, int row) {
    const GameController& game = gameController();
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    const QPoint point = view->toWidget(x + game.geometry.cellWidth / 2, y + game.geometry.cellHeight / 2);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, point);
}

void playMove(CTaviskView* view, int fromColumn, int fromRow, int toColumn, int toRow) {
    tapSquare(view, fromColumn, fromRow);
    tapSquare(view, toColumn, toRow);
    waitFor([] { return !gameController().engineBusy; }, 20000);
}

// The first start: splash, Language dialog, a few moves, an open menu, the dialogs.
void firstShots(CTaviskApp& app) {
    CMainFrame* frame = app.mainFrame();
    CTaviskView* view = frame->view();
    settle(900);
    shoot("splash", frame);
    QTimer::singleShot(500, [frame] {
        shoot("dialog-language", frame);
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->toWidget(20, 20));
    waitFor([frame] { return !frame->menuBar()->isHidden(); }, 8000);
    playMove(view, 4, 6, 4, 4); // e2-e4
    playMove(view, 6, 7, 5, 5); // g1-f3
    tapSquare(view, 5, 7);      // the bishop on f1, its moves marked
    settle(300);
    shoot("game-qvga-portrait", frame);
    QTimer::singleShot(500, [frame] {
        shoot("menu-options", frame);
        frame->optionsMenu()->close();
    });
    QTest::mousePress(frame->menuButton(1), Qt::LeftButton);
    settle(200);
    shootNewGame("dialog-new-game", frame, -1);
    // The same dialog on the beginner levels, with the strength figure beside the level.
    shootNewGame("dialog-new-game-novice", frame, 3);
    shootModal("dialog-game-settings", frame, [frame] { frame->onCommand(CmdGameSettings); });
    shootModal("dialog-about", frame, [frame] { frame->onCommand(CmdAbout); });
}

// A later start on another screen: the restored game, flat and isometric.
void secondShots(CTaviskApp& app) {
    CMainFrame* frame = app.mainFrame();
    CTaviskView* view = frame->view();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->toWidget(20, 20));
    waitFor([frame] { return !frame->menuBar()->isHidden(); }, 8000);
    settle(300);
    const QString screen = QString("%1x%2").arg(deviceScreen().width).arg(deviceScreen().height);
    shoot(qPrintable("game-" + screen), frame);
    frame->onCommand(CmdIsometric);
    view->repaint();
    settle(300);
    shoot(qPrintable("game-" + screen + "-isometric"), frame);
    frame->onCommand(CmdWood2D);
}

// The desktop's additions, each on a restored game: the promotion picker, the move list
// with a position under review, the king in check on the flat and isometric boards.
void desktopShots(CTaviskApp& app, const QString& which) {
    CMainFrame* frame = app.mainFrame();
    CTaviskView* view = frame->view();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->toWidget(20, 20));
    waitFor([frame] { return !frame->menuBar()->isHidden(); }, 8000);
    settle(300);
    if (which == "promotion") {
        tapSquare(view, 4, 1);
        tapSquare(view, 4, 0);
        settle(300);
        shoot("desktop-promotion-picker", frame);
        tapSquare(view, 4, 3); // the knight
        waitFor([] { return !gameController().engineBusy; }, 20000);
    } else if (which == "review") {
        if (CMoveList* list = frame->moveList()) {
            view->repaint();
            if (QTableWidgetItem* item = list->itemOfPly(9))
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
        }
        view->repaint();
        settle(300);
        shoot("desktop-move-list-review", frame);
    } else {
        view->repaint();
        settle(300);
        shoot("desktop-check-marker", frame);
        frame->onCommand(CmdIsometric);
        view->repaint();
        settle(300);
        shoot("desktop-check-marker-isometric", frame);
        frame->onCommand(CmdWood2D);
    }
}

// Every language in turn: the New Game dialog and the tutor's question, with Qt's own
// buttons in the language as well.
void languageShots(CTaviskApp& app) {
    CMainFrame* frame = app.mainFrame();
    CTaviskView* view = frame->view();
    QTimer::singleShot(500, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->toWidget(20, 20));
    waitFor([frame] { return !frame->menuBar()->isHidden(); }, 8000);
    static const char* const names[LanguageCount] = {"en", "fr", "it", "de", "es", "zh", "ru"};
    for (int language = 0; language < LanguageCount; ++language) {
        gameController().settings.language = language;
        useQtTranslations(language);
        frame->rebuildMenuBar();
        settle(200);
        const QString newGame = QString("language-%1-new-game").arg(names[language]);
        shootModal(newGame, frame, [frame] { frame->onCommand(CmdNewGame); });
        const QString tutor = QString("language-%1-tutor").arg(names[language]);
        shootModal(tutor, frame, [language] { qtPlatform().askYesNo(MessageWeakMove, language); });
    }
}

bool linkFolder(const QString& from, const QString& to, const char* name) {
    const QString source = from + "/" + name;
    return !QFile::exists(source) || QFile::link(source, to + "/" + name);
}

} // namespace

int main(int argc, char** argv) {
    CTaviskApp app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 8) {
        std::fprintf(stderr, "usage: window-shots PROGRAM_FOLDER OUT_FOLDER SCRATCH --screen WxH --zoom N "
                             "--shots first|second|languages\n");
        return 2;
    }
    const QString program = QDir(args[1]).absolutePath();
    outFolder = args[2];
    const QString scratch = args[3];
    DeviceScreen& screen = deviceScreen();
    if (!parseScreenSize(qPrintable(args[5]), screen.width, screen.height) ||
        !parseZoom(qPrintable(args[7]), screen.zoom))
        return 2;
    const QString shots = args.size() < 10 ? QString("first") : args[9];
    const bool first = shots == "first" || shots == "languages";
    const bool desktop = shots == "promotion" || shots == "review" || shots == "check";
    QDir().mkpath(outFolder);
    QDir().mkpath(scratch);
    for (const char* name : {"Skin1", "Skin2", "Skin3", "Splash", "VGA", "Narrow", "Low", "Toolbar.bmp",
                             "tutorial", "tavisk.svg", "Sounds"})
        QFile::exists(scratch + "/" + name) || linkFolder(program, scratch, name);
    if (first || desktop) {
        QFile::remove(scratch + "/autosave.pgn");
        QFile::remove(scratch + "/options.cfg");
        QFile::remove(scratch + "/tavisk.ini");
        if (!QFile::copy(program + "/options.cfg", scratch + "/options.cfg")) {
            Settings defaults;
            setDefaultSettings(defaults);
            std::uint8_t bytes[SettingsSize];
            encodeSettings(defaults, bytes);
            QFile file(scratch + "/options.cfg");
            if (file.open(QIODevice::WriteOnly))
                file.write(reinterpret_cast<const char*>(bytes), SettingsSize);
        }
        QFile::setPermissions(scratch + "/options.cfg", QFile::ReadOwner | QFile::WriteOwner);
    }
    if (desktop) {
        // The game each picture starts from.
        const char* game = "";
        if (shots == "promotion")
            game = "[FEN \"r6k/4P1pp/8/8/8/8/6PP/6K1 w - - 0 1\"]\r\n\r\n*";
        else if (shots == "review")
            game = "[Event \"?\"]\r\n\r\n1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4 Nf6 5. Nc3 a6 6. Be3 e5 7. Nb3 Be6 "
                   "8. f3 Be7 9. Qd2 O-O 10. O-O-O Nbd7\r\n*";
        else
            game = "[Event \"?\"]\r\n\r\n1. e4 e5 2. Nf3 d6 3. Bc4 Bg4 4. Bxf7+\r\n*";
        QFile file(scratch + "/autosave.pgn");
        if (file.open(QIODevice::WriteOnly)) file.write(game);
    }
    setGameFolder(scratch.toStdString());
    if (!app.initInstance()) return 1;
    if (desktop)
        desktopShots(app, shots);
    else if (shots == "languages")
        languageShots(app);
    else if (first)
        firstShots(app);
    else
        secondShots(app);
    app.exitInstance();
    std::fflush(nullptr);
    std::_Exit(failures == 0 ? 0 : 1);
}
