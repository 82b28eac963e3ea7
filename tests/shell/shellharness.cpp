#include "tests/shell/shellharness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/session/bridge.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "ui/board/geometry.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/taviskapp.h"
#include "ui/shell/taviskview.h"

namespace fs = std::filesystem;

void shellCheckFailed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(nullptr);
    std::_Exit(ScenarioFailed);
}

// ---- the program folder ------------------------------------------------------------

// The folder is made by the test's own process and handed to the scenario's process
// through the environment, so that both look at the same files.
namespace {
constexpr const char* FolderVariable = "TAVISK_SHELL_TEST_FOLDER";
}

ProgramFolder::ProgramFolder() {
    if (const char* inherited = std::getenv(FolderVariable)) {
        path = inherited;
        owner = false;
        return;
    }
    char pattern[] = "/tmp/tavisk-shell-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    path = made;
    setenv(FolderVariable, made, 1);
    // The pictures and pages come from the real program folder (the working directory).
    const fs::path shipped = fs::current_path();
    for (const char* folder : {"Skin1", "Skin2", "Skin3", "Splash", "VGA", "Narrow", "Low", "tutorial", "Sounds",
                               "Toolbar.bmp", "tavisk.svg"})
        if (fs::exists(shipped / folder)) fs::create_symlink(shipped / folder, fs::path(path) / folder);
}

ProgramFolder::~ProgramFolder() {
    if (!owner) return;
    unsetenv(FolderVariable);
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void ProgramFolder::writeSettings(const Settings& settings) const {
    std::uint8_t bytes[SettingsSize];
    encodeSettings(settings, bytes);
    writeFile(SettingsFileName, std::string(reinterpret_cast<const char*>(bytes), SettingsSize));
}

void ProgramFolder::writeFile(const char* name, const std::string& bytes) const {
    std::ofstream out(fs::path(path) / name, std::ios::binary);
    out << bytes;
}

bool ProgramFolder::exists(const char* name) const {
    return fs::exists(fs::path(path) / name);
}

std::string ProgramFolder::read(const char* name) const {
    std::ifstream in(fs::path(path) / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Settings testSettings() {
    Settings settings;
    setDefaultSettings(settings);
    settings.levelMode = LevelRank;
    settings.levelValue = 0; // depth 2: quick and always the same strength
    return settings;
}

// ---- the modal pilot ---------------------------------------------------------------

namespace {
std::deque<ModalAnswer>& answers() {
    static std::deque<ModalAnswer> queue;
    return queue;
}
int unexpectedCount = 0;
QStringList seenTexts;
QPointer<QWidget> handling;

void pilotTick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == handling) return;
    handling = modal;
    QString text = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text += " | " + box->text();
    seenTexts << text;
    std::fprintf(stderr, "modal: %s\n", text.toUtf8().constData());
    if (answers().empty()) {
        ++unexpectedCount;
        std::fprintf(stderr, "modal: nobody expected it\n");
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
    }
    ModalAnswer next = answers().front();
    answers().pop_front();
    if (!next.expectTitle.isEmpty() && modal->windowTitle() != next.expectTitle) {
        ++unexpectedCount;
        std::fprintf(stderr, "modal: expected '%s'\n", next.expectTitle.toUtf8().constData());
    }
    next.answer(modal);
}
} // namespace

void expectModal(ModalAnswer answer) {
    answers().push_back(std::move(answer));
}
int unexpectedModals() {
    return unexpectedCount + static_cast<int>(answers().size());
}
QStringList modalTexts() {
    return seenTexts;
}

std::function<void(QWidget*)> pressButton(const QString& text) {
    return [text](QWidget* window) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->text().remove('&') == text) {
                button->click();
                return;
            }
        ++unexpectedCount;
        std::fprintf(stderr, "modal: no button '%s'\n", text.toUtf8().constData());
        if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
    };
}

std::function<void(QWidget*)> acceptDialog() {
    return [](QWidget* window) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->accept();
    };
}

std::function<void(QWidget*)> rejectDialog() {
    return [](QWidget* window) {
        if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
    };
}

// ---- the program -------------------------------------------------------------------

void runProgram(const std::string& folder, int width, int height,
                const std::function<void(CTaviskApp&)>& body) {
    static int argc = 1;
    static char name[] = "tavisk";
    static char* argv[] = {name, nullptr};
    DeviceScreen& screen = deviceScreen();
    screen.width = width;
    screen.height = height;
    screen.zoom = 1;
    setGameFolder(folder);
    CTaviskApp app(argc, argv);
    QTimer pilot;
    QObject::connect(&pilot, &QTimer::timeout, &pilotTick);
    pilot.start(20);
    // A scenario that waits for something that never comes ends instead of hanging.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        std::fprintf(stderr, "scenario: still running after a minute\n");
        std::fflush(nullptr);
        std::_Exit(ScenarioFailed);
    });
    watchdog.start(60000);
    app.endOnTerminationSignals(); // as the program does before its start-up
    SHELL_CHECK(app.initInstance());
    QApplication::setActiveWindow(app.mainFrame());
    body(app);
    app.exitInstance();
    SHELL_CHECK(unexpectedModals() == 0);
    std::fflush(nullptr);
    std::_Exit(ScenarioPassed);
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

// ---- the stylus --------------------------------------------------------------------

namespace {
QPoint squareCentre(CTaviskView* view, int column, int row) {
    const GameController& game = gameController();
    int x = 0, y = 0;
    cellPosition(game, column, row, x, y);
    return view->toWidget(x + game.geometry.cellWidth / 2, y + game.geometry.cellHeight / 2);
}
} // namespace

void pressSquare(CTaviskView* view, int column, int row) {
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, squareCentre(view, column, row));
}

void releaseSquare(CTaviskView* view, int column, int row) {
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, squareCentre(view, column, row));
}

void tapSquare(CTaviskView* view, int column, int row) {
    pressSquare(view, column, row);
    releaseSquare(view, column, row);
}

void dragPiece(CTaviskView* view, int fromColumn, int fromRow, int toColumn, int toRow) {
    const QPoint from = squareCentre(view, fromColumn, fromRow);
    const QPoint to = squareCentre(view, toColumn, toRow);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, (from + to) / 2, view->mapToGlobal((from + to) / 2), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QMouseEvent last(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &last);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
}

void tapView(CTaviskView* view, int x, int y) {
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, view->toWidget(x, y));
}

void endSplashByTap(CTaviskApp& app) {
    CTaviskView* view = app.mainFrame()->view();
    tapView(view, 10, 10);
}

std::string boardText() {
    std::string text;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column)
            text += ".?PBNRQK??pbnrqk"[engineBridge().pieceAt(column, row) & 15];
        text += '/';
    }
    return text;
}
