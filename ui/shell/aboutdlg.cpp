#include "ui/shell/aboutdlg.h"

#include <QDialogButtonBox>
#include <QLabel>

#include "ui/shell/dialogunits.h"
#include "ui/shell/localisation.h"

namespace {
// Top and height of each of the seven lines, in dialog units.
constexpr int lineRows[CAboutDlg::LineCount][2] = {
    {8, 10}, {22, 10}, {42, 10}, {54, 10}, {70, 10}, {82, 10}, {98, 10},
};
} // namespace

CAboutDlg::CAboutDlg(int language, QWidget* parent) : QDialog(parent) {
    const int l = clampLanguage(language);
    const DialogTexts& texts = dialogTextTable[l];
    const auto& credits = creditTable[l];
    setWindowTitle(fromTable(texts.aboutTitle));
    const QString content[LineCount] = {
        fromTable(applicationTitle), fromTable(texts.version), fromTable(credits[0]), fromTable(credits[1]),
        fromTable(credits[2]),       fromTable(credits[3]),    fromTable(credits[4])};
    const QRect area = dialogRect(this, 0, 0, 156, 129);
    for (int i = 0; i < LineCount; ++i) {
        lines_[i] = new QLabel(content[i], this);
        QRect rect = dialogRect(this, 0, lineRows[i][0], 153, lineRows[i][1]);
        rect.setWidth(std::max(rect.width(), lines_[i]->sizeHint().width()));
        rect.setHeight(std::max(rect.height(), lines_[i]->sizeHint().height()));
        lines_[i]->setGeometry(rect);
        lines_[i]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    }
    QFont bold = lines_[0]->font();
    bold.setBold(true);
    lines_[0]->setFont(bold);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    int width = area.width();
    for (QLabel* label : lines_) width = std::max(width, label->width() + 8);
    const QSize boxSize = box->sizeHint();
    box->setGeometry(width - boxSize.width() - 8, area.height() - boxSize.height() - 8, boxSize.width(),
                     boxSize.height());
    setFixedSize(width, area.height());
    connect(box, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
}

// Each text is centred in the client area, keeping its width, top and height.
void CAboutDlg::initDialog() {
    showTaskBar();
    for (QLabel* label : lines_) {
        QRect rect = label->geometry();
        rect.moveLeft((width() - rect.width()) / 2);
        label->setGeometry(rect);
    }
}

int CAboutDlg::exec() {
    initDialog();
    return QDialog::exec();
}
