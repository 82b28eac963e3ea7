#include "ui/shell/qtplatform.h"

#include <QApplication>
#include <QMetaObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "ui/board/images.h"
#include "ui/shell/devicescreen.h"
#include "ui/shell/localisation.h"
#include "ui/shell/mainframe.h"
#include "ui/shell/taviskview.h"

CMainFrame* theMainFrame = nullptr;

CTaviskView* theView() {
    return theMainFrame ? theMainFrame->view() : nullptr;
}

QtPlatform& qtPlatform() {
    static QtPlatform platform;
    return platform;
}

void QtPlatform::repaint() {
    if (CTaviskView* view = theView()) view->repaint();
}

void QtPlatform::sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The worker's notifications wait as calls queued on the application object.
void QtPlatform::serveEngineNotifications() {
    if (QCoreApplication* application = QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(application, QEvent::MetaCall);
}

// Qt numbers its timers itself; the handle is the view's timer id, which the view's
// timer event recognises as the clock timer.
std::intptr_t QtPlatform::startTimer(void* view, int identifier, int periodMs) {
    CTaviskView* target = view ? static_cast<CTaviskView*>(view) : theView();
    if (!target) return 0;
    return target->startClockTimer(periodMs);
}

void QtPlatform::stopTimer(std::intptr_t handle) {
    if (CTaviskView* view = theView()) view->stopClockTimer(static_cast<int>(handle));
}

void QtPlatform::showMessage(int message, int language) {
    messageBox(fromTable(messageText(message, language)), BoxType::Ok, theMainFrame);
}

bool QtPlatform::askYesNo(int message, int language) {
    return messageBox(fromTable(messageText(message, language)), BoxType::YesNoQuestion, theMainFrame) ==
           AnswerYes;
}

// A modal window of the program (a dialog, a message box) is in front of it.
bool QtPlatform::isForeground() {
    return theMainFrame && theMainFrame->isActiveWindow() && !QApplication::activeModalWidget();
}

bool QtPlatform::stylusButtonDown() {
    return QGuiApplication::mouseButtons() & Qt::LeftButton;
}

bool QtPlatform::hasMainWindow() {
    return theMainFrame != nullptr;
}

// Queued, so that the window is not torn down under the caller's feet.
void QtPlatform::closeMainWindow() {
    if (theMainFrame) QMetaObject::invokeMethod(theMainFrame, &CMainFrame::close, Qt::QueuedConnection);
}

// At once: nothing is saved, and no library's clean-up runs with the engine's worker
// still about.
void QtPlatform::exitProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

ImageHandle QtPlatform::loadImage(const char* name) {
    return ::loadImage(name);
}

void QtPlatform::releaseImage(ImageHandle image) {
    ::releaseImage(image);
}

// The desktop window's view before it is shown: a usual first size.
int QtPlatform::screenWidth() {
    if (!deviceScreen().desktop) return deviceScreen().width;
    const CTaviskView* view = theView();
    return view && view->width() > 0 ? view->width() : 800;
}

int QtPlatform::screenHeight() {
    if (!deviceScreen().desktop) return deviceScreen().height;
    const CTaviskView* view = theView();
    return view && view->height() > 0 ? view->height() : 560;
}

bool QtPlatform::desktopLayout() {
    return deviceScreen().desktop;
}
