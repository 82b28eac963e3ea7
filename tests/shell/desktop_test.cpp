// The desktop's additions on the running program: the keys of the commands, the
// clipboard (FEN and PGN, copied and pasted back), resigning and draw offers. Each
// scenario is a process of its own.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "engine/core/gamerecord.h"
#include "engine/search/results.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/hintmark.h"
#include "game/promotion.h"
#include "game/review.h"
#include "tests/shell/shellharness.h"
#include "ui/board/boardpaint.h"
#include "ui/board/geometry.h"
#include "ui/board/markers.h"
#include "ui/board/sidepanel.h"
#include "ui/shell/desktoptexts.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/movelist.h"
#include "ui/shell/sounds.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskdoc.h"
#include "ui/shell/taviskview.h"

namespace {

using ::testing::ExitedWithCode;

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

std::string gameText(const char* moves) {
    return std::string("[Event \"Test\"]\r\n[White \"You\"]\r\n[Black \"Tavisk\"]\r\n[Result \"*\"]\r\n\r\n") +
           moves + "\r\n*";
}

// The restored game is shown and the menu bar is there: the keys work from now on.
CMainFrame* waitForGameScreen(CTaviskApp& app) {
    CMainFrame* frame = app.mainFrame();
    SHELL_CHECK(waitUntil([&] { return !frame->menuBar()->isHidden(); }, 8000));
    QApplication::setActiveWindow(frame);
    return frame;
}

// A key on the main window, which is in front again after any dialog.
void key(CMainFrame* frame, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QApplication::setActiveWindow(frame);
    QTest::keyClick(frame, k, modifiers);
    QApplication::processEvents();
}

int ply() {
    return engineSession.gamePosition.ply;
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

const char* const ItalianGame = "1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5";

// ---------------------------------------------------------------------------------

// Every key of a command, pressed on the game screen, does what the menu item does; the
// menus show the keys and mark their items' mnemonic letters.
TEST_F(Desktop, KeysRunTheirCommands) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.tutorMode = 0;
    folder.writeSettings(settings);
    folder.writeFile("autosave.pgn", gameText(ItalianGame));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 480, 640, [](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                GameController& game = gameController();
                SHELL_CHECK(ply() == 7 && game.userColour == White);

                // Shown in the menus.
                SHELL_CHECK(frame->action(CmdTakeback)->shortcuts() ==
                            QList<QKeySequence>({QKeySequence("Ctrl+Z"), QKeySequence(Qt::Key_Left)}));
                SHELL_CHECK(frame->action(CmdHint)->shortcut() == QKeySequence(Qt::Key_H));
                SHELL_CHECK(frame->action(CmdSaveAndExit)->shortcut() == QKeySequence("Ctrl+Q"));
                SHELL_CHECK(frame->action(CmdCopyPosition)->shortcut() == QKeySequence("Ctrl+Shift+C"));
                for (int command : {CmdHint, CmdTakeback, CmdNewGame, CmdSave, CmdLoad, CmdGameSettings, CmdAbout})
                    SHELL_CHECK(frame->action(command)->text().count('&') == 1);

                // Takeback and forward: the arrows, Ctrl+Z and Ctrl+Y, Home and End.
                key(frame, Qt::Key_Left);
                SHELL_CHECK(ply() == 5);
                key(frame, Qt::Key_Z, Qt::ControlModifier);
                SHELL_CHECK(ply() == 3);
                key(frame, Qt::Key_Right);
                SHELL_CHECK(ply() == 5);
                key(frame, Qt::Key_Y, Qt::ControlModifier);
                SHELL_CHECK(ply() == 7);
                key(frame, Qt::Key_Home);
                SHELL_CHECK(ply() == 1);
                key(frame, Qt::Key_End);
                SHELL_CHECK(ply() == 7 && recordLength() == 6);

                // Copy: the game as PGN, the position as FEN.
                setClipboardText("");
                key(frame, Qt::Key_C, Qt::ControlModifier);
                SHELL_CHECK(clipboardText().contains("\n\n1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 *"));
                key(frame, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
                SHELL_CHECK(clipboardText() == "r1bqk1nr/pppp1ppp/2n5/2b1p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4");

                // Paste of something that is no chess: a message, the game stays.
                setClipboardText("hello");
                expectModal({"Tavisk", pressButton("OK")});
                key(frame, Qt::Key_V, Qt::ControlModifier);
                SHELL_CHECK(modalTexts().last().contains("no position (FEN) and no game (PGN)"));
                SHELL_CHECK(ply() == 7);

                // Save asks for the file; Load and New game first ask about the game in progress.
                expectModal({"Save As", rejectDialog()});
                key(frame, Qt::Key_S, Qt::ControlModifier);
                expectModal({"Tavisk", pressButton("Cancel")});
                key(frame, Qt::Key_O, Qt::ControlModifier);
                SHELL_CHECK(modalTexts().last().contains("save the game in progress"));
                expectModal({"Tavisk", pressButton("Don't save")});
                expectModal({"New Game", rejectDialog()});
                key(frame, Qt::Key_N, Qt::ControlModifier);
                SHELL_CHECK(ply() == 7);
                SHELL_CHECK(unexpectedModals() == 0);

                // The hint: the user plays, the engine answers, H shows its expected reply.
                tapSquare(frame->view(), 3, 6); // d2
                tapSquare(frame->view(), 3, 4); // d4
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
                SHELL_CHECK(ply() == 9);
                SHELL_CHECK(game.hintAvailable());
                int hint[4];
                std::copy(std::begin(game.hintMove), std::end(game.hintMove), hint);
                key(frame, Qt::Key_H);
                int shown[4];
                SHELL_CHECK(shownHint(shown));
                SHELL_CHECK(std::equal(std::begin(hint), std::end(hint), std::begin(shown)));

                // F1 shows the tutorial page, in the program's own window.
                expectModal({"Tutorial", rejectDialog()});
                key(frame, Qt::Key_F1);
                SHELL_CHECK(modalTexts().last() == "Tutorial");

                // Ctrl+Q: the orderly end.
                QApplication::setActiveWindow(frame);
                key(frame, Qt::Key_Q, Qt::ControlModifier);
                SHELL_CHECK(waitUntil([&] { return !frame->isVisible(); }, 3000));
            });
        },
        ExitedWithCode(0), "");
}

// The game copied as PGN and pasted back is the same game; a FEN pasted becomes the
// position (and is copied back as it was); an illegal FEN is refused with a message.
TEST_F(Desktop, ClipboardRoundTrips) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    // En passant, a promotion to a knight, captures.
    folder.writeFile("autosave.pgn",
                     gameText("1. e4 d5 2. e5 f5 3. exf6 Nc6 4. fxg7 Bf5 5. gxh8=N Kd7 6. d3 Qe8 7. Nc3 Kc8"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 480, 640, [&](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                const std::string board = boardText();
                frame->onCommand(CmdCopyGame);
                const QString pgn = clipboardText();
                for (const char* tag : {"Event", "Site", "Date", "Round", "White", "Black", "Result"})
                    SHELL_CHECK(pgn.contains(QString("[%1 \"").arg(tag)));
                SHELL_CHECK(pgn.contains("3. exf6 Nc6 4. fxg7 Bf5 5. gxh8=N Kd7 6. d3 Qe8 7. Nc3 Kc8 *"));
                folder.writeFile("copied.pgn", pgn.toStdString());

                // Pasted over the game in progress: the same board and the same text.
                expectModal({"Tavisk", pressButton("Don't save")});
                setClipboardText(pgn);
                frame->onCommand(CmdPaste);
                SHELL_CHECK(boardText() == board);
                SHELL_CHECK(recordLength() == 14);
                frame->onCommand(CmdCopyGame);
                SHELL_CHECK(clipboardText() == pgn);

                // A position: set up, copied back the same.
                const QString fen = "4k3/8/8/3pP3/8/8/8/4K2R w K d6 0 1";
                expectModal({"Tavisk", pressButton("Don't save")});
                setClipboardText(fen);
                frame->onCommand(CmdPaste);
                SHELL_CHECK(boardText() == "....k.../......../......../...pP.../......../......../......../....K..R/");
                frame->onCommand(CmdCopyPosition);
                SHELL_CHECK(clipboardText() == fen);

                // Illegal positions: two white kings, a pawn on the last rank, the side not
                // to move in check, an en-passant square with no pawn that passed it.
                for (const char* bad :
                     {"4k3/8/8/8/8/8/8/2K1K3 w - - 0 1", "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
                      "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4K3 w - e6 0 1",
                      "4k3/8/8/8/8/8/8/4K3 w"}) {
                    expectModal({"Tavisk", pressButton("OK")});
                    setClipboardText(bad);
                    frame->onCommand(CmdPaste);
                    SHELL_CHECK(modalTexts().last().contains("not a legal position"));
                    SHELL_CHECK(boardText() ==
                                "....k.../......../......../...pP.../......../......../......../....K..R/");
                }

                // A king in check is marked on its square, red; the other king is not. (A
                // position without moves is replaced without a question.)
                setClipboardText("4k3/4R3/8/8/8/8/8/4K3 b - - 0 1");
                frame->onCommand(CmdPaste);
                int column = -1, row = -1;
                SHELL_CHECK(kingInCheck(column, row) && column == 4 && row == 0);
                frame->view()->repaint();
                auto redEdge = [&](int c, int r) {
                    int x = 0, y = 0;
                    cellPosition(gameController(), c, r, x, y);
                    const QColor pixel = frame->view()->lastFrame().pixelColor(x + 2, y + gameController().geometry.cellHeight / 2);
                    return pixel.red() > 180 && pixel.green() < 80 && pixel.blue() < 80;
                };
                SHELL_CHECK(redEdge(4, 0));
                SHELL_CHECK(!redEdge(4, 7));
            });
        },
        ExitedWithCode(0), "");
    // Other programs read the copied game: pgn-extract (Debian puts it in /usr/games) without a
    // warning, and chess.js (tools/pgn-check, when its module is installed) to the same end.
    auto run = [](const std::string& command) {
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
            pclose(pipe);
        }
        return output;
    };
    const std::string copied = folder.path + "/copied.pgn";
    const std::string extracted = run("PATH=$PATH:/usr/games pgn-extract -s -Wsan " + copied + " 2>&1");
    EXPECT_NE(extracted.find("5. gxh8=N Kd7"), std::string::npos) << extracted;
    EXPECT_EQ(extracted.find("rror"), std::string::npos) << extracted;
    EXPECT_EQ(extracted.find("arning"), std::string::npos) << extracted;
    const std::string checker = "../../tools/pgn-check/check.js";
    if (std::system("test -d ../../tools/pgn-check/node_modules/chess.js && command -v node >/dev/null") == 0) {
        const std::string read = run("node " + checker + " tags " + copied + " 2>&1");
        EXPECT_NE(read.find("1 14 r1k1qbnN/ppp1p2p/2n5/3p1b2/8/2NP4/PPP2PPP/R1BQKBNR w KQ"), std::string::npos)
            << read;
        EXPECT_EQ(read.find("FAULT"), std::string::npos) << read;
    }
}

// Resigning and a draw offered either way are one end of the game: the panel shows it
// when its box comes, the board takes no move, the copied game and the autosave carry
// the result in the tag and after the moves, the saved game pasted back is still over,
// a takeback goes on with the game. A draw offer is declined when the engine would not
// offer one itself; the engine's own offer, accepted, draws the game.
TEST_F(Desktop, ResignAndDrawOffers) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    folder.writeFile("autosave.pgn", gameText(ItalianGame));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 480, 640, [](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                GameController& game = gameController();
                const std::string board = boardText();
                static QString panelAtBox, listedAtBox; // the panel, and the list's last move
                auto box = [frame](const QString& button) {
                    return ModalAnswer{"Tavisk", [button, frame](QWidget* window) {
                                           panelAtBox = engineStatus().statusText;
                                           QTableWidgetItem* last = frame->moveList()->itemOfPly(ply() - 1);
                                           listedAtBox = last ? last->text() : QString();
                                           pressButton(button)(window);
                                       }};
                };
                // Declined: the engine's own judgement says no.
                engineSession.drawAcceptable = 0;
                expectModal(box("OK"));
                frame->onCommand(CmdOfferDraw);
                SHELL_CHECK(modalTexts().last().contains("declines the draw"));
                SHELL_CHECK(!game.gameDecided() && engineSession.gameResult == 4);

                // Resigned: Black wins, the board takes no move, the game says so everywhere.
                expectModal(box("OK"));
                frame->onCommand(CmdResign);
                SHELL_CHECK(modalTexts().last().contains("You resigned. The computer wins."));
                SHELL_CHECK(panelAtBox == "0-1");
                tapSquare(frame->view(), 3, 6);
                tapSquare(frame->view(), 3, 4);
                SHELL_CHECK(boardText() == board);
                frame->onCommand(CmdCopyGame);
                SHELL_CHECK(clipboardText().contains("[Result \"0-1\"]") && clipboardText().endsWith("Bc5 0-1\n"));
                frame->updateMenu(frame->gameMenu());
                SHELL_CHECK(!frame->action(CmdResign)->isEnabled() &&
                            !frame->action(CmdOfferDraw)->isEnabled());
                // The autosave as it is written at the end of the program.
                SHELL_CHECK(game.saveAutosave());
                QFile file(QString::fromStdString(gameFile(AutosaveFileName)));
                SHELL_CHECK(file.open(QIODevice::ReadOnly));
                const QString saved = QString::fromUtf8(file.readAll());
                SHELL_CHECK(saved.contains("[Result \"0-1\"]") && saved.endsWith("\r\n0-1"));
                // The saved game, pasted back: over, without a box.
                const int boxes = modalTexts().size();
                setClipboardText(saved);
                frame->onCommand(CmdPaste);
                SHELL_CHECK(game.gameEnd == EndRecordedResult && game.gameResultCode() == 2);
                frame->view()->repaint();
                SHELL_CHECK(engineStatus().statusText == "0-1" && modalTexts().size() == boxes);
                tapSquare(frame->view(), 3, 6);
                tapSquare(frame->view(), 3, 4);
                SHELL_CHECK(boardText() == board);

                // A takeback goes on with the game: 3. Bc4 again, and the engine answers.
                frame->onCommand(CmdTakeback);
                SHELL_CHECK(!game.gameDecided() && ply() == 5);
                tapSquare(frame->view(), 5, 7);
                tapSquare(frame->view(), 2, 4);
                SHELL_CHECK(waitUntil([] { return ply() == 7 && !gameController().engineBusy; }));
                SHELL_CHECK(!game.gameDecided());

                // The engine offers a draw in a bishop against a knight after its fifth
                // drawish move; the user accepts.
                expectModal({"Tavisk", pressButton("Don't save")});
                setClipboardText("4k3/8/8/2n5/8/8/5B2/4K3 w - - 0 1");
                frame->onCommand(CmdPaste);
                SHELL_CHECK(ply() == 1 && !game.gameDecided());
                drawishStreak = 4;
                expectModal(box("Yes"));
                expectModal(box("OK"));
                tapSquare(frame->view(), 4, 7);
                tapSquare(frame->view(), 3, 6);
                SHELL_CHECK(waitUntil([] { return gameController().gameDecided(); }));
                SHELL_CHECK(modalTexts().size() >= 2 &&
                            modalTexts()[modalTexts().size() - 2].contains("offers a draw"));
                SHELL_CHECK(ply() == 3 && !listedAtBox.isEmpty()); // the engine's move is listed
                SHELL_CHECK(modalTexts().last().contains("Draw agreed"));
                SHELL_CHECK(panelAtBox == "Draw" && game.gameEnd == EndDrawAgreed);
                frame->onCommand(CmdCopyGame);
                SHELL_CHECK(clipboardText().contains("[Result \"1/2-1/2\"]") &&
                            clipboardText().endsWith(" 1/2-1/2\n"));

                // Taken back, the user offers a draw the engine would offer itself: accepted.
                frame->onCommand(CmdTakeback);
                SHELL_CHECK(!game.gameDecided());
                engineSession.drawAcceptable = 1;
                expectModal(box("OK"));
                frame->onCommand(CmdOfferDraw);
                SHELL_CHECK(modalTexts().last().contains("Draw agreed") && game.gameResultCode() == 3);
                SHELL_CHECK(unexpectedModals() == 0);
            });
        },
        ExitedWithCode(0), "");
}

// A pawn on the last rank, by tap and by drag, opens the picker over the promotion
// square; the knight chosen is played and recorded as "e8=N". A press elsewhere closes
// the picker and leaves the pawn.
TEST_F(Desktop, PromotionToAKnightByTapAndByDrag) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.tutorMode = 0; // a knight for a queen is weak: no question here
    folder.writeSettings(settings);
    folder.writeFile("autosave.pgn", "[FEN \"7k/4P3/8/8/8/8/6p1/K7 w - - 0 1\"]\r\n\r\n*");
    EXPECT_EXIT(
        {
            runProgram(folder.path, 480, 640, [](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                CTaviskView* view = frame->view();
                GameController& game = gameController();
                const std::string start = boardText();
                const int knightColumn = 4, knightRow = 3; // the fourth choice, e5

                // By tap; a press beside the picker first closes it without a move.
                tapSquare(view, 4, 1);
                tapSquare(view, 4, 0);
                SHELL_CHECK(promotionPicker().open && boardText() == start);
                tapSquare(view, 0, 7);
                SHELL_CHECK(!promotionPicker().open && boardText() == start);
                tapSquare(view, 4, 1);
                tapSquare(view, 4, 0);
                SHELL_CHECK(promotionPicker().open);
                view->repaint();
                // The picker shows the four pieces where it says it does: its squares differ
                // from the empty board there.
                tapSquare(view, knightColumn, knightRow);
                SHELL_CHECK(!promotionPicker().open);
                SHELL_CHECK(engineBridge().pieceAt(4, 0) == 4); // a White knight
                SHELL_CHECK(std::string(gameRecord.longTexts[0], 7) == "e7-e8=N");
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
                frame->onCommand(CmdCopyGame);
                SHELL_CHECK(clipboardText().contains("1. e8=N"));

                // By drag, after taking the moves back.
                frame->onCommand(CmdTakeback);
                SHELL_CHECK(boardText() == start);
                dragPiece(view, 4, 1, 4, 0);
                SHELL_CHECK(promotionPicker().open && boardText() == start && !game.stylusDown);
                tapSquare(view, knightColumn, knightRow);
                SHELL_CHECK(engineBridge().pieceAt(4, 0) == 4);
                SHELL_CHECK(std::string(gameRecord.longTexts[0], 7) == "e7-e8=N");
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
            });
        },
        ExitedWithCode(0), "");
}

// The sound of each new move is chosen when the view shows it: a move, a capture,
// check, the end; takebacks and steps forward are silent. The board turns for a user
// who plays Black, and the preferences live in a file of their own.
TEST_F(Desktop, SoundsAndTheBoardTurnedForBlack) {
    ProgramFolder folder;
    folder.writeSettings(testSettings());
    folder.writeFile("autosave.pgn", gameText("1. e4 d5"));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 480, 640, [&](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                CTaviskView* view = frame->view();
                GameController& game = gameController();
                view->repaint();
                const int before = gameSoundsPlayed();
                tapSquare(view, 4, 4); // exd5
                tapSquare(view, 3, 3);
                SHELL_CHECK(gameSoundsPlayed() > before);
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
                view->repaint();
                const int afterEngine = gameSoundsPlayed();
                SHELL_CHECK(afterEngine >= before + 2);
                frame->onCommand(CmdTakeback);
                view->repaint();
                frame->onCommand(CmdForward);
                view->repaint();
                SHELL_CHECK(gameSoundsPlayed() == afterEngine);

                // Check: a FEN where the user gives check.
                setClipboardText("4k3/8/8/8/8/8/8/3QK3 w - - 0 1");
                expectModal({"Tavisk", pressButton("Don't save")});
                frame->onCommand(CmdPaste);
                view->repaint();
                tapSquare(view, 3, 7); // Qd1-e2+
                tapSquare(view, 4, 6);
                SHELL_CHECK(lastGameSound() == GameSound::Check);
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
                view->repaint();
                expectModal({"Tavisk", pressButton("OK")});
                frame->onCommand(CmdResign);
                view->repaint();
                SHELL_CHECK(lastGameSound() == GameSound::End);

                // Sound off: kept in the desktop's own file, options.cfg untouched.
                const std::string options = folder.read("options.cfg");
                frame->onCommand(CmdSound);
                SHELL_CHECK(folder.read("tavisk.ini").find("sound=false") != std::string::npos);
                SHELL_CHECK(folder.read("options.cfg") == options && options.size() == 36);

                // Playing Black turns the board; the user's own turn still works.
                // (The resigned game is over: no question before the new one.)
                SHELL_CHECK(game.settings.orientation == 0);
                expectModal({"New Game", [](QWidget* window) {
                                 window->findChild<QComboBox*>("whiteList")->setCurrentIndex(1);
                                 qobject_cast<QDialog*>(window)->accept();
                             }});
                frame->onCommand(CmdNewGame);
                SHELL_CHECK(game.userColour == 2 && game.settings.orientation == 1);
                frame->onCommand(CmdRotateBoard);
                SHELL_CHECK(game.settings.orientation == 0);
                SHELL_CHECK(waitUntil([&] { return !game.engineBusy && engineSession.searchState == 0; }, 20000));
                frame->onCommand(CmdHint);
                SHELL_CHECK(game.settings.orientation == 0);
            });
        },
        ExitedWithCode(0), "");
}

// The moves in standard notation beside a screen with room; a click on a move shows its
// position without changing the game, the arrows step, End and a press on the board
// return to the game. A small screen has no list.
TEST_F(Desktop, MoveListReviewByClickAndKeys) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.tutorMode = 0;
    folder.writeSettings(settings);
    folder.writeFile("autosave.pgn", gameText(ItalianGame));
    EXPECT_EXIT(
        {
            runProgram(folder.path, 640, 480, [](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                CMoveList* list = frame->moveList();
                SHELL_CHECK(list != nullptr);
                frame->view()->repaint();
                SHELL_CHECK(list->rowCount() == 3);
                SHELL_CHECK(list->item(1, 0)->text() == "2." && list->item(1, 1)->text() == "Nf3" &&
                            list->item(2, 2)->text() == "Bc5");
                SHELL_CHECK(list->itemOfPly(6)->isSelected());
                const std::string game = boardText();
                auto shown = [](int column, int row) { return shownPieceAt(column, row); };

                // A click on 2. Nf3: the knight is on f3, no bishop on c4 yet; the game stays.
                QTableWidgetItem* nf3 = list->itemOfPly(3);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualItemRect(nf3).center());
                SHELL_CHECK(reviewing() && reviewedPlies() == 3 && nf3->isSelected());
                SHELL_CHECK(shown(5, 5) == 4 && shown(2, 4) == 0 && shown(2, 3) == 0);
                SHELL_CHECK(boardText() == game && ply() == 7);
                key(frame, Qt::Key_Left);
                SHELL_CHECK(reviewedPlies() == 2 && shown(5, 5) == 0 && shown(2, 2) == 0 && shown(4, 3) == 10);
                key(frame, Qt::Key_Home);
                SHELL_CHECK(reviewedPlies() == 0 && shown(4, 6) == 2);
                key(frame, Qt::Key_Right);
                key(frame, Qt::Key_Right);
                SHELL_CHECK(reviewedPlies() == 2 && list->itemOfPly(2)->isSelected());
                SHELL_CHECK(ply() == 7 && recordLength() == 6);
                key(frame, Qt::Key_End);
                SHELL_CHECK(!reviewing() && shown(2, 3) == 11 && ply() == 7);

                // A press on the board returns too, and only returns.
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualItemRect(list->itemOfPly(1)).center());
                SHELL_CHECK(reviewedPlies() == 1);
                tapSquare(frame->view(), 3, 6);
                SHELL_CHECK(!reviewing() && !gameController().pieceSelected && ply() == 7);
                // A move played on the board shows in the list as the current one.
                tapSquare(frame->view(), 3, 6);
                tapSquare(frame->view(), 3, 4);
                SHELL_CHECK(waitUntil([] { return !gameController().engineBusy && engineSession.searchState == 0; },
                                      20000));
                frame->view()->repaint();
                SHELL_CHECK(list->item(3, 1)->text() == "d4" && list->itemOfPly(8)->isSelected());
            });
        },
        ExitedWithCode(0), "");
    ProgramFolder small;
    small.writeSettings(testSettings());
    EXPECT_EXIT(
        {
            runProgram(small.path, 240, 320, [](CTaviskApp& app) { SHELL_CHECK(app.mainFrame()->moveList() == nullptr); });
        },
        ExitedWithCode(0), "");
}

// The desktop window: the board and the panel follow the window's size, wide or tall,
// flat or isometric; taps and drags move at every size; the move list stays in the
// panel; the next start opens the window at the size it was left.
TEST_F(Desktop, WindowOfAnySize) {
    ProgramFolder folder;
    Settings settings = testSettings();
    settings.tutorMode = 0; // 3.Nf3 drops the knight to exf3: no question here
    if (folder.owner) folder.writeSettings(settings);
    EXPECT_EXIT(
        {
            deviceScreen().desktop = true;
            expectModal({"Select Language", acceptDialog()}); // a first start
            runProgram(folder.path, 480, 640, [&folder](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                CTaviskView* view = frame->view();
                GameController& game = gameController();
                auto resizeTo = [&](int width, int height) {
                    frame->resize(width, height);
                    // The view, laid out by the frame afterwards, has the new width too: the
                    // squares' places are final.
                    SHELL_CHECK(waitUntil(
                        [&] { return frame->size() == QSize(width, height) && view->width() == width; },
                        3000));
                    QApplication::processEvents();
                    view->repaint();
                    const BoardGeometry& g = game.geometry;
                    SHELL_CHECK(g.screenType == ScreenDesktop);
                    const QRect board =
                        g.cellWidth == g.cellHeight
                            ? QRect(g.boardLeft, g.boardTop, 8 * g.squareSize, 8 * g.squareSize)
                            : QRect(g.boardLeft, g.boardTop, g.boardWidth, g.boardHeight);
                    const QRect panel(g.panelLeft, g.panelTop, g.panelWidth, g.panelHeight);
                    SHELL_CHECK(view->rect().contains(board) && view->rect().contains(panel));
                    SHELL_CHECK(!board.intersects(panel));
                    // The board takes most of the view's shorter way.
                    SHELL_CHECK(std::max(board.width(), board.height()) * 2 >
                                std::min(view->width(), view->height()));
                    SHELL_CHECK(frame->moveList()->isVisible() &&
                                panel.contains(frame->moveList()->geometry()));
                    SHELL_CHECK(view->lastFrame().size() == view->size() * view->devicePixelRatioF());
                };
                auto waitForEngine = [] {
                    SHELL_CHECK(waitUntil(
                        [] { return !gameController().engineBusy && engineSession.searchState == 0; },
                        20000));
                };
                auto piece = [](int column, int row) { return engineBridge().pieceAt(column, row); };
                // Wide, by taps: e2-e4.
                resizeTo(760, 520);
                const int wideSquare = game.geometry.squareSize;
                // Before the first move the panel shows the clocks only: the list follows
                // them; with the engine's status it goes under all the text lines.
                const int pitch = game.geometry.panelLinePitch;
                SHELL_CHECK(frame->moveList()->geometry().top() == game.geometry.panelTop + 3 * pitch);
                tapSquare(view, 4, 6);
                SHELL_CHECK(game.pieceSelected && game.selectedColumn == 4 && game.selectedRow == 6);
                tapSquare(view, 4, 4);
                SHELL_CHECK(piece(4, 4) == WhitePawn);
                waitForEngine();
                view->repaint();
                SHELL_CHECK(frame->moveList()->geometry().top() ==
                            game.geometry.panelTop + game.geometry.panelTextLines * pitch);
                // Tall, by a drag: d2-d4; the squares change with the window.
                resizeTo(420, 700);
                SHELL_CHECK(game.geometry.squareSize != wideSquare &&
                            game.geometry.panelTop > game.geometry.boardTop);
                dragPiece(view, 3, 6, 3, 4);
                SHELL_CHECK(piece(3, 4) == WhitePawn);
                waitForEngine();
                SHELL_CHECK(frame->moveList()->item(1, 1)->text() == "d4");
                // Isometric, turned: g1-f3 by taps, then back to the flat board.
                frame->onCommand(CmdIsometric);
                frame->onCommand(CmdRotateBoard);
                view->repaint();
                const int standInPaints = view->standInPaints();
                resizeTo(700, 560);
                SHELL_CHECK(game.settings.isometric &&
                            game.geometry.cellWidth > 2 * game.geometry.cellHeight - 4);
                // The new size shows at once with the last size's pictures scaled; the
                // crisp ones follow from another thread, and look as those painted in place.
                const BoardGeometry& g = game.geometry;
                const qreal ratio = view->devicePixelRatioF();
                const QRect boardRect(QPointF(g.boardLeft * ratio, g.boardTop * ratio).toPoint(),
                                      QSizeF(g.boardWidth * ratio, g.boardHeight * ratio).toSize());
                SHELL_CHECK(view->standInPaints() > standInPaints);
                const bool shownScaled = view->standInShown(); // unless the crisp set is in already
                const QImage standIn = view->lastFrame().copy(boardRect);
                SHELL_CHECK(waitUntil([&] { return !view->standInShown(); }, 20000));
                const QImage crisp = view->lastFrame().copy(boardRect);
                QImage direct(view->lastFrame().size(), view->lastFrame().format());
                direct.setDevicePixelRatio(ratio);
                paintGameView(direct, game);
                SHELL_CHECK(direct.copy(boardRect) == crisp);
                // Alike at a glance (each size has its own wood grain): the two pictures
                // shrunk to a sixteenth differ by under ten levels; a misplaced or mirrored
                // board differs by about thirty.
                const QSize glance = crisp.size() / 16;
                const QImage a = standIn.scaled(glance, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                const QImage b = crisp.scaled(glance, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                long long apart = 0;
                for (int y = 0; y < glance.height(); ++y)
                    for (int x = 0; x < glance.width(); ++x) {
                        const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                        apart += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                                 std::abs(qBlue(p) - qBlue(q));
                    }
                const double meanApart = double(apart) / (3.0 * glance.width() * glance.height());
                SHELL_CHECK(!shownScaled || (standIn != crisp && meanApart < 15));
                tapSquare(view, 6, 7);
                SHELL_CHECK(game.pieceSelected && game.selectedColumn == 6 && game.selectedRow == 7);
                tapSquare(view, 5, 5);
                SHELL_CHECK(piece(5, 5) == WhiteKnight);
                waitForEngine();
                frame->onCommand(CmdBlue2D);
                resizeTo(640, 480);
                SHELL_CHECK(!game.settings.isometric && game.geometry.cellWidth == game.geometry.cellHeight);
                folder.writeFile("window.txt",
                                 std::to_string(frame->width()) + "x" + std::to_string(frame->height()));
                QTimer::singleShot(0, frame, [frame] { frame->onCommand(CmdSaveAndExit); });
                app.exec();
            });
        },
        ExitedWithCode(0), "");
    EXPECT_NE(folder.read("tavisk.ini").find("geometry="), std::string::npos);
    EXPECT_EQ(folder.read("options.cfg").size(), static_cast<size_t>(SettingsSize));
    EXPECT_EXIT(
        {
            deviceScreen().desktop = true;
            runProgram(folder.path, 480, 640, [&folder](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                const QString size = QString("%1x%2").arg(frame->width()).arg(frame->height());
                SHELL_CHECK(size.toStdString() == folder.read("window.txt"));
                SHELL_CHECK(frame->minimumSize() ==
                            QSize(CMainFrame::DesktopMinimumWidth, CMainFrame::DesktopMinimumHeight));
            });
        },
        ExitedWithCode(0), "");
    // A damaged place in the settings file: the window opens at its usual first size.
    if (folder.owner) folder.writeFile("tavisk.ini", "[window]\ngeometry=@ByteArray(\\x1d\\xd9\\xd0\\xcb)\n");
    EXPECT_EXIT(
        {
            deviceScreen().desktop = true;
            runProgram(folder.path, 480, 640, [](CTaviskApp& app) {
                CMainFrame* frame = waitForGameScreen(app);
                SHELL_CHECK(frame->width() >= CMainFrame::DesktopMinimumWidth &&
                            frame->height() >= CMainFrame::DesktopMinimumHeight);
                SHELL_CHECK(gameController().geometry.screenType == ScreenDesktop &&
                            frame->view()->width() > 0);
            });
        },
        ExitedWithCode(0), "");
}

} // namespace
