#include "ui/shell/languagedlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
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
    // The title also heads the dialog: the device shows no title bar over it.
    heading_ = new QLabel(fromTable(languageDialogTitle), this);
    heading_->setObjectName("languageHeading");
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    const QRect first = dialogRect(this, buttonRects[0][0], buttonRects[0][1], 0, 0);
    heading_->setGeometry(QRect(QPoint(first.x() / 2, first.y()), heading_->sizeHint()));
    const int shift = heading_->geometry().bottom() + first.y() / 2;

    auto* group = new QButtonGroup(this);
    int right = heading_->geometry().right(), bottom = 0;
    for (int i = 0; i < 5; ++i) {
        buttons_[i] = new QRadioButton(fromTable(languageChoices[i].name), this);
        buttons_[i]->setObjectName(QString("language%1").arg(languageChoices[i].buttonId));
        // The template's places under the heading; the widths were made for the
        // device's font, so a name is never cut.
        QRect rect =
            dialogRect(this, buttonRects[i][0], buttonRects[i][1], buttonRects[i][2], buttonRects[i][3]);
        rect.translate(0, shift - first.y());
        rect.setWidth(std::max(rect.width(), buttons_[i]->sizeHint().width()));
        rect.setHeight(std::max(rect.height(), buttons_[i]->sizeHint().height()));
        buttons_[i]->setGeometry(rect);
        right = std::max(right, rect.right());
        bottom = std::max(bottom, rect.bottom());
        group->addButton(buttons_[i], i);
        const int choice = languageChoices[i].language;
        connect(buttons_[i], &QRadioButton::clicked, this, [this, choice] { language = choice; });
    }
    // OK and Cancel right under the list: the dialog is as large as what it holds.
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    const QSize boxSize = box->sizeHint();
    const int margin = 8;
    const int width = std::max(right + 1 + first.x(), boxSize.width() + 2 * margin);
    const int boxTop = bottom + 1 + margin;
    box->setGeometry(width - boxSize.width() - margin, boxTop, boxSize.width(), boxSize.height());
    setFixedSize(width, boxTop + boxSize.height() + margin);
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
