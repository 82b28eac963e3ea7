#pragma once
// The keyboard of the desktop: the keys of the menu commands (shown beside the items)
// and the mnemonic letters of the menu items.

#include <QKeySequence>
#include <QList>
#include <QString>

// The keys of a command, the first one shown in the menu; empty for none.
QList<QKeySequence> commandShortcuts(int command);

// The text with an '&' before its first letter not yet in `used` (lower case), which
// then takes that letter; unchanged when every letter is taken or the text has none.
QString withMnemonic(const QString& text, QString& used);
