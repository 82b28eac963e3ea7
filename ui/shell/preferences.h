#pragma once
// The settings file of the additions: "tavisk.ini" (Qt's INI form) beside "options.cfg",
// so that the handheld's settings block keeps its 36 bytes. It holds the desktop's
// choices, how the other board family was left turned, and the folder the file dialogs
// last used.

#include <QString>

#include "game/boardstyle.h"

class QSettings;
class QWidget;

constexpr const char* PreferencesFileName = "tavisk.ini";

// Full path of the file.
QString preferencesPath();
// The file, opened on first use.
QSettings& preferencesFile();
// desktopPreferences() from the file, and back; a missing file gives the defaults.
void loadDesktopPreferences();
void saveDesktopPreferences();

struct Preferences {
    BoardTurns turns{0, 0}; // the orientation each board family was last left in
    QString lastFolder;     // the folder of the last file saved or loaded; empty = none yet
};

Preferences& preferences();

// Reads the board turns and the last folder (missing or damaged values keep their defaults).
void loadPreferences();
// Writes them, the shown board family's turn taken from the settings.
void savePreferences();

// The desktop window's size and place from the last run; false (nothing changed) when
// none is stored or the stored one is unreadable.
bool restoreWindowPlace(QWidget& window);
void saveWindowPlace(const QWidget& window);

// Where the Save and Load dialogs open: the last folder used while it exists, else the
// user's documents folder.
QString fileDialogFolder();
// Remembers the folder of a file the user chose in a file dialog.
void rememberFileFolder(const QString& file);
