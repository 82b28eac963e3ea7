#pragma once
// The user's choices that "options.cfg" has no room for (it keeps its 36 bytes), in a
// settings file of their own beside it: how the other board family was left turned,
// and the folder the file dialogs last used.

#include <QString>

#include "game/boardstyle.h"

constexpr const char* PreferencesFileName = "preferences.ini";

struct Preferences {
    BoardTurns turns{0, 0}; // the orientation each board family was last left in
    QString lastFolder;     // the folder of the last file saved or loaded; empty = none yet
};

Preferences& preferences();

// Reads the file (missing or damaged values keep their defaults).
void loadPreferences();
// Writes the file, the shown board family's turn taken from the settings.
void savePreferences();

// Where the Save and Load dialogs open: the last folder used while it exists, else the
// user's documents folder.
QString fileDialogFolder();
// Remembers the folder of a file the user chose in a file dialog.
void rememberFileFolder(const QString& file);
