#include "ui/shell/languagedlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QRadioButton>

#include "ui/shell/dialogunits.h"
#include "ui/shell/localisation.h"

bool languageDialogOpen = false;

namespace {
// Positions of the five buttons in the template, in dialog units.
constexpr int buttonRects[5][4] = {
    {19, 7, 38, 10}, {19, 21, 72, 10}, {19, 35, 69, 10}, {19, 49, 74, 10}, {19, 63, 73, 10},
};
} // namespace

CLanguageDlg::CLanguageDlg(int held, QWidget* parent) : QDialog(parent), language(held) {
    setWindowTitle(fromTable(languageDialogTitle));
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        buttons_[i] = new QRadioButton(fromTable(languageChoices[i].name), this);
        buttons_[i]->setObjectName(QString("language%1").arg(languageChoices[i].buttonId));
        // The template's widths were made for the device's font; never cut a name.
        QRect rect =
            dialogRect(this, buttonRects[i][0], buttonRects[i][1], buttonRects[i][2], buttonRects[i][3]);
        rect.setWidth(std::max(rect.width(), buttons_[i]->sizeHint().width()));
        rect.setHeight(std::max(rect.height(), buttons_[i]->sizeHint().height()));
        buttons_[i]->setGeometry(rect);
        group->addButton(buttons_[i], i);
        const int choice = languageChoices[i].language;
        connect(buttons_[i], &QRadioButton::clicked, this, [this, choice] { language = choice; });
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    const QRect area = dialogRect(this, 0, 0, 179, 191);
    const QSize boxSize = box->sizeHint();
    box->setGeometry(area.width() - boxSize.width() - 8, area.height() - boxSize.height() - 8,
                     boxSize.width(), boxSize.height());
    setFixedSize(area.size().expandedTo(QSize(boxSize.width() + 16, 0)));
    connect(box, &QDialogButtonBox::accepted, this, &CLanguageDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CLanguageDlg::reject);
}

void CLanguageDlg::initDialog() {
    showTaskBar();
    languageDialogOpen = true;
    for (int i = 0; i < 5; ++i)
        if (languageChoices[i].language == language) buttons_[i]->setChecked(true);
}

int CLanguageDlg::exec() {
    initDialog();
    return QDialog::exec();
}

// Every way of closing ends the suppression of the full-screen switch, not only OK:
// otherwise a cancelled dialog would keep the task bar on a landscape screen for good.
void CLanguageDlg::done(int result) {
    languageDialogOpen = false;
    QDialog::done(result);
}
