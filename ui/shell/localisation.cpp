#include "ui/shell/localisation.h"

#include <QApplication>
#include <QMessageBox>

#include "game/controller.h"

int currentLanguage() {
    return clampLanguage(gameController().settings.language);
}

QString fromTable(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}

QString localMessage(int message) {
    return fromTable(messageText(message, currentLanguage()));
}
QString localWord(int entry) {
    return fromTable(uiWord(entry, currentLanguage()));
}
QString barCaption(int entry) {
    return fromTable(barCaptionText(entry, currentLanguage()));
}
QString localMenuText(int key) {
    const char16_t* text = menuText(key, currentLanguage());
    return fromTable(text ? text : desktopMenuText(key, currentLanguage()));
}
QString localDesktopMessage(int message) {
    return fromTable(desktopMessageText(message, currentLanguage()));
}
const DialogTexts& localDialogTexts() {
    return dialogTextTable[currentLanguage()];
}

int messageBox(const QString& text, BoxType type, QWidget* parent) {
    if (!parent) parent = QApplication::activeWindow();
    const QString caption = fromTable(applicationTitle);
    if (type == BoxType::YesNoQuestion) {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
    return AnswerOk;
}
