#pragma once
// Runs the whole program inside a test: a program folder of its own (the shipped
// pictures, a chosen "options.cfg" and "autosave.pgn"), the real start-up, a pilot that
// answers the modal dialogs and message boxes as they come, and mouse presses on the view.
// Every scenario runs in a process of its own, as the program does: the controller and
// the engine exist once per process.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <string>

#include "game/settings.h"

class QWidget;
class CTaviskApp;
class CMainFrame;
class CTaviskView;

// A check inside a scenario: reports and ends the scenario's process with code 3.
#define SHELL_CHECK(condition)                                                                               \
    do {                                                                                                     \
        if (!(condition)) shellCheckFailed(__FILE__, __LINE__, #condition);                                  \
    } while (0)
[[noreturn]] void shellCheckFailed(const char* file, int line, const char* condition);

// The scenario's process ends with 0 when the scenario returns.
constexpr int ScenarioPassed = 0;
constexpr int ScenarioFailed = 3;

// A folder that stands for the program folder: links to the pictures and the tutorial
// of the real one, and the files a scenario chooses. Removed by the test that made it.
struct ProgramFolder {
    std::string path;
    bool owner = true; // false in a scenario's process, which uses the folder its test made
    ProgramFolder();
    ~ProgramFolder();
    void writeSettings(const Settings& settings) const;
    void writeFile(const char* name, const std::string& bytes) const;
    bool exists(const char* name) const;
    std::string read(const char* name) const;
};

Settings testSettings(); // the defaults, with a fixed engine depth (level "Rank" 1: depth 2)

// Answers for the modal windows, in the order they appear. A modal window with no
// answer left is closed and counted as a failure.
struct ModalAnswer {
    QString expectTitle;                  // empty: any
    std::function<void(QWidget*)> answer; // closes the window one way or another
};
void expectModal(ModalAnswer answer);
int unexpectedModals();
QStringList modalTexts(); // window titles and message texts, in order

// Closers for the common cases.
std::function<void(QWidget*)> pressButton(const QString& text); // a button by its text
std::function<void(QWidget*)> acceptDialog();
std::function<void(QWidget*)> rejectDialog();

// Starts the program in the folder on the screen, runs the body, ends the program in
// order and ends the process with ScenarioPassed.
[[noreturn]] void runProgram(const std::string& folder, int width, int height,
                             const std::function<void(CTaviskApp&)>& body);

// Waits, handling events, until the condition holds; false after the time-out.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// Mouse presses on the view at the centre of a square, in device coordinates.
void pressSquare(CTaviskView* view, int column, int row);
void releaseSquare(CTaviskView* view, int column, int row);
void tapSquare(CTaviskView* view, int column, int row);
void dragPiece(CTaviskView* view, int fromColumn, int fromRow, int toColumn, int toRow);
void tapView(CTaviskView* view, int x, int y);

// Ends the splash screen with a tap and waits for nothing else.
void endSplashByTap(CTaviskApp& app);

// The board as FEN-like text of piece codes, for comparisons.
std::string boardText();
