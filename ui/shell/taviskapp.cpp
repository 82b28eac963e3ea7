#include "ui/shell/taviskapp.h"

#include <QFileDialog>
#include <QSocketNotifier>
#include <QThreadPool>

#include <QIcon>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "game/autosave.h"
#include "game/gamefiles.h"

#include "ui/shell/aboutdlg.h"
#include "ui/shell/desktopcommands.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/localisation.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/preferences.h"
#include "ui/shell/taviskdoc.h"
#include "ui/shell/taviskview.h"
#include "ui/shell/userfiles.h"

namespace {

// A termination request (Ctrl+C, the session ending, kill) takes the orderly way out
// once the main window exists, so the settings and the game in progress are saved: the
// signal only writes a byte that the main thread reads. Before that there is nothing to
// save and perhaps no event loop to read the byte (the start-up's message box runs
// before it): the process ends at once.
int signalPipe[2] = {-1, -1};
constexpr int BeforeMainWindow = 0, MainWindowUp = 1, Ending = 2;
volatile std::sig_atomic_t signalState = BeforeMainWindow;
volatile std::sig_atomic_t endRequested = 0;
// An orderly end that has not come this long after the request is cut short (the
// default action of SIGALRM ends the process).
constexpr unsigned OrderlyEndSeconds = 15;

void onTerminationSignal(int signal) {
    if (signalState == Ending) { // the settings and the game are being written
        if (!endRequested) alarm(OrderlyEndSeconds);
        endRequested = 1;
        return;
    }
    // A second request does not wait for the first.
    if (signalState == BeforeMainWindow || endRequested) _exit(128 + signal);
    endRequested = 1;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    alarm(OrderlyEndSeconds);
}

} // namespace

void CTaviskApp::endOnTerminationSignals() {
    if (signalPipe[0] >= 0 || ::pipe(signalPipe) != 0) return;
    for (int end : signalPipe) ::fcntl(end, F_SETFD, FD_CLOEXEC);
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        if (frame_)
            frame_->close(); // also ends the loops of open dialogs
        else
            std::_Exit(128 + byte);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGALRM, SIG_DFL);
}

CTaviskApp::CTaviskApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Tavisk");
    setApplicationDisplayName(fromTable(applicationTitle));
    setOrganizationName("Tavisk");
    setDesktopFileName("tavisk");
    setQuitOnLastWindowClosed(false); // the end runs through exitInstance
}

CTaviskApp::~CTaviskApp() {
    exitInstance();
}

CTaviskApp* CTaviskApp::instance() {
    return qobject_cast<CTaviskApp*>(QCoreApplication::instance());
}

bool CTaviskApp::initInstance() {
    DeviceScreen& screen = deviceScreen();
    if (screen.zoom <= 0) screen.zoom = zoomForMonitor(primaryScreen(), screen.width, screen.height);

    useUserFoldersWhenNeeded();
    setWindowIcon(QIcon(QString::fromStdString(gameFile("tavisk.svg"))));

    // 2. The document: settings, skins, engine, splash pictures.
    document_ = std::make_unique<CTaviskDoc>();
    // 3, 4. The main window with its hidden command bar and splash timer, and its view.
    frame_ = std::make_unique<CMainFrame>(document_.get());
    if (!frame_->created()) {
        frame_.reset();
        return false;
    }
    document_->setMainFrame(frame_.get());
    // 5. The first document start: a fresh game, the auto-saved game, the menu bar.
    document_->onNewDocument();
    autosaveIsCurrent(); // written when it changes
    // 6. Shown and painted: the splash screen.
    frame_->show();
    frame_->activateWindow();
    frame_->view()->update();
    signalState = MainWindowUp;
    autosaving_ = true;
    return true;
}

void CTaviskApp::exitInstance() {
    signalState = Ending;
    autosaving_ = false;
    if (frame_) {
        document_->setMainFrame(nullptr);
        frame_.reset();
    }
    document_.reset();
    // A picture set still being painted on another thread for the window that is gone.
    QThreadPool::globalInstance()->waitForDone();
}

bool CTaviskApp::onCommand(int command) {
    switch (command) {
    case CmdLoad:
        if (document_ && !confirmDiscardGame(*document_, frame_.get())) return true;
        openDocument();
        return true;
    case CmdFileNew:
        if (document_) document_->onNewDocument();
        return true;
    case CmdAbout: {
        CAboutDlg dialog(currentLanguage(), frame_.get());
        dialog.exec();
        return true;
    }
    default:
        return false;
    }
}

bool CTaviskApp::notify(QObject* receiver, QEvent* event) {
    ++eventDepth_;
    const bool handled = QApplication::notify(receiver, event);
    // Events inside a handler (a dialog's own loop) wait for that handler to finish
    // its change of the game.
    if (--eventDepth_ == 0 && autosaving_) autosaveIfChanged();
    return handled;
}

bool CTaviskApp::openFile(const QString& path) {
    return document_ && document_->loadFile(path);
}

bool CTaviskApp::openDocument() {
    // No caption of our own: the file dialog's own title speaks the user's language.
    const QString path =
        QFileDialog::getOpenFileName(frame_.get(), QString(), fileDialogFolder(),
                                     "Tavisk Files (*.pgn);;" + QFileDialog::tr("All Files (*)"));
    if (path.isEmpty() || !document_) return false;
    rememberFileFolder(path);
    return document_->loadFile(path);
}
