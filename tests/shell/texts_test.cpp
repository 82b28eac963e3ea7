// The localisation tables: complete in every language, and consistent with what the
// game counts on (three-character clock labels, time labels that name the tables' times).

#include <gtest/gtest.h>

#include <string>

#include "game/clocks.h"
#include "ui/shell/desktoptexts.h"
#include "ui/shell/filetexts.h"
#include "ui/shell/leveltexts.h"
#include "ui/shell/texttables.h"

namespace {

std::u16string text(const char16_t* s) {
    return s ? std::u16string(s) : std::u16string();
}

TEST(Texts, EveryTextExistsInEveryLanguage) {
    for (int language = 0; language < LanguageCount; ++language) {
        SCOPED_TRACE(language);
        for (int entry = 0; entry < UiWordCount; ++entry)
            EXPECT_FALSE(text(uiWord(entry, language)).empty()) << entry;
        for (int entry = 0; entry < BarCaptionCount; ++entry)
            EXPECT_FALSE(text(barCaptionText(entry, language)).empty()) << entry;
        for (int message = 0; message < MessageCount; ++message)
            EXPECT_FALSE(text(messageText(message, language)).empty()) << message;
        for (const MenuLayout* layout : {std::begin(gameMenuLayout), std::begin(optionsMenuLayout)}) {
            const MenuLayout* end =
                layout == std::begin(gameMenuLayout) ? std::end(gameMenuLayout) : std::end(optionsMenuLayout);
            for (const MenuLayout* entry = layout; entry != end; ++entry) {
                if (entry->kind == MenuEntry::Item || entry->kind == MenuEntry::SubmenuBegin) {
                    EXPECT_FALSE(text(menuText(entry->key, language)).empty()) << entry->key;
                }
            }
        }
        for (int key : {MenuGame, MenuOptions}) EXPECT_FALSE(text(menuText(key, language)).empty());
        // The desktop's items and messages, none of them left in English.
        for (const MenuText& row : desktopMenuTextTable) {
            EXPECT_FALSE(text(desktopMenuText(row.key, language)).empty()) << row.key;
            if (language != English) {
                EXPECT_NE(text(row.text[language]), text(row.text[English]));
            }
        }
        for (int message = 0; message < DesktopMessageCount; ++message) {
            EXPECT_FALSE(text(desktopMessageText(message, language)).empty()) << message;
            if (language != English) {
                EXPECT_NE(text(desktopMessageText(message, language)), text(desktopMessageText(message, English)));
            }
        }
        const DialogTexts& dialog = dialogTextTable[language];
        for (const char16_t* label :
             {dialog.difficulty, dialog.level, dialog.white, dialog.aboutTitle, dialog.version})
            EXPECT_FALSE(text(label).empty());
        const FileTexts& files = fileTextTable[language];
        for (const char16_t* label : {files.gameListTitle, files.close}) EXPECT_FALSE(text(label).empty());
        for (const char16_t* heading : files.columns) EXPECT_FALSE(text(heading).empty());
        if (language != English) {
            EXPECT_NE(text(files.gameListTitle), text(fileTextTable[English].gameListTitle));
        }
        EXPECT_FALSE(text(noviceModeWord[language]).empty());
        EXPECT_FALSE(text(strengthTipWord[language]).empty());
        // The program's own texts (credits, file problems) are translated, never left in English.
        for (int line = 0; line < CreditLineCount; ++line) {
            EXPECT_FALSE(text(creditTable[language][line]).empty()) << line;
            if (language != English) {
                EXPECT_NE(text(creditTable[language][line]), text(creditTable[English][line]));
            }
        }
        for (int problem = 0; problem < FileProblemCount; ++problem) {
            const std::u16string t = text(fileProblemTable[language][problem]);
            EXPECT_NE(t.find(u"%1"), std::u16string::npos) << problem;
            if (language != English) {
                EXPECT_NE(t, text(fileProblemTable[English][problem]));
            }
        }
    }
}

// Each menu command appears once in the two menus, and every command of the table has
// a place in them.
TEST(Texts, MenusHoldEveryCommandOnce) {
    std::u16string seen;
    int items = 0;
    for (const MenuLayout& entry : gameMenuLayout) items += entry.kind == MenuEntry::Item;
    for (const MenuLayout& entry : optionsMenuLayout) items += entry.kind == MenuEntry::Item;
    int commands = 0;
    for (const MenuText& row : menuTextTable) commands += row.key > MenuBoardSettings;
    EXPECT_EQ(items, commands);
    for (const MenuText& row : menuTextTable) {
        if (row.key <= MenuBoardSettings) continue;
        int found = 0;
        for (const MenuLayout& entry : gameMenuLayout)
            found += entry.kind == MenuEntry::Item && entry.key == row.key;
        for (const MenuLayout& entry : optionsMenuLayout)
            found += entry.kind == MenuEntry::Item && entry.key == row.key;
        EXPECT_EQ(found, 1) << row.key;
    }
    // The desktop's commands: each once in the menus' extras, none among the handheld's.
    for (const MenuText& row : desktopMenuTextTable) {
        int found = 0;
        for (const MenuLayout& entry : gameMenuExtras) found += entry.kind == MenuEntry::Item && entry.key == row.key;
        for (const MenuLayout& entry : optionsMenuExtras)
            found += entry.kind == MenuEntry::Item && entry.key == row.key;
        EXPECT_EQ(found, 1) << row.key;
        EXPECT_EQ(menuText(row.key, English), nullptr) << row.key;
    }
}

// The clock lines put the colour letter at a fixed place after the label.
TEST(Texts, ClockLabelsAreThreeCharactersAndLettersOne) {
    for (int language = 0; language < LanguageCount; ++language) {
        EXPECT_EQ(text(uiWord(WordClockYou, language)).size(), 3u) << language;
        EXPECT_EQ(text(uiWord(WordClockCpu, language)).size(), 3u) << language;
        EXPECT_EQ(text(uiWord(WordWhiteLetter, language)).size(), 1u) << language;
        EXPECT_EQ(text(uiWord(WordBlackLetter, language)).size(), 1u) << language;
    }
    EXPECT_EQ(text(uiWord(WordWhiteLetter, Russian)), u"Б");
    EXPECT_EQ(text(uiWord(WordBlackLetter, Russian)), u"Ч");
}

// Each time label names the time of its table entry: "<n> sec"/"<n> с" or "<n> min"/"<n> мин".
TEST(Texts, TimeLabelsNameTheTimeTables) {
    struct Unit {
        std::u16string name;
        long ms;
    };
    for (int language = 0; language < LanguageCount; ++language) {
        const Unit seconds{language == Russian ? u" с" : u" sec", 1000};
        const Unit minutes{language == Russian ? u" мин" : u" min", 60000};
        for (int table = 0; table < 2; ++table)
            for (int i = 0; i < TimeTableSize; ++i) {
                const int entry = (table == 0 ? WordFirstMoveTime : WordFirstGameTime) + i;
                const std::u16string label = text(uiWord(entry, language));
                long number = 0;
                size_t pos = 0;
                while (pos < label.size() && label[pos] >= u'0' && label[pos] <= u'9')
                    number = number * 10 + (label[pos++] - u'0');
                const std::u16string unit = label.substr(pos);
                ASSERT_TRUE(unit == seconds.name || unit == minutes.name) << language << " " << entry;
                const long ms = number * (unit == seconds.name ? seconds.ms : minutes.ms);
                EXPECT_EQ(ms, table == 0 ? perMoveTimes[i] : gameTimes[i]) << language << " " << entry;
            }
    }
}

TEST(Texts, LookupsHoldTheLanguageToTheTables) {
    EXPECT_EQ(text(menuText(MenuGame, German)), u"Spiel");
    EXPECT_EQ(text(menuText(MenuOptions, German)), u"Optionen");
    // A language outside 0..6 from a damaged settings file shows English.
    EXPECT_EQ(text(menuText(MenuGame, 9)), u"Game");
    EXPECT_EQ(text(uiWord(WordRank, -1)), u"Rank");
    EXPECT_EQ(menuText(12345, English), nullptr);
    EXPECT_EQ(text(uiWord(UiWordCount, English)), u"");
    // The French menu keeps the English word for two items.
    EXPECT_EQ(text(menuText(CmdTakeback, French)), u"Takeback");
    EXPECT_EQ(text(menuText(CmdTakebackAll, French)), u"Takeback tout");
}

} // namespace
