#include "ui/shell/newgamedlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>

#include <algorithm>

#include "game/clocks.h"
#include "game/strength.h"
#include "ui/shell/dialogunits.h"
#include "ui/shell/leveltexts.h"
#include "ui/shell/localisation.h"

namespace {
constexpr int LevelCount = 10;
constexpr int ModeRank = 0;
constexpr int ModeTurnIn = 1;
constexpr int ModeGameIn = 2;
constexpr int ModeNovice = 3; // the beginner levels, listed after the others
constexpr int NoviceCount = 3;
} // namespace

CNewGameDlg::CNewGameDlg(int language, Form form, QWidget* parent)
    : QDialog(parent), language_(clampLanguage(language)), form_(form) {
    const DialogTexts& texts = dialogTextTable[language_];
    difficultyLabel_ = new QLabel(fromTable(texts.difficulty), this);
    levelLabel_ = new QLabel(fromTable(texts.level), this);
    whiteLabel_ = new QLabel(fromTable(texts.white), this);
    modeList_ = new QComboBox(this);
    levelList_ = new QComboBox(this);
    whiteList_ = new QComboBox(this);
    modeList_->setObjectName("modeList");
    levelList_->setObjectName("levelList");
    whiteList_->setObjectName("whiteList");
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    strengthLabel_ = new QLabel(this);
    strengthLabel_->setObjectName("strengthLabel");
    strengthLabel_->setToolTip(fromTable(strengthTipWord[language_]));

    // The template's layout; the Russian "Level:" label needs more room. Every
    // label is at least as wide as its text, and the lists move right, all three
    // together, when a label would reach them.
    QLabel* labels[3] = {difficultyLabel_, levelLabel_, whiteLabel_};
    const int labelRows[3][3] = {{14, 40, 12}, {34, language_ == Russian ? 40 : 30, 32}, {54, 32, 52}};
    QComboBox* lists[3] = {modeList_, levelList_, whiteList_};
    const QRect listColumn = dialogRect(this, 59, 0, 71, 12);
    int listX = listColumn.x();
    for (int i = 0; i < 3; ++i) {
        QRect rect = dialogRect(this, 13, labelRows[i][0], labelRows[i][1], 8);
        rect.setWidth(std::max(rect.width(), labels[i]->sizeHint().width()));
        rect.setHeight(std::max(rect.height(), labels[i]->sizeHint().height()));
        labels[i]->setGeometry(rect);
        listX = std::max(listX, rect.right() + 1 + rect.x() / 3);
    }
    int right = 0;
    for (int i = 0; i < 3; ++i) {
        const QRect rect = dialogRect(this, 59, labelRows[i][2], 71, 12);
        lists[i]->setGeometry(listX, rect.y(), rect.width(),
                              std::max(rect.height(), lists[i]->sizeHint().height()));
        // The label's text centred on the list's line.
        QRect label = labels[i]->geometry();
        label.moveTop(lists[i]->geometry().center().y() - label.height() / 2);
        labels[i]->setGeometry(label);
        right = std::max(right, lists[i]->geometry().right());
    }
    // The strength figure beside the level list, as wide as the widest figure.
    const QRect levelRect = levelList_->geometry();
    const QRect figure = dialogRect(this, 0, 0, 4, 8);
    const int figureWidth =
        strengthLabel_->fontMetrics().horizontalAdvance(QString::fromUtf16(u"\u2248 8888")) + 2;
    strengthLabel_->setGeometry(levelRect.right() + 1 + figure.width(),
                                levelRect.center().y() - figure.height() / 2, figureWidth, figure.height());
    right = std::max(right, strengthLabel_->geometry().right());
    const QRect area = dialogRect(this, 0, 0, 179, 191);
    const QSize buttonsSize = buttons_->sizeHint();
    const int width = std::max({area.width(), buttonsSize.width() + 16, right + 1 + listColumn.x() / 4});
    // On a screen lower than the template, the empty area under the lists goes.
    int height = area.height();
    const int fitted = whiteList_->geometry().bottom() + 1 + 16 + buttonsSize.height() + 8;
    if (parent && parent->window()->height() < height) height = std::min(height, fitted);
    buttons_->setGeometry(width - buttonsSize.width() - 8, height - buttonsSize.height() - 8,
                          buttonsSize.width(), buttonsSize.height());
    setFixedSize(width, height);

    connect(buttons_, &QDialogButtonBox::accepted, this, &CNewGameDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CNewGameDlg::reject);
    connect(modeList_, &QComboBox::currentIndexChanged, this, &CNewGameDlg::fillLevelList);
    connect(whiteList_, &QComboBox::currentIndexChanged, this, &CNewGameDlg::colourChanged);
    connect(levelList_, &QComboBox::currentIndexChanged, this, &CNewGameDlg::showStrength);
}

void CNewGameDlg::initDialog() {
    // 1. Dialogs open over the full game screen with the task bar back.
    showTaskBar();

    // 2. The fixed lists; the mode list takes the focus with its first entry.
    const bool wasWhite = userPlaysWhite;
    modeList_->clear();
    whiteList_->clear();
    for (int entry = WordRank; entry <= WordGameIn; ++entry)
        modeList_->addItem(fromTable(uiWord(entry, language_)));
    modeList_->addItem(fromTable(noviceModeWord[language_]));
    whiteList_->addItem(fromTable(uiWord(WordYou, language_)));
    whiteList_->addItem(fromTable(uiWord(WordComputer, language_)));
    modeList_->setFocus();
    modeList_->setCurrentIndex(0);
    userPlaysWhite = wasWhite;

    // 3. The title of the form.
    setWindowTitle(fromTable(uiWord(form_ == SettingsForm ? WordGameSettings : WordNewGame, language_)));

    // 4. The held level: its mode, then the level within the refilled list.
    if (levelMode >= ModeRank && levelMode <= ModeNovice) {
        modeList_->setCurrentIndex(levelMode);
        fillLevelList();
        int selection = 0;
        if (levelMode == ModeRank || levelMode == ModeNovice) {
            if (levelValue >= 0 && levelValue < levelList_->count()) selection = levelValue;
        } else {
            const auto& times = levelMode == ModeTurnIn ? perMoveTimes : gameTimes;
            for (int i = 0; i < LevelCount; ++i)
                if (static_cast<long long>(times[i]) >= static_cast<long long>(levelValue)) {
                    selection = i;
                    break;
                }
        }
        levelList_->setCurrentIndex(selection);
    }

    // 5. Who plays White.
    whiteList_->setCurrentIndex(userPlaysWhite ? 0 : 1);
}

int CNewGameDlg::exec() {
    initDialog();
    return QDialog::exec();
}

void CNewGameDlg::fillLevelList() {
    levelList_->clear();
    const int mode = modeList_->currentIndex();
    for (int i = 0; i < (mode == ModeNovice ? NoviceCount : LevelCount); ++i) {
        if (mode == ModeRank || mode == ModeNovice)
            levelList_->addItem(QString::asprintf("%d", i + 1));
        else if (mode == ModeTurnIn)
            levelList_->addItem(fromTable(uiWord(WordFirstMoveTime + i, language_)));
        else if (mode == ModeGameIn)
            levelList_->addItem(fromTable(uiWord(WordFirstGameTime + i, language_)));
        // The drop-down shows each level's strength as a tip on its entry.
        const int rating = levelStrength(static_cast<std::uint32_t>(mode),
                                         static_cast<std::uint32_t>(levelValueFor(mode, i)));
        if (rating > 0)
            levelList_->setItemData(i, QString::fromUtf16(u"\u2248 %1").arg(rating), Qt::ToolTipRole);
    }
    if (levelList_->count() > 0) levelList_->setCurrentIndex(0);
    showStrength();
}

int CNewGameDlg::levelValueFor(int mode, int entry) const {
    if (mode == ModeTurnIn) return static_cast<int>(perMoveTimes[entry]);
    if (mode == ModeGameIn) return static_cast<int>(gameTimes[entry]);
    return entry;
}

void CNewGameDlg::showStrength() {
    const int mode = modeList_->currentIndex();
    const int entry = levelList_->currentIndex();
    const int rating = mode < 0 || entry < 0
                           ? 0
                           : levelStrength(static_cast<std::uint32_t>(mode),
                                           static_cast<std::uint32_t>(levelValueFor(mode, entry)));
    strengthLabel_->setText(rating > 0 ? QString::fromUtf16(u"\u2248 %1").arg(rating) : QString());
}

void CNewGameDlg::colourChanged(int index) {
    if (index >= 0) userPlaysWhite = index == 0;
}

void CNewGameDlg::accept() {
    const int mode = modeList_->currentIndex();
    const int level = std::max(0, levelList_->currentIndex());
    if (mode >= ModeRank && mode <= ModeNovice) {
        levelMode = mode;
        levelValue = levelValueFor(mode, level);
    }
    userPlaysWhite = whiteList_->currentIndex() == 0;
    QDialog::accept();
}
