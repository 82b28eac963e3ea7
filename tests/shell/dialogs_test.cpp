// The three dialogs: what they show when they open, how their lists follow each
// other, and what OK and the other ways of closing return.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "game/clocks.h"
#include "game/strength.h"
#include "tests/shell/qtapp.h"
#include "ui/shell/aboutdlg.h"
#include "ui/shell/languagedlg.h"
#include "ui/shell/localisation.h"
#include "ui/shell/newgamedlg.h"

namespace {

class Dialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

TEST_F(Dialogs, NewGameOpensOnTheHeldLevel) {
    struct Case {
        int mode;
        int value;
        bool white;
        int modeShown;
        QString levelShown;
        int whiteShown;
    };
    const Case cases[] = {
        {2, 600000, true, 2, "10 min", 0},   // an exact game time
        {2, 700000, true, 2, "15 min", 0},   // between two: the first not below it
        {2, 99999999, false, 2, "1 min", 1}, // beyond the table: the first entry stays
        {1, 1000, true, 1, "1 sec", 0},
        {1, 30000, false, 1, "30 sec", 1},
        {0, 9, true, 0, "10", 0}, // Rank levels show as 1..10
        {0, 42, true, 0, "1", 0}, // an index out of range keeps the first
        {3, 2, true, 3, "3", 0},  // the beginner levels show as 1..3
        {3, 5, false, 3, "1", 1},
    };
    for (const Case& c : cases) {
        CNewGameDlg dialog(English, CNewGameDlg::SettingsForm);
        dialog.levelMode = c.mode;
        dialog.levelValue = c.value;
        dialog.userPlaysWhite = c.white;
        dialog.initDialog();
        SCOPED_TRACE(c.value);
        EXPECT_EQ(dialog.modeList()->currentIndex(), c.modeShown);
        EXPECT_EQ(dialog.levelList()->count(), c.mode == 3 ? 3 : 10);
        EXPECT_EQ(dialog.levelList()->currentText(), c.levelShown);
        // The strength figure beside the level is the one of the level shown.
        const int entry = dialog.levelList()->currentIndex();
        const long value = c.mode == 1 ? perMoveTimes[entry] : c.mode == 2 ? gameTimes[entry] : entry;
        EXPECT_EQ(
            dialog.strengthLabel()->text(),
            QString::fromUtf16(u"\u2248 %1").arg(levelStrength(c.mode, static_cast<std::uint32_t>(value))));
        EXPECT_EQ(dialog.levelList()->itemData(entry, Qt::ToolTipRole).toString(),
                  dialog.strengthLabel()->text());
        EXPECT_EQ(dialog.whiteList()->currentIndex(), c.whiteShown);
    }
}

TEST_F(Dialogs, NewGameTitlesAndListsFollowLanguageAndForm) {
    CNewGameDlg settings(German, CNewGameDlg::SettingsForm);
    settings.initDialog();
    EXPECT_EQ(settings.windowTitle(), "Spieleinstellungen");
    EXPECT_EQ(settings.modeList()->itemText(2), "Spiel in");
    EXPECT_EQ(settings.modeList()->itemText(3), QString::fromUtf16(u"Anfänger"));
    EXPECT_EQ(settings.strengthLabel()->toolTip(), QString::fromUtf16(u"Geschätzte Spielstärke (Elo)"));
    EXPECT_EQ(settings.whiteList()->itemText(0), "Sie");
    CNewGameDlg newGame(Russian, CNewGameDlg::NewGameForm);
    newGame.levelMode = 1;
    newGame.initDialog();
    EXPECT_EQ(newGame.windowTitle(), QString::fromUtf16(u"Новая игра"));
    EXPECT_EQ(newGame.levelList()->itemText(7), QString::fromUtf16(u"1 мин"));
    QStringList labels;
    for (QLabel* label : newGame.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains(QString::fromUtf16(u"Уровень:")));
}

TEST_F(Dialogs, ChangingTheModeResetsTheLevelList) {
    CNewGameDlg dialog(English, CNewGameDlg::NewGameForm);
    dialog.levelMode = 1;
    dialog.levelValue = 60000;
    dialog.initDialog();
    EXPECT_EQ(dialog.levelList()->currentText(), "1 min");
    dialog.modeList()->setCurrentIndex(2);
    EXPECT_EQ(dialog.levelList()->currentIndex(), 0);
    EXPECT_EQ(dialog.levelList()->currentText(), "1 min");
    EXPECT_EQ(dialog.levelList()->itemText(9), "90 min");
    dialog.modeList()->setCurrentIndex(0);
    EXPECT_EQ(dialog.levelList()->currentText(), "1");
}

TEST_F(Dialogs, NewGameOkReturnsTheChosenValues) {
    struct Case {
        int mode;
        int level;
        int white;
        int value;
        bool userWhite;
    };
    const Case cases[] = {
        {0, 4, 0, 4, true},
        {1, 6, 1, perMoveTimes[6], false},
        {2, 9, 0, gameTimes[9], true},
        {3, 2, 1, 2, false},
    };
    for (const Case& c : cases) {
        CNewGameDlg dialog(English, CNewGameDlg::NewGameForm);
        dialog.initDialog();
        dialog.modeList()->setCurrentIndex(c.mode);
        dialog.levelList()->setCurrentIndex(c.level);
        dialog.whiteList()->setCurrentIndex(c.white);
        EXPECT_EQ(dialog.userPlaysWhite, c.userWhite); // the colour list takes effect at once
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.levelMode, c.mode);
        EXPECT_EQ(dialog.levelValue, c.value);
        EXPECT_EQ(dialog.userPlaysWhite, c.userWhite);
    }
}

TEST_F(Dialogs, CancelLeavesTheHeldValues) {
    CNewGameDlg dialog(English, CNewGameDlg::NewGameForm);
    dialog.levelMode = 2;
    dialog.levelValue = 600000;
    dialog.initDialog();
    dialog.modeList()->setCurrentIndex(0);
    dialog.reject();
    EXPECT_EQ(dialog.levelMode, 2);
    EXPECT_EQ(dialog.levelValue, 600000);
}

TEST_F(Dialogs, LanguageDialogMarksAndReturnsTheChoice) {
    {
        CLanguageDlg dialog(Russian);
        dialog.initDialog();
        EXPECT_TRUE(languageDialogOpen);
        for (int i = 0; i < 5; ++i) EXPECT_FALSE(dialog.button(i)->isChecked());
        dialog.accept();
        EXPECT_EQ(dialog.language, Russian); // OK keeps a language that has no button
        EXPECT_FALSE(languageDialogOpen);
    }
    {
        CLanguageDlg dialog(French);
        dialog.initDialog();
        EXPECT_TRUE(dialog.button(1)->isChecked());
        dialog.button(3)->click();
        EXPECT_EQ(dialog.language, German);
        EXPECT_EQ(dialog.windowTitle(), "Select Language");
        // The title heads the dialog too, above the buttons; the dialog ends under
        // its OK and Cancel, with no empty area.
        EXPECT_EQ(dialog.heading()->text(), "Select Language");
        EXPECT_LT(dialog.heading()->geometry().bottom(), dialog.button(0)->geometry().top());
        const auto* box = dialog.findChild<QDialogButtonBox*>();
        EXPECT_GT(box->geometry().top(), dialog.button(4)->geometry().bottom());
        EXPECT_LE(dialog.height() - box->geometry().bottom(), 16);
        EXPECT_LE(box->geometry().top() - dialog.button(4)->geometry().bottom(), 16);
        EXPECT_EQ(dialog.button(4)->text(), QString::fromUtf16(u"Español"));
        dialog.reject();
        EXPECT_FALSE(languageDialogOpen); // any close ends the full-screen suppression
    }
}

// Switching the language swaps Qt's own texts: the standard buttons of the dialogs,
// of the tutor's question and the file dialogs speak the language, and English
// brings the English ones back.
TEST_F(Dialogs, StandardButtonsFollowTheLanguage) {
    struct Case {
        int language;
        const char16_t* cancel;
        const char16_t* yes;
        const char16_t* open; // the open file dialog's title
    };
    const Case cases[] = {
        {French, u"Annuler", u"Oui", u"Ouvrir"},  {Italian, u"Annulla", u"Sì", u"Apri"},
        {German, u"Abbrechen", u"Ja", u"Öffnen"}, {Spanish, u"Cancelar", u"Sí", u"Abrir"},
        {Chinese, u"取消", u"是(Y)", u"打开"},    {Russian, u"Отмена", u"Да", u"Открыть"},
        {English, u"Cancel", u"Yes", u"Open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(useQtTranslations(c.language));
        CNewGameDlg newGame(c.language, CNewGameDlg::NewGameForm);
        auto* box = newGame.findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text().remove('&'), QString::fromUtf16(c.cancel));
        CLanguageDlg language(c.language);
        EXPECT_EQ(
            language.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text().remove('&'),
            QString::fromUtf16(c.cancel));
        QMessageBox question(QMessageBox::Question, "Tavisk", "?", QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(question.button(QMessageBox::Yes)->text().remove('&'), QString::fromUtf16(c.yes));
        QFileDialog files(nullptr, QString());
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptOpen);
        EXPECT_EQ(files.windowTitle(), QString::fromUtf16(c.open));
    }
}

// Every label of the New Game dialog shows its whole text, left of its list, in
// every language; the lists stay in one column inside the dialog.
TEST_F(Dialogs, NewGameLabelsFitTheirTexts) {
    for (int language = 0; language < LanguageCount; ++language) {
        CNewGameDlg dialog(language, CNewGameDlg::NewGameForm);
        dialog.initDialog();
        auto labels = dialog.findChildren<QLabel*>();
        labels.removeOne(dialog.strengthLabel());
        ASSERT_EQ(labels.size(), 3);
        const QComboBox* lists[3] = {dialog.modeList(), dialog.levelList(), dialog.whiteList()};
        for (const QLabel* label : labels) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
            for (const QComboBox* list : lists) {
                if (list->geometry().bottom() < label->geometry().top() ||
                    list->geometry().top() > label->geometry().bottom())
                    continue;
                EXPECT_LT(label->geometry().right(), list->geometry().left());
            }
        }
        EXPECT_EQ(lists[0]->x(), lists[2]->x());
        for (const QComboBox* list : lists) EXPECT_LE(list->geometry().right(), dialog.width());
        // The strength figure stands whole right of the level list, inside the dialog.
        const QLabel* figure = dialog.strengthLabel();
        EXPECT_GT(figure->geometry().left(), lists[1]->geometry().right());
        EXPECT_GE(figure->width(), figure->fontMetrics().horizontalAdvance(figure->text()));
        EXPECT_LE(figure->geometry().right(), dialog.width());
    }
    // Over a window lower than the template (the low screen at zoom 2) the dialog
    // loses its empty area and fits; over a tall one it keeps the template's height.
    QWidget low, tall;
    low.resize(440, 312);
    tall.resize(480, 1200);
    CNewGameDlg onLow(English, CNewGameDlg::NewGameForm, &low), onTall(English, CNewGameDlg::NewGameForm, &tall);
    EXPECT_LE(onLow.height(), 312);
    EXPECT_GT(onTall.height(), onLow.height());
    const auto* box = onLow.findChild<QDialogButtonBox*>();
    EXPECT_GT(box->geometry().top(), onLow.whiteList()->geometry().bottom());
    EXPECT_LE(box->geometry().bottom(), onLow.height());
    EXPECT_LE(onLow.height() - box->geometry().bottom(), 16);
}

TEST_F(Dialogs, AboutShowsSevenCentredLines) {
    for (int language : {English, German, Chinese}) {
        CAboutDlg dialog(language);
        dialog.initDialog();
        EXPECT_EQ(dialog.windowTitle(), fromTable(dialogTextTable[language].aboutTitle));
        EXPECT_EQ(dialog.line(0)->text(), "Tavisk");
        EXPECT_EQ(dialog.line(1)->text(), fromTable(dialogTextTable[language].version));
        for (int i = 0; i < CAboutDlg::LineCount; ++i) {
            EXPECT_FALSE(dialog.line(i)->text().isEmpty());
            const QRect rect = dialog.line(i)->geometry();
            EXPECT_LE(std::abs(rect.center().x() * 2 - dialog.width()), 2) << i;
            EXPECT_LE(rect.right(), dialog.width());
        }
        EXPECT_LT(dialog.line(0)->geometry().top(), dialog.line(6)->geometry().top());
    }
}

} // namespace
