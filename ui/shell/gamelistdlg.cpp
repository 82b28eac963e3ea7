#include "ui/shell/gamelistdlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/shell/devicescreen.h"
#include "ui/shell/dialogunits.h"
#include "ui/shell/filetexts.h"
#include "ui/shell/localisation.h"

CGameListDlg::CGameListDlg(const std::vector<GameListEntry>& games, int language, QWidget* parent)
    : QDialog(parent) {
    const FileTexts& texts = fileTextTable[clampLanguage(language)];
    setWindowTitle(fromTable(texts.gameListTitle));
    list_ = new QTreeWidget(this);
    list_->setObjectName("gameList");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    QStringList headings;
    for (const char16_t* heading : texts.columns) headings << fromTable(heading);
    list_->setHeaderLabels(headings);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<int>(games.size()));
    for (const GameListEntry& game : games) {
        const QStringList cells = {QString::fromStdString(game.white), QString::fromStdString(game.black),
                                   QString::fromStdString(game.result), QString::fromStdString(game.date),
                                   QString::fromStdString(game.event)};
        rows << new QTreeWidgetItem(cells);
    }
    list_->addTopLevelItems(rows);
    if (!rows.isEmpty()) list_->setCurrentItem(rows.first());
    for (int column = 0; column < GameListColumnCount; ++column) list_->resizeColumnToContents(column);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);

    // As large as the device's screen allows, like the program's other dialogs.
    const DeviceScreen& screen = deviceScreen();
    const int zoom = std::max(1, screen.zoom);
    resize(std::min(screen.width * zoom, 480 * zoom), std::min(screen.height * zoom, 360 * zoom));
    showTaskBar();
}

int CGameListDlg::chosenGame() const {
    const QTreeWidgetItem* item = list_->currentItem();
    const int row = item ? list_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : 0;
    return row < 0 ? 0 : row;
}
