#pragma once
// The application: the start-up in its order (document, main window, first document
// start, the window shown) and the end in its order (window, then document).

#include <QApplication>

#include <memory>

class CMainFrame;
class CTaviskDoc;

class CTaviskApp : public QApplication {
    Q_OBJECT
  public:
    CTaviskApp(int& argc, char** argv);
    ~CTaviskApp() override;

    static CTaviskApp* instance();

    // The start-up. A missing installed file ends the process (exit code 1) in here;
    // false when the main window could not be created.
    bool initInstance();
    // The orderly end: the main window goes, then the document, which saves the
    // settings and the game. Runs once; the destructor calls it too.
    void exitInstance();

    // Commands of the application's map: the framework's open ("Load"), its new
    // document (Ctrl+N) and "About". True when handled.
    bool onCommand(int command);

    // SIGTERM, SIGINT and SIGHUP close the main window: the same orderly end as
    // "Save and exit". Before the main window exists they end the process at once.
    void endOnTerminationSignals();

    CMainFrame* mainFrame() const { return frame_.get(); }
    CTaviskDoc* document() const { return document_.get(); }

    // Every event handed to the program; once an event of the outermost loop has
    // been handled, the game is auto-saved if it changed.
    bool notify(QObject* receiver, QEvent* event) override;
    // An event is being handled inside the handler of another (a dialog's own loop).
    bool inNestedLoop() const { return eventDepth_ > 1; }

    // "Load": the open dialog, then the document's load path.
    bool openDocument();
    // The document's load path for a file named on the command line.
    bool openFile(const QString& path);

  private:
    std::unique_ptr<CTaviskDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    int eventDepth_ = 0;      // events being handled, one inside another
    bool autosaving_ = false; // from the first document start to the end
};
