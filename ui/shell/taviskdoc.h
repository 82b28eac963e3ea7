#pragma once
// The document: owns the game controller's life, decides what a new document means
// (the first start or a New Game dialog), saves and loads through the controller and
// handles almost every menu command.

#include <QObject>
#include <QString>

class CMainFrame;

class CTaviskDoc : public QObject {
    Q_OBJECT
  public:
    // Settings, skin images and the engine, then the splash pictures. A missing
    // installed file has ended the process before this returns.
    CTaviskDoc();
    // Settings, then the auto-saved game, then the pictures.
    ~CTaviskDoc() override;

    bool firstStart = true;             // until the first document start has run
    bool languageDialogPending = false; // no game restored: ask for the language after the splash

    void setMainFrame(CMainFrame* frame) { frame_ = frame; }

    // The framework's new document: the first start, or a new game after the dialog.
    void onNewDocument();
    // True when the document's command map holds the command.
    bool onCommand(int command);

    // "Save": always asks, proposing "Untitled.pgn". False when nothing was written.
    bool save();
    // The load path of a file chosen in the open dialog: the list of its games when it
    // holds several, then the chosen game.
    bool loadFile(const QString& path);
    // Writes the game to a chosen file (the store path of "Save").
    bool storeFile(const QString& path);

    // The Language dialog with the current language; on OK the language changes and
    // the menu bar is rebuilt for it.
    bool runLanguageDialog();

    // Full path of the tutorial page for the current language.
    QString tutorialPage() const;

  private:
    // The New Game dialog; on OK a new game with its values. True on OK.
    bool newGameDialog();
    void newGameCommand();
    void gameSettings();
    void boardStyle(int command);
    void rotateBoard();

    CMainFrame* frame_ = nullptr;
};
