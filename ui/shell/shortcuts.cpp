#include "ui/shell/shortcuts.h"

#include "ui/shell/desktoptexts.h"

namespace {

struct CommandKeys {
    int command;
    QKeyCombination first;
    QKeyCombination second; // Qt::Key_unknown: none
};

const CommandKeys keyTable[] = {
    {CmdNewGame, Qt::CTRL | Qt::Key_N, Qt::Key_unknown},
    {CmdLoad, Qt::CTRL | Qt::Key_O, Qt::Key_unknown},
    {CmdSave, Qt::CTRL | Qt::Key_S, Qt::Key_unknown},
    {CmdTakeback, Qt::CTRL | Qt::Key_Z, Qt::Key_Left},
    {CmdForward, Qt::CTRL | Qt::Key_Y, Qt::Key_Right},
    {CmdTakebackAll, Qt::Key_Home, Qt::Key_unknown},
    {CmdForwardAll, Qt::Key_End, Qt::Key_unknown},
    {CmdHint, Qt::Key_H, Qt::Key_unknown},
    {CmdCopyGame, Qt::CTRL | Qt::Key_C, Qt::Key_unknown},
    {CmdCopyPosition, Qt::CTRL | Qt::SHIFT | Qt::Key_C, Qt::Key_unknown},
    {CmdPaste, Qt::CTRL | Qt::Key_V, Qt::Key_unknown},
    {CmdTutorial, Qt::Key_F1, Qt::Key_unknown},
    {CmdSaveAndExit, Qt::CTRL | Qt::Key_Q, Qt::Key_unknown},
};

} // namespace

QList<QKeySequence> commandShortcuts(int command) {
    QList<QKeySequence> keys;
    for (const CommandKeys& row : keyTable) {
        if (row.command != command) continue;
        keys << QKeySequence(row.first);
        if (row.second.key() != Qt::Key_unknown) keys << QKeySequence(row.second);
    }
    return keys;
}

QString withMnemonic(const QString& text, QString& used) {
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i].toLower();
        // Alphabets only: a Chinese item is reached by the arrow keys.
        if (!c.isLetter() || c.unicode() >= 0x2E80 || used.contains(c)) continue;
        used += c;
        QString marked = text;
        marked.insert(i, '&');
        return marked;
    }
    return text;
}
