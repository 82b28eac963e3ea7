#include "ui/shell/tutorialdlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/shell/devicescreen.h"
#include "ui/shell/dialogunits.h"
#include "ui/shell/filetexts.h"
#include "ui/shell/localisation.h"

CTutorialDlg::CTutorialDlg(const QString& page, int language, QWidget* parent) : QDialog(parent) {
    language = clampLanguage(language);
    setWindowTitle(fromTable(menuText(CmdTutorial, language)));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("tutorialText");
    browser_->setOpenLinks(false); // the page is all there is; nothing leaves the program
    browser_->setSource(QUrl::fromLocalFile(page));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(fromTable(fileTextTable[language].close), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    // The whole device screen: the page is read on the handheld's own display.
    const DeviceScreen& screen = deviceScreen();
    const int zoom = std::max(1, screen.zoom);
    resize(screen.width * zoom, screen.height * zoom);
    showTaskBar();
}
