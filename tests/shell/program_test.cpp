// The program as a person meets it: start-up with and without the auto-saved game and
// without "options.cfg", the splash screen, the Language dialog and the German menus,
// a whole game by mouse presses, the menus' enable and check rules, Save and Load, the
// tutor's question and the orderly end. Each scenario is a process of its own.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "tests/shell/shellharness.h"
#include "ui/board/sidepanel.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskdoc.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/texttables.h"

namespace {

using ::testing::ExitedWithCode;

class Program : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

constexpr int FileA = 0, FileC = 2, FileD = 3, FileE = 4, FileF = 5, FileG = 6, FileH = 7;
constexpr int Rank8 = 0, Rank7 = 1, Rank5 = 3, Rank4 = 4, Rank3 = 5, Rank2 = 6, Rank1 = 7;

const char* const InitialBoard = "rnbqkbnr/pppppppp/......../......../......../......../PPPPPPPP/RNBQKBNR/";

// A game text as the program writes it: tags, moves, CR LF line ends.
std::string gameText(const char* moves) {
    return std::string(
               "[Event \"Test\"]\r\n[White \"You\"]\r\n[Black \"Tavisk\"]\r\n[Result \"*\"]\r\n\r\n") +
           moves + "\r\n*";
}

// The engine's answer has arrived and its worker is idle again.
void waitForEngine() {
    SHELL_CHECK(waitUntil([] { return !gameController().engineBusy; }, 20000));
    SHELL_CHECK(waitUntil([] { return engineSession.searchState == 0; }, 5000));
}

// The Language dialog, closed with OK after a click on one of its buttons (or none).
void answerLanguage(int buttonId = 0) {
    expectModal({"Select Language", [buttonId](QWidget* window) {
                     if (buttonId)
                         window->findChild<QAbstractButton*>(QString("language%1").arg(buttonId))->click();
                     qobject_cast<QDialog*>(window)->accept();
                 }});
}

// The name typed into the dialog's name field, as a person would. The dialog fills its
// folder view in the background and may put its own proposal back meanwhile: the name
// is typed again until the dialog holds it.
void chooseFile(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    SHELL_CHECK(name);
    SHELL_CHECK(waitUntil(
        [&] {
            if (dialog->selectedFiles().value(0) == path) return true;
            name->setText(path);
            return false;
        },
        3000));
    static_cast<QDialog*>(dialog)->accept();
}

bool enabled(CMainFrame* frame, int command) {
    return frame->action(command)->isEnabled();
}
bool ticked(CMainFrame* frame, int command) {
    return frame->action(command)->isChecked();
}

// The framework's update pass, as when both menus and the submenu drop down.
void updateMenus(CMainFrame* frame) {
    frame->updateMenu(frame->gameMenu());
    frame->updateMenu(frame->optionsMenu());
}

// ---------------------------------------------------------------------------------

TEST_F(Program, MissingSettingsEndsWithMessageOne) {
    ProgramFolder folder; // no "options.cfg"
    EXPECT_EXIT(
        {
            expectModal({"Tavisk", pressButton("OK")});
            runProgram(folder.path, 240, 320, [](CTaviskApp&) { SHELL_CHECK(false); });
        },
        ExitedWithCode(1), "Required files not found. Please, re-install the software.");
    EXPECT_FALSE(folder.exists("autosave.pgn"));
    EXPECT_FALSE(folder.exists("options.cfg"));
}

// A first start: the splash, a tap ends it, the Language dialog follows; German
// rebuilds the menu bar at once, which shows only after the splash timer's 20 ticks.
TEST_F(Program, FirstStartAsksForTheLanguageAndSpeaksGerman) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    EXPECT_EXIT(
        {
            answerLanguage(1005); // Deutsch
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                CTaviskView* view = frame->view();
                SHELL_CHECK(view->splashShowing);
                SHELL_CHECK(frame->menuBar()->isHidden());
                SHELL_CHECK(app.document()->languageDialogPending);
                endSplashByTap(app);
                SHELL_CHECK(!view->splashShowing);
                SHELL_CHECK(gameController().settings.language == German);
                SHELL_CHECK(frame->menuButton(0)->text() == "Spiel");
                SHELL_CHECK(frame->menuButton(1)->text() == "Optionen");
                SHELL_CHECK(frame->action(CmdHint)->text().remove(QChar('&')) == "Tipps");
                SHELL_CHECK(frame->action(CmdSaveAndExit)->text().remove(QChar('&')) == "Speichern und Verlassen");
                SHELL_CHECK(frame->menuBar()->isHidden()); // the tap does not hurry the menu bar
                SHELL_CHECK(frame->splashTicks() < CMainFrame::SplashTicks);
                SHELL_CHECK(waitUntil([&] { return !frame->menuBar()->isHidden(); }, 8000));
                SHELL_CHECK(frame->splashTicks() == CMainFrame::SplashTicks);
                SHELL_CHECK(!frame->splashTimerRunning());

                // The caption of a pressed image button, in German, gone when released.
                QToolButton* rotate = frame->imageButton(3);
                QTest::mousePress(rotate, Qt::LeftButton);
                SHELL_CHECK(view->caption() == "Schachbrett drehen");
                QTest::mouseRelease(rotate, Qt::LeftButton);
                SHELL_CHECK(view->caption().isEmpty());
                SHELL_CHECK(gameController().settings.orientation == 1);

                // The New Game dialog and the tutorial page follow the language; the page
                // opens in a window of the program's own.
                expectModal({"Neues Spiel", pressButton("Abbrechen")}); // Qt's own buttons speak German too
                frame->onCommand(CmdNewGame);
                expectModal({"Lernprogramm", [](QWidget* window) {
                                 auto* page = window->findChild<QTextBrowser*>("tutorialText");
                                 SHELL_CHECK(page && page->source().toLocalFile().endsWith(
                                                         "/tutorial/TutorialG.html"));
                                 SHELL_CHECK(page->toPlainText().contains("Tavisk"));
                                 pressButton(QString::fromUtf16(u"Schließen"))(window);
                             }});
                frame->onCommand(CmdTutorial);
            });
        },
        ExitedWithCode(0), "");
}

// A start with an auto-saved game: no dialog; the splash ends by its timer and the
// restored game is there with the user to move.
TEST_F(Program, RestoredGameAfterSplashByTimer) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    folder.writeFile("autosave.pgn", gameText("1. e4 e5 2. Nf3"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CTaviskView* view = app.mainFrame()->view();
                SHELL_CHECK(view->splashShowing);
                SHELL_CHECK(!app.document()->languageDialogPending);
                SHELL_CHECK(waitUntil([&] { return !view->splashShowing; }, 8000));
                SHELL_CHECK(app.mainFrame()->splashTicks() == CMainFrame::SplashTicks);
                SHELL_CHECK(boardText() ==
                            "rnbqkbnr/pppp.ppp/......../....p.../....P.../.....N../PPPP.PPP/RNBQKB.R/");
                GameController& game = gameController();
                SHELL_CHECK(game.userColour == 2 && game.settings.userPlaysWhite == 0);
                SHELL_CHECK(!game.engineBusy);
                SHELL_CHECK(game.whiteClockMs < 1000 && game.blackClockMs < 1000); // 0:00 each
                SHELL_CHECK(waitUntil([&] { return view->clockTimerRunning(); }, 2000));
            });
        },
        ExitedWithCode(0), "");
}

// A whole game against the engine at depth 2, every move by the mouse: taps and drags
// alternate. The user plays for a quick end (the f- and g-pawns, then the first legal
// move), so the engine mates; the panel shows the end while a box in the user's
// language says who won; after the end the board ignores the stylus.
TEST_F(Program, WholeGameByMousePresses) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.tutorMode = 0; // this user would hear about every move
    folder.writeSettings(settings);
    EXPECT_EXIT(
        {
            answerLanguage(1004); // Italiano
            // The end of the game: the box comes after the paint that shows the end.
            static QString statusAtTheBox;
            expectModal({"Tavisk", [](QWidget* box) {
                             statusAtTheBox = engineStatus().statusText;
                             pressButton("OK")(box);
                         }});
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CTaviskView* view = app.mainFrame()->view();
                endSplashByTap(app);
                GameController& game = gameController();
                EngineBridge& bridge = engineBridge();
                const int preferred[][4] = {{FileF, Rank2, FileF, Rank3}, {FileG, Rank2, FileG, Rank4}};
                int userMoves = 0;
                while (!game.gameDecided() && userMoves < 80) {
                    // The engine has answered; its worker may still be on its way to idle.
                    SHELL_CHECK(waitUntil([&] { return game.sideToMove() == 1; }, 5000));
                    int move[4] = {-1, -1, -1, -1};
                    if (userMoves < 2) {
                        std::copy(std::begin(preferred[userMoves]), std::end(preferred[userMoves]), move);
                    } else {
                        bridge.computeMovablePieces(1);
                        SHELL_CHECK(bridge.nextMovablePiece(move[0], move[1]));
                        bridge.computeDestinations(move[0], move[1], 1);
                        SHELL_CHECK(bridge.nextDestination(move[2], move[3]));
                    }
                    const int moving = bridge.pieceAt(move[0], move[1]);
                    if (userMoves % 2 == 0) {
                        tapSquare(view, move[0], move[1]);
                        SHELL_CHECK(game.pieceSelected);
                        tapSquare(view, move[2], move[3]);
                    } else {
                        dragPiece(view, move[0], move[1], move[2], move[3]);
                    }
                    SHELL_CHECK(bridge.pieceAt(move[2], move[3]) == moving);
                    SHELL_CHECK(bridge.pieceAt(move[0], move[1]) == 0);
                    ++userMoves;
                    if (game.gameDecided()) break;
                    SHELL_CHECK(game.engineBusy);
                    waitForEngine();
                    SHELL_CHECK(!game.animating);
                }
                SHELL_CHECK(game.gameDecided());
                std::fprintf(stderr, "game over after %d moves of the user\n", userMoves);
                SHELL_CHECK(waitUntil([] { return modalTexts().size() == 2; }));
                const QString said = modalTexts().last();
                std::fprintf(stderr, "the box: %s; the panel: %s\n", qPrintable(said), qPrintable(statusAtTheBox));
                bool known = false;
                for (int message = MessageYouMate; message <= MessageComputerResigns; ++message)
                    known |= said.simplified() == ("Tavisk | " + QString::fromUtf16(messageText(message, Italian))).simplified();
                SHELL_CHECK(known);
                SHELL_CHECK(statusAtTheBox == "Checkmate" || statusAtTheBox == "Draw");
                const std::string finalBoard = boardText();
                for (const int square : {FileE, FileF, FileG, FileH}) {
                    tapSquare(view, square, Rank2);
                    SHELL_CHECK(!game.pieceSelected);
                    tapSquare(view, square, Rank4);
                }
                SHELL_CHECK(boardText() == finalBoard);
                SHELL_CHECK(unexpectedModals() == 0);
            });
        },
        ExitedWithCode(0), "");
}

// The enable and check rules in the initial position, mid-game and at the end of the
// record, with the style commands and their own rules.
TEST_F(Program, MenuRulesFollowTheGame) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    EXPECT_EXIT(
        {
            answerLanguage();
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                CTaviskView* view = frame->view();
                GameController& game = gameController();
                endSplashByTap(app);

                // The initial position: nothing to take back or replay, no hint.
                updateMenus(frame);
                for (int command : {CmdHint, CmdTakeback, CmdTakebackAll, CmdForward, CmdForwardAll})
                    SHELL_CHECK(!enabled(frame, command));
                for (int command : {CmdSwapSides, CmdNewGame, CmdSave, CmdLoad, CmdSaveAndExit,
                                    CmdGameSettings, CmdRotateBoard, CmdLanguage, CmdTutorial, CmdAbout})
                    SHELL_CHECK(enabled(frame, command));
                SHELL_CHECK(ticked(frame, CmdWood2D) && !ticked(frame, CmdBlue2D) && !ticked(frame, CmdBW2D));
                SHELL_CHECK(!ticked(frame, CmdIsometric));
                SHELL_CHECK(ticked(frame, CmdShowLegalMoves) && ticked(frame, CmdShowLastMove) &&
                            ticked(frame, CmdTutorMode));
                frame->updateImageButtons();
                SHELL_CHECK(!frame->imageButton(1)->isEnabled() && frame->imageButton(3)->isEnabled());

                // Mid-game, at the end of the record: back yes, forward no.
                tapSquare(view, FileE, Rank2);
                tapSquare(view, FileE, Rank4);
                waitForEngine();
                updateMenus(frame);
                SHELL_CHECK(enabled(frame, CmdTakeback) && enabled(frame, CmdTakebackAll));
                SHELL_CHECK(!enabled(frame, CmdForward) && !enabled(frame, CmdForwardAll));

                // Taken back to the start: forward again, back no more.
                frame->onCommand(CmdTakeback);
                SHELL_CHECK(boardText() == InitialBoard);
                updateMenus(frame);
                SHELL_CHECK(!enabled(frame, CmdTakeback) && !enabled(frame, CmdTakebackAll));
                SHELL_CHECK(enabled(frame, CmdForward) && enabled(frame, CmdForwardAll));
                frame->updateImageButtons();
                SHELL_CHECK(frame->imageButton(2)->isEnabled());
                frame->onCommand(CmdForwardAll);
                updateMenus(frame);
                SHELL_CHECK(!enabled(frame, CmdForward) && enabled(frame, CmdTakeback));

                // The toggles invert their byte and show it; the file waits for the end.
                frame->onCommand(CmdShowLegalMoves);
                frame->onCommand(CmdTutorMode);
                updateMenus(frame);
                SHELL_CHECK(!ticked(frame, CmdShowLegalMoves) && !ticked(frame, CmdTutorMode));
                SHELL_CHECK(game.settings.showLegalMoves == 0);
                frame->onCommand(CmdShowLegalMoves);
                SHELL_CHECK(game.settings.showLegalMoves == 1);

                // Styles: the flat ones keep the turned board; the isometric board turns
                // in quarters.
                frame->onCommand(CmdRotateBoard);
                SHELL_CHECK(game.settings.orientation == 1);
                frame->onCommand(CmdBlue2D);
                SHELL_CHECK(game.settings.skin == 1 && game.settings.orientation == 1);
                updateMenus(frame);
                SHELL_CHECK(ticked(frame, CmdBlue2D) && !ticked(frame, CmdWood2D));
                frame->onCommand(CmdWood2D);
                SHELL_CHECK(game.settings.skin == 0 && game.settings.orientation == 1);
                frame->onCommand(CmdRotateBoard);
                frame->onCommand(CmdIsometric);
                updateMenus(frame);
                SHELL_CHECK(ticked(frame, CmdIsometric) && !ticked(frame, CmdWood2D));
                SHELL_CHECK(game.geometry.cellWidth != game.geometry.cellHeight);
                for (int turn = 1; turn <= 4; ++turn) {
                    frame->onCommand(CmdRotateBoard);
                    SHELL_CHECK(game.settings.orientation == turn % 4);
                }
                frame->onCommand(CmdBW2D);
                SHELL_CHECK(game.settings.isometric == 0 && game.settings.skin == 2);
                frame->onCommand(CmdRotateBoard);
                frame->onCommand(CmdRotateBoard);
                SHELL_CHECK(game.settings.orientation == 0);
                SHELL_CHECK(game.boardImage && game.piecesImage && game.selectionImage);

                // A bar button pressed during a press on the board ends that press.
                pressSquare(view, FileD, Rank2);
                SHELL_CHECK(game.stylusDown);
                QTest::mousePress(frame->imageButton(3), Qt::LeftButton);
                QTest::mouseRelease(frame->imageButton(3), Qt::LeftButton);
                SHELL_CHECK(!game.stylusDown);

                // "New game" cancelled leaves the game; with Computer as White the
                // engine opens as soon as the dialog closes.
                // The game in progress is not saved first.
                const std::string before = boardText();
                expectModal({"Tavisk", pressButton("Don't save")});
                expectModal({"New Game", rejectDialog()});
                frame->onCommand(CmdNewGame);
                SHELL_CHECK(boardText() == before);
                expectModal({"Tavisk", pressButton("Don't save")});
                expectModal({"New Game", [](QWidget* window) {
                                 window->findChild<QComboBox*>("whiteList")->setCurrentIndex(1);
                                 qobject_cast<QDialog*>(window)->accept();
                             }});
                frame->onCommand(CmdNewGame);
                SHELL_CHECK(game.settings.userPlaysWhite == 0);
                waitForEngine();
                SHELL_CHECK(game.sideToMove() == 2 && boardText() != InitialBoard);

                // The Game Settings form: a level for the game that goes on.
                expectModal({"Game Settings", [](QWidget* window) {
                                 window->findChild<QComboBox*>("modeList")->setCurrentIndex(2);
                                 window->findChild<QComboBox*>("levelList")->setCurrentIndex(4);
                                 qobject_cast<QDialog*>(window)->accept();
                             }});
                frame->onCommand(CmdGameSettings);
                SHELL_CHECK(game.settings.levelMode == 2 && game.settings.levelValue == 600000);

                // Ctrl+N asks for a new game (after the question about the game in
                // progress); Ctrl+X does nothing, Ctrl+C only copies.
                const std::string position = boardText();
                QApplication::setActiveWindow(frame);
                for (Qt::Key key : {Qt::Key_X, Qt::Key_C})
                    QTest::keyClick(frame, key, Qt::ControlModifier);
                SHELL_CHECK(boardText() == position);
                expectModal({"Tavisk", pressButton("Cancel")});
                QApplication::setActiveWindow(frame);
                QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
                SHELL_CHECK(modalTexts().last().contains("Tavisk"));
                expectModal({"Tavisk", pressButton("Don't save")});
                expectModal({"New Game", rejectDialog()});
                QApplication::setActiveWindow(frame);
                QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
                SHELL_CHECK(modalTexts().last() == "New Game");
            });
        },
        ExitedWithCode(0), "");
}

// "Save" always asks, proposing "Untitled.pgn"; "Load" of that file gives the same
// position back with the user to move.
TEST_F(Program, SaveThenLoadTheSameFile) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    EXPECT_EXIT(
        {
            answerLanguage();
            runProgram(folder.path, 240, 320, [&folder](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                CTaviskView* view = frame->view();
                endSplashByTap(app);
                tapSquare(view, FileD, Rank2);
                tapSquare(view, FileD, Rank4);
                waitForEngine();
                dragPiece(view, FileC, Rank2, FileC, Rank4);
                waitForEngine();
                const std::string saved = boardText();
                const QString path = QString::fromStdString(folder.path + "/mine.pgn");
                auto saveAs = [](const QString& path) {
                    return [path](QWidget* window) {
                        auto* dialog = qobject_cast<QFileDialog*>(window);
                        SHELL_CHECK(dialog && dialog->acceptMode() == QFileDialog::AcceptSave);
                        SHELL_CHECK(dialog->selectedFiles().value(0).endsWith("/Untitled.pgn"));
                        chooseFile(dialog, path);
                    };
                };
                expectModal({"Save As", saveAs(path)});
                frame->onCommand(CmdSave);
                const std::string text = folder.read("mine.pgn");
                SHELL_CHECK(text.size() > 3 && text.compare(text.size() - 3, 3, "\r\n*") == 0);
                // The second time asks again, proposing the same name.
                expectModal({"Save As", saveAs(QString::fromStdString(folder.path + "/again.pgn"))});
                frame->onCommand(CmdSave);
                // The same game; the time of writing and the clocks may have moved on.
                auto withoutMoment = [](std::string game) {
                    for (const char* tag : {"[Date \"", "[Time \"", "[WhiteTimeUsed \"", "[BlackTimeUsed \""}) {
                        const std::size_t at = game.find(tag);
                        if (at != std::string::npos) game.erase(at, game.find('\n', at) - at);
                    }
                    return game;
                };
                SHELL_CHECK(withoutMoment(folder.read("again.pgn")) == withoutMoment(text));

                frame->onCommand(CmdTakebackAll);
                SHELL_CHECK(boardText() == InitialBoard);
                expectModal({"Tavisk", pressButton("Don't save")});
                expectModal({"Open", [path](QWidget* window) {
                                 auto* dialog = qobject_cast<QFileDialog*>(window);
                                 SHELL_CHECK(dialog && dialog->acceptMode() == QFileDialog::AcceptOpen);
                                 chooseFile(dialog, path);
                             }});
                frame->onCommand(CmdLoad);
                SHELL_CHECK(boardText() == saved);
                SHELL_CHECK(gameController().sideToMove() == gameController().userColour);
                SHELL_CHECK(!gameController().engineBusy);
            });
        },
        ExitedWithCode(0), "");
}

// After 1. e4 e5 2. Qh5 Nc6 the queen taking on f7 is lost: the tutor asks once.
// Yes takes the move back and stops the engine; No lets the engine take the queen.
TEST_F(Program, TutorQuestionAnsweredYesAndNo) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        ProgramFolder folder;
        folder.writeSettings(testSettings());
        folder.writeFile("autosave.pgn", gameText("1. e4 e5 2. Qh5 Nc6"));
        EXPECT_EXIT(
            {
                // The question fits the game's window: its text wraps instead.
                expectModal({"Tavisk", [yes](QWidget* box) {
                                 SHELL_CHECK(box->parentWidget() &&
                                             box->width() <= box->parentWidget()->window()->width());
                                 pressButton(yes ? "Yes" : "No")(box);
                             }});
                runProgram(folder.path, 240, 320, [yes](CTaviskApp& app) {
                    CTaviskView* view = app.mainFrame()->view();
                    GameController& game = gameController();
                    endSplashByTap(app);
                    const std::string before = boardText();
                    dragPiece(view, FileH, Rank5, FileF, Rank7);
                    SHELL_CHECK(engineBridge().pieceAt(FileF, Rank7) == 6); // the White queen
                    waitForEngine();
                    SHELL_CHECK(modalTexts().size() == 1);
                    SHELL_CHECK(modalTexts().value(0).simplified().contains("Your last move seems to be weak"));
                    if (yes) {
                        // The stopped engine winds its search down and plays nothing.
                        SHELL_CHECK(waitUntil([&] { return game.sideToMove() == 1; }, 5000));
                        QTest::qWait(300);
                        SHELL_CHECK(boardText() == before);
                        SHELL_CHECK(!game.engineBusy);
                    } else {
                        SHELL_CHECK(engineBridge().pieceAt(FileF, Rank7) == 15); // the Black king took it
                    }
                });
            },
            ExitedWithCode(0), "");
    }
}

// Landscape: the game has the whole screen; a dialog brings the task bar back.
TEST_F(Program, LandscapeHidesTheTaskBarUntilADialogOpens) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    folder.writeFile("autosave.pgn", gameText("1. e4"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 320, 240, [](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                endSplashByTap(app);
                frame->view()->repaint();
                SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 2000));
                SHELL_CHECK(gameController().geometry.screenType == 2);
                // The clock of the side to move runs while the main window is in front,
                // and stands still while a dialog is.
                GameController& game = gameController();
                SHELL_CHECK(waitUntil([&] { return game.blackClockMs >= 1000; }, 3000));
                bool shownInDialog = false;
                int clockInDialog = -1;
                expectModal({"Game Settings", [&](QWidget* window) {
                                 shownInDialog = frame->taskBarShown();
                                 const int before = game.blackClockMs;
                                 QTest::qWait(2200);
                                 clockInDialog = game.blackClockMs - before;
                                 qobject_cast<QDialog*>(window)->reject();
                             }});
                frame->onCommand(CmdGameSettings);
                SHELL_CHECK(shownInDialog);
                SHELL_CHECK(clockInDialog == 0);
                SHELL_CHECK(game.whiteClockMs == 0);
                frame->view()->repaint();
                SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 2000));
            });
        },
        ExitedWithCode(0), "");
}

// "Save and exit" writes "options.cfg" and "autosave.pgn"; the next start restores both.
TEST_F(Program, QuittingSavesAndTheNextStartRestores) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.reserved[3] = 0x5a;                      // kept as read
    if (folder.owner) folder.writeSettings(settings); // the second start must find what the first left
    EXPECT_EXIT(
        {
            answerLanguage(1002); // Français
            runProgram(folder.path, 240, 320, [&folder](CTaviskApp& app) {
                CTaviskView* view = app.mainFrame()->view();
                endSplashByTap(app);
                tapSquare(view, FileE, Rank2);
                tapSquare(view, FileE, Rank4);
                waitForEngine();
                app.mainFrame()->onCommand(CmdShowLastMove);
                folder.writeFile("board.txt", boardText());
                QTimer::singleShot(0, app.mainFrame(),
                                   [&app] { app.mainFrame()->onCommand(CmdSaveAndExit); });
                app.exec();
            });
        },
        ExitedWithCode(0), "");
    const std::string options = folder.read("options.cfg");
    ASSERT_EQ(options.size(), static_cast<size_t>(SettingsSize));
    Settings written;
    setDefaultSettings(written);
    decodeSettings(reinterpret_cast<const std::uint8_t*>(options.data()), options.size(), written);
    EXPECT_EQ(written.language, French);
    EXPECT_EQ(written.showLastMove, 0);
    EXPECT_EQ(written.reserved[3], 0x5a);
    const std::string autosave = folder.read("autosave.pgn");
    ASSERT_GT(autosave.size(), 3u);
    EXPECT_EQ(autosave.substr(autosave.size() - 3), "\r\n*");
    EXPECT_NE(autosave.find("e4"), std::string::npos);

    EXPECT_EXIT(
        {
            runProgram(folder.path, 240, 320, [&folder](CTaviskApp& app) {
                SHELL_CHECK(!app.document()->languageDialogPending);
                SHELL_CHECK(app.mainFrame()->menuButton(0)->text() == "Jeu");
                endSplashByTap(app);
                SHELL_CHECK(boardText() == folder.read("board.txt"));
                SHELL_CHECK(gameController().sideToMove() == gameController().userColour);
                SHELL_CHECK(gameController().whiteClockMs == 0 && gameController().blackClockMs == 0);
            });
        },
        ExitedWithCode(0), "");
}

} // namespace

namespace {

// A termination signal takes the same orderly way out as "Save and exit".
TEST_F(Program, TerminationSignalSavesTheGame) {
    ProgramFolder folder;
    if (folder.owner) {
        Settings settings = testSettings();
        settings.language = Spanish;
        folder.writeSettings(settings);
        folder.writeFile("autosave.pgn", gameText("1. d4 d5 2. c4"));
    }
    EXPECT_EXIT(
        {
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                app.endOnTerminationSignals();
                endSplashByTap(app);
                app.mainFrame()->onCommand(CmdTutorMode);
                QTimer::singleShot(0, [] { std::raise(SIGTERM); });
                app.exec();
            });
        },
        ExitedWithCode(0), "");
    const std::string options = folder.read("options.cfg");
    ASSERT_EQ(options.size(), static_cast<size_t>(SettingsSize));
    Settings written;
    setDefaultSettings(written);
    decodeSettings(reinterpret_cast<const std::uint8_t*>(options.data()), options.size(), written);
    EXPECT_EQ(written.language, Spanish);
    EXPECT_EQ(written.tutorMode, 0);
    const std::string autosave = folder.read("autosave.pgn");
    EXPECT_NE(autosave.find("c4"), std::string::npos);
    EXPECT_EQ(autosave.substr(autosave.size() - 3), "\r\n*");
}

} // namespace

namespace {

// SIGTERM, SIGINT and SIGHUP end the program in every state: at once while there is no
// main window yet (the start-up's message box), and in order once there is one (the
// settings and the game written), whatever it is doing: the splash, a dialog waiting for
// an answer, the engine thinking on a long level.
TEST_F(Program, TerminationSignalsEndEveryState) {
    enum State { StartUpMessage, Splash, DialogOpen, EngineThinking };
    const char* const stateNames[] = {"start-up message", "splash", "dialog open", "engine thinking"};
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (const State state : {StartUpMessage, Splash, DialogOpen, EngineThinking}) {
            SCOPED_TRACE(testing::Message() << "signal " << signal << ", " << stateNames[state]);
            ProgramFolder folder;
            Settings settings = testSettings();
            settings.tutorMode = 0;
            if (state == EngineThinking) {
                settings.levelMode = LevelTurnIn;
                settings.levelValue = 60000;
            }
            if (folder.owner) { // a death test's process runs the loop again in the same folder
                if (state != StartUpMessage) folder.writeSettings(settings);
                folder.writeFile("autosave.pgn", gameText("1. e4 e5"));
            }
            const int expectedCode = state == StartUpMessage ? 128 + signal : 0;
            EXPECT_EXIT(
                {
                    auto raiseLater = [signal] { QTimer::singleShot(0, [signal] { std::raise(signal); }); };
                    if (state == StartUpMessage)
                        expectModal({"Tavisk", [signal](QWidget*) { std::raise(signal); }});
                    runProgram(folder.path, 240, 320, [&](CTaviskApp& app) {
                        CMainFrame* frame = app.mainFrame();
                        if (state != Splash) endSplashByTap(app);
                        if (state == DialogOpen) {
                            expectModal({"", [signal](QWidget*) { std::raise(signal); }}); // whichever comes first
                            QTimer::singleShot(0, [frame] { frame->onCommand(CmdNewGame); });
                        } else if (state == EngineThinking) {
                            tapSquare(frame->view(), FileG, Rank1);
                            tapSquare(frame->view(), FileF, Rank3);
                            SHELL_CHECK(gameController().engineBusy);
                            raiseLater();
                        } else {
                            raiseLater();
                        }
                        app.exec();
                    });
                },
                ExitedWithCode(expectedCode), "");
            const std::string autosave = folder.read("autosave.pgn");
            if (state == StartUpMessage) {
                EXPECT_FALSE(folder.exists("options.cfg"));
                EXPECT_EQ(autosave, gameText("1. e4 e5"));
                continue;
            }
            EXPECT_EQ(folder.read("options.cfg").size(), static_cast<size_t>(SettingsSize));
            EXPECT_EQ(autosave.substr(autosave.size() - 3), "\r\n*");
            const char* lastMove = state == EngineThinking ? "g1-f3" : "e7-e5";
            EXPECT_NE(autosave.find(lastMove), std::string::npos) << autosave;
        }
    }
}

// A language from "options.cfg" that the Language dialog does not offer: everything is
// Russian, and the dialog keeps it.
TEST_F(Program, RussianFromTheSettingsFile) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.language = Russian;
    folder.writeSettings(settings);
    folder.writeFile("autosave.pgn", gameText("1. e4"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                endSplashByTap(app);
                SHELL_CHECK(frame->menuButton(0)->text() == QString::fromUtf16(u"Игра"));
                SHELL_CHECK(frame->menuButton(1)->text() == QString::fromUtf16(u"Настройки"));
                SHELL_CHECK(frame->action(CmdSave)->text().remove(QChar('&')) == QString::fromUtf16(u"Сохранить игру"));
                expectModal({QString::fromUtf16(u"Настройки игры"), rejectDialog()});
                frame->onCommand(CmdGameSettings);
                expectModal({"Select Language", acceptDialog()});
                frame->onCommand(CmdLanguage);
                SHELL_CHECK(gameController().settings.language == Russian);
                SHELL_CHECK(app.document()->tutorialPage().endsWith("/tutorial/TutorialR.html"));
            });
        },
        ExitedWithCode(0), "");
}

} // namespace

namespace {

// The menus as a person opens them: a press on a bar button drops the menu with its
// rules applied; a command chosen in it runs once it has closed, even one that rebuilds
// the bar the menu belongs to.
TEST_F(Program, MenusOpenFromTheBar) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    folder.writeFile("autosave.pgn", gameText("1. e4 e5"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 240, 320, [](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                endSplashByTap(app);
                bool takebackEnabled = false, forwardEnabled = true, legalTicked = false;
                QTimer::singleShot(200, [&] {
                    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    SHELL_CHECK(open == frame->gameMenu());
                    takebackEnabled = frame->action(CmdTakeback)->isEnabled();
                    forwardEnabled = frame->action(CmdForward)->isEnabled();
                    open->close();
                });
                QTest::mousePress(frame->menuButton(0), Qt::LeftButton);
                SHELL_CHECK(takebackEnabled && !forwardEnabled);

                expectModal({"Select Language", [](QWidget* window) {
                                 window->findChild<QAbstractButton*>("language1005")->click();
                                 qobject_cast<QDialog*>(window)->accept();
                             }});
                QTimer::singleShot(200, [&] {
                    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    SHELL_CHECK(open == frame->optionsMenu());
                    legalTicked = frame->action(CmdShowLegalMoves)->isChecked();
                    frame->action(CmdLanguage)->trigger();
                    open->close();
                });
                QTest::mousePress(frame->menuButton(1), Qt::LeftButton);
                SHELL_CHECK(legalTicked);
                SHELL_CHECK(waitUntil([&] { return frame->menuButton(0)->text() == "Spiel"; }, 3000));
                SHELL_CHECK(frame->action(CmdLanguage)->text().remove(QChar('&')) == "Sprache...");
            });
        },
        ExitedWithCode(0), "");
}

} // namespace

namespace {

// At 640x480, as a player goes about it: the dialogs give the game screen back whole
// (no task-bar banner left over rank 8 and the clocks) and the user's clock runs on;
// the tutorial opens in the program's window; Load offers the games of a file of
// several and the file dialogs open in the documents folder, then where the user was;
// each board family keeps its turn, also over a restart, and "options.cfg" keeps its
// 36 bytes.
TEST_F(Program, DialogsFilesAndBoardViewsAtVgaLandscape) {
    ProgramFolder folder;
    if (folder.owner) {
        folder.writeSettings(testSettings());
        folder.writeFile("autosave.pgn", gameText("1. e4"));
        std::filesystem::create_directories(folder.path + "/Documents");
        std::filesystem::create_directories(folder.path + "/games");
        folder.writeFile("games/three.pgn",
                         "[Event \"Club\"]\n[Date \"2024.05.01\"]\n[White \"Ann\"]\n[Black \"Bob\"]\n"
                         "[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
                         "[Event \"Open\"]\n[White \"Cid\"]\n[Black \"Dee\"]\n[Result \"*\"]\n\n1. d4 d5 *\n\n"
                         "[Event \"Cup\"]\n[White \"Eve\"]\n[Black \"Fay\"]\n[Result \"0-1\"]\n\n"
                         "1. c4 e5 2. g4 Qh4 0-1\n");
    }
    // The user's documents folder is the one of this folder's own.
    const char* home = std::getenv("HOME");
    const std::string userHome = home ? home : "";
    setenv("HOME", folder.path.c_str(), 1);
    EXPECT_EXIT(
        {
            runProgram(folder.path, 640, 480, [&folder](CTaviskApp& app) {
                CMainFrame* frame = app.mainFrame();
                GameController& game = gameController();
                endSplashByTap(app);
                frame->view()->repaint();
                SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 2000));

                // Each dialog shows the task bar; closing it takes the bar away with no
                // further tap or paint, and the user's clock runs again.
                for (int command : {CmdGameSettings, CmdAbout}) {
                    bool shown = false;
                    expectModal({"", [&](QWidget* window) {
                                     shown = frame->taskBarShown();
                                     qobject_cast<QDialog*>(window)->reject();
                                 }});
                    frame->onCommand(command);
                    SHELL_CHECK(shown);
                    SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 1000));
                    SHELL_CHECK(waitUntil([&] { return game.clockSide == game.userColour; }, 1000));
                }
                const int before = game.blackClockMs; // the user plays Black, to move
                SHELL_CHECK(waitUntil([&] { return game.blackClockMs >= before + 1000; }, 2500));

                expectModal({"Tutorial", [](QWidget* window) {
                                 auto* page = window->findChild<QTextBrowser*>("tutorialText");
                                 SHELL_CHECK(page && page->source().toLocalFile().endsWith(
                                                         "/tutorial/Tutorial.html"));
                                 SHELL_CHECK(page->toPlainText().contains("Tavisk"));
                                 pressButton("Close")(window);
                             }});
                frame->onCommand(CmdTutorial);
                SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 1000));

                // Load: the documents folder first, then the list of the file's games.
                const QString games = QString::fromStdString(folder.path + "/games");
                expectModal({"Tavisk", pressButton("Don't save")}); // the game in progress
                expectModal({"Open", [&](QWidget* window) {
                                 auto* dialog = qobject_cast<QFileDialog*>(window);
                                 SHELL_CHECK(dialog->directory().absolutePath() ==
                                             QString::fromStdString(folder.path + "/Documents"));
                                 chooseFile(dialog, games + "/three.pgn");
                             }});
                expectModal({"Choose a game", [](QWidget* window) {
                                 auto* list = window->findChild<QTreeWidget*>("gameList");
                                 SHELL_CHECK(list && list->topLevelItemCount() == 3);
                                 SHELL_CHECK(list->headerItem()->text(4) == "Event");
                                 QTreeWidgetItem* cup = list->topLevelItem(2);
                                 SHELL_CHECK(cup->text(0) == "Eve" && cup->text(1) == "Fay" &&
                                             cup->text(2) == "0-1" && cup->text(4) == "Cup");
                                 list->setCurrentItem(cup);
                                 qobject_cast<QDialog*>(window)->accept();
                             }});
                frame->onCommand(CmdLoad);
                SHELL_CHECK(boardText() ==
                            "rnb.kbnr/pppp.ppp/......../....p.../..P...Pq/......../PP.PPP.P/RNBQKBNR/");
                SHELL_CHECK(waitUntil([&] { return !frame->taskBarShown(); }, 1000));

                // Save opens where the user loaded from.
                expectModal({"Save As", [&](QWidget* window) {
                                 auto* dialog = qobject_cast<QFileDialog*>(window);
                                 SHELL_CHECK(dialog->directory().absolutePath() == games);
                                 chooseFile(dialog, games + "/mine.pgn");
                             }});
                frame->onCommand(CmdSave);
                SHELL_CHECK(folder.exists("games/mine.pgn"));

                // The flat board turned, the isometric one turned twice: each comes back
                // as it was left.
                frame->onCommand(CmdRotateBoard);
                frame->onCommand(CmdIsometric);
                SHELL_CHECK(game.settings.orientation == 0);
                frame->onCommand(CmdRotateBoard);
                frame->onCommand(CmdRotateBoard);
                frame->onCommand(CmdBlue2D);
                SHELL_CHECK(game.settings.orientation == 1);
                frame->onCommand(CmdIsometric);
                SHELL_CHECK(game.settings.orientation == 2);
                frame->onCommand(CmdWood2D);
                SHELL_CHECK(game.settings.orientation == 1);
            });
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(folder.read("options.cfg").size(), static_cast<size_t>(SettingsSize));
    EXPECT_NE(folder.read("tavisk.ini").find("isometricOrientation=2"), std::string::npos);
    EXPECT_EXIT(
        {
            runProgram(folder.path, 640, 480, [&folder](CTaviskApp& app) {
                endSplashByTap(app);
                app.mainFrame()->onCommand(CmdIsometric);
                SHELL_CHECK(gameController().settings.orientation == 2);
                // The loaded game's 0-1 came back with the autosave: the game is over, and
                // Load has nothing to ask. The next Load opens where the last one was.
                SHELL_CHECK(gameController().gameEnd == EndRecordedResult && gameController().gameResultCode() == 2);
                expectModal({"Open", [&](QWidget* window) {
                                 SHELL_CHECK(qobject_cast<QFileDialog*>(window)->directory().absolutePath() ==
                                             QString::fromStdString(folder.path + "/games"));
                                 qobject_cast<QDialog*>(window)->reject();
                             }});
                app.mainFrame()->onCommand(CmdLoad);
            });
        },
        ExitedWithCode(0), "");
    setenv("HOME", userHome.c_str(), 1);
}

} // namespace
