#include "ui/shell/taviskdoc.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "engine/session/bridge.h"
#include "game/boardstyle.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/gamelist.h"
#include "game/hintmark.h"
#include "game/skinfiles.h"
#include "ui/board/splash.h"
#include "ui/shell/desktopcommands.h"
#include "ui/shell/enginecontrol.h"
#include "ui/shell/filetexts.h"
#include "ui/shell/gamelistdlg.h"
#include "ui/shell/languagedlg.h"
#include "ui/shell/localisation.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/newgamedlg.h"
#include "ui/shell/preferences.h"
#include "ui/shell/qtplatform.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/tutorialdlg.h"

namespace {
constexpr int ImageNameSize = 256;
// The game's own filter and Qt's "All Files", which its catalogue translates.
QString pgnFilter() {
    return QStringLiteral("Tavisk Files (*.pgn);;") + QFileDialog::tr("All Files (*)");
}
} // namespace

CTaviskDoc::CTaviskDoc() {
    GameController& game = gameController();
    game.platform = &qtPlatform();
    if (!game.initialise()) qtPlatform().exitProcess(1);
    loadDesktopPreferences();
    loadPreferences();
    if (!initSplash(theSplash())) {
        qtPlatform().showMessage(MessageFilesMissing, game.settings.language);
        qtPlatform().exitProcess(1);
    }
}

CTaviskDoc::~CTaviskDoc() {
    savePreferences();
    gameController().shutdown();
    releaseSplash(theSplash());
}

void CTaviskDoc::onNewDocument() {
    GameController& game = gameController();
    if (firstStart) {
        game.resetGame();
        if (!game.loadAutosave()) languageDialogPending = true;
        useQtTranslations(game.settings.language);
        if (frame_) frame_->rebuildMenuBar();
        game.resumeGame(true);
        firstStart = false;
        return;
    }
    newGameDialog();
}

bool CTaviskDoc::newGameDialog() {
    GameController& game = gameController();
    CNewGameDlg dialog(game.settings.language, CNewGameDlg::NewGameForm, frame_);
    dialog.levelMode = static_cast<int>(game.settings.levelMode);
    dialog.levelValue = static_cast<int>(game.settings.levelValue);
    dialog.userPlaysWhite = game.settings.userPlaysWhite != 0;
    if (dialog.exec() != QDialog::Accepted) return false;
    game.settings.levelMode = static_cast<std::uint32_t>(dialog.levelMode);
    game.settings.levelValue = static_cast<std::uint32_t>(dialog.levelValue);
    game.settings.userPlaysWhite = dialog.userPlaysWhite ? 1 : 0;
    game.startNewGame(false);
    return true;
}

bool CTaviskDoc::onCommand(int command) {
    GameController& game = gameController();
    switch (command) {
    case CmdHint:
        game.showHint();
        rememberShownHint(game);
        return true;
    case CmdTakeback:
        game.takeBack(true);
        return true;
    case CmdTakebackAll:
        game.takeBackAll();
        return true;
    case CmdForward:
        game.forward();
        return true;
    case CmdForwardAll:
        game.forwardAll();
        return true;
    case CmdSwapSides:
        game.swapSides();
        return true;
    case CmdNewGame:
        if (confirmDiscardGame(*this, frame_)) newGameCommand();
        return true;
    case CmdSave:
        save();
        return true;
    case CmdSaveAndExit:
        if (frame_) frame_->close();
        return true;
    case CmdGameSettings:
        gameSettings();
        return true;
    case CmdWood2D:
    case CmdBlue2D:
    case CmdBW2D:
    case CmdIsometric:
        boardStyle(command);
        return true;
    case CmdRotateBoard:
        rotateBoard();
        return true;
    case CmdShowLegalMoves:
        game.settings.showLegalMoves = !game.settings.showLegalMoves;
        return true;
    case CmdShowLastMove:
        game.settings.showLastMove = !game.settings.showLastMove;
        return true;
    case CmdTutorMode:
        game.settings.tutorMode = !game.settings.tutorMode;
        return true;
    case CmdLanguage:
        runLanguageDialog();
        return true;
    case CmdTutorial: {
        // In a window of our own: it opens whatever viewers the desktop has.
        CTutorialDlg tutorial(tutorialPage(), game.settings.language, frame_);
        tutorial.exec();
        return true;
    }
    default:
        return desktopCommand(command, *this, frame_);
    }
}

// "New game" stops the engine (it plays neither side) before the dialog. A cancelled
// dialog gives the engine its side back and lets it think again if it was thinking;
// otherwise the board would ignore every tap until some other command.
void CTaviskDoc::newGameCommand() {
    const std::uint8_t engineSide = stopEngineForNewGame();
    if (newGameDialog()) return;
    restoreEngineSide(engineSide);
    if (gameController().engineBusy) engineBridge().go();
}

void CTaviskDoc::gameSettings() {
    GameController& game = gameController();
    CNewGameDlg dialog(game.settings.language, CNewGameDlg::SettingsForm, frame_);
    dialog.levelMode = static_cast<int>(game.settings.levelMode);
    dialog.levelValue = static_cast<int>(game.settings.levelValue);
    dialog.userPlaysWhite = game.settings.userPlaysWhite != 0;
    if (dialog.exec() != QDialog::Accepted) return;
    game.settings.levelMode = static_cast<std::uint32_t>(dialog.levelMode);
    game.settings.levelValue = static_cast<std::uint32_t>(dialog.levelValue);
    game.settings.userPlaysWhite = dialog.userPlaysWhite ? 1 : 0;
    game.applySettings();
}

bool CTaviskDoc::runLanguageDialog() {
    GameController& game = gameController();
    CLanguageDlg dialog(game.settings.language, frame_);
    if (dialog.exec() != QDialog::Accepted) return false;
    game.settings.language = dialog.language;
    useQtTranslations(game.settings.language);
    if (frame_) frame_->rebuildMenuBar();
    return true;
}

// Each board family keeps its own orientation, as the user left it.
void CTaviskDoc::boardStyle(int command) {
    GameController& game = gameController();
    const bool isometric = command == CmdIsometric;
    const std::uint32_t skin = command == CmdBlue2D ? 1 : command == CmdBW2D ? 2 : 0;
    if (!chooseBoardStyle(game.settings, preferences().turns, isometric, skin)) return;
    game.loadSkin(static_cast<int>(game.settings.skin));
}

// A quarter turn of the isometric board, a half turn of the flat one; only the board
// picture changes.
void CTaviskDoc::rotateBoard() {
    GameController& game = gameController();
    Settings& settings = game.settings;
    if (settings.isometric)
        settings.orientation = (settings.orientation + 1) % 4;
    else
        settings.orientation = settings.orientation == 0 ? 1 : 0;
    char name[ImageNameSize];
    if (settings.isometric)
        isoBoardImageName(name, sizeof name, settings.skin, settings.orientation);
    else
        boardImageName(name, sizeof name, settings.skin, game.geometry.screenType);
    ImageHandle board = game.platform ? game.platform->loadImage(name) : nullptr;
    if (!board) {
        game.quitProgram();
        return;
    }
    if (game.boardImage) game.platform->releaseImage(game.boardImage);
    game.boardImage = board;
    game.repaint();
}

// The document keeps no file name: "Save" always asks, proposing "Untitled.pgn".
bool CTaviskDoc::save() {
    const QString proposal = QDir(fileDialogFolder()).filePath("Untitled.pgn");
    const QString path = QFileDialog::getSaveFileName(frame_, QString(), proposal, pgnFilter());
    if (path.isEmpty()) return false;
    rememberFileFolder(path);
    return storeFile(path);
}

bool CTaviskDoc::storeFile(const QString& path) {
    if (gameController().writeGameToFile(QFile::encodeName(path).constData())) return true;
    QMessageBox::warning(frame_, fromTable(applicationTitle),
                         fromTable(fileProblemTable[currentLanguage()][FileNotSaved]).arg(path));
    return false;
}

// A file of several games offers them in a list; a file of one loads at once.
bool CTaviskDoc::loadFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const std::vector<GameListEntry> games = listGames(name.constData());
    int chosen = 0;
    if (games.size() > 1) {
        CGameListDlg list(games, currentLanguage(), frame_);
        if (list.exec() != QDialog::Accepted) return false;
        chosen = list.chosenGame();
    }
    if (!gameController().readGameFromFile(name.constData(), chosen)) {
        QMessageBox::warning(frame_, fromTable(applicationTitle),
                             fromTable(fileProblemTable[currentLanguage()][FileNotRead]).arg(path));
        return false;
    }
    if (CTaviskView* view = theView()) view->repaint();
    return true;
}

QString CTaviskDoc::tutorialPage() const {
    const QString name = QString("Tutorial%1.html").arg(tutorialSuffix[currentLanguage()]);
    return QDir(QString::fromStdString(gameFolder())).filePath("tutorial/" + name);
}
