#pragma once
// Look-ups of the texts by the current language, and the program's message box.
// Every look-up reads the language at the moment of the call; nothing caches a text.

#include <QString>

#include "ui/shell/desktoptexts.h"

class QWidget;

// The language the texts are shown in: the settings' language, held to 0..6.
int currentLanguage();

QString localMessage(int message);
QString localWord(int entry);
QString barCaption(int entry);
QString localMenuText(int key); // the handheld's menu texts and the desktop ones
QString localDesktopMessage(int message);
const DialogTexts& localDialogTexts();

QString fromTable(const char16_t* text);

// Qt's own texts (standard buttons, file dialogs) in the language: its translation
// catalogue is swapped for the one of the language, and the default locale follows.
// English removes it. False when the catalogue of a non-English language is missing.
bool useQtTranslations(int language);
// The name of Qt's catalogue for a language: "qtbase_de"; empty for English.
QString qtCatalogue(int language);

enum class BoxType { Ok, YesNoQuestion };
enum BoxAnswer { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

// A modal box captioned "Tavisk"; returns the button pressed.
int messageBox(const QString& text, BoxType type, QWidget* parent = nullptr);
