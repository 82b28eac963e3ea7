#pragma once
// The tutorial page in a window of the program itself, so that it opens whether or not
// the desktop has a viewer for HTML files.

#include <QDialog>

class QTextBrowser;

class CTutorialDlg : public QDialog {
    Q_OBJECT
  public:
    // The page of a file; a missing page leaves the window empty.
    CTutorialDlg(const QString& page, int language, QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};
