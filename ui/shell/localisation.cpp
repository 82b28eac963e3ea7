#include "ui/shell/localisation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStyle>
#include <QTranslator>

#include <memory>

#include "game/controller.h"

int currentLanguage() {
    return clampLanguage(gameController().settings.language);
}

QString fromTable(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}

namespace {
// The locale of each language of the tables, in their order.
constexpr const char* languageLocales[LanguageCount] = {"en", "fr", "it", "de", "es", "zh_CN", "ru"};
std::unique_ptr<QTranslator> qtTranslator;
} // namespace

QString qtCatalogue(int language) {
    const int l = clampLanguage(language);
    return l == English ? QString() : QStringLiteral("qtbase_") + languageLocales[l];
}

bool useQtTranslations(int language) {
    if (qtTranslator) {
        QCoreApplication::removeTranslator(qtTranslator.get());
        qtTranslator.reset();
    }
    QLocale::setDefault(QLocale(QString::fromLatin1(languageLocales[clampLanguage(language)])));
    const QString catalogue = qtCatalogue(language);
    if (catalogue.isEmpty()) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(catalogue, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    QCoreApplication::installTranslator(translator.get());
    qtTranslator = std::move(translator);
    return true;
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

namespace {

// The text broken into lines no wider than `width` pixels: at spaces, and inside a
// word (Chinese has no spaces) only when the word alone is wider.
QString wrapped(const QFontMetrics& metrics, const QString& text, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + ' ' + word;
        if (metrics.horizontalAdvance(joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        line.clear();
        for (const QChar c : word) {
            if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
                lines << line;
                line.clear();
            }
            line += c;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.join('\n');
}

} // namespace

int messageBox(const QString& message, BoxType type, QWidget* parent) {
    if (!parent) parent = QApplication::activeWindow();
    const QString caption = fromTable(applicationTitle);
    // Qt sizes a message box by the monitor; on the device it must not be wider than
    // the game's window, so the text comes in lines that fit beside the icon.
    QString text = message;
    if (const QWidget* owner = parent ? parent->window() : nullptr) {
        const int room = owner->width() - owner->style()->pixelMetric(QStyle::PM_MessageBoxIconSize) - 64;
        if (room > 0) text = wrapped(QFontMetrics(QApplication::font("QMessageBox")), message, room);
    }
    if (type == BoxType::YesNoQuestion) {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
        return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
    return AnswerOk;
}
