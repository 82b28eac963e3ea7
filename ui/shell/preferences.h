#pragma once
// The settings file of the desktop additions: "tavisk.ini" (Qt's INI form) beside
// "options.cfg", so that the handheld's settings block keeps its 36 bytes.

#include <QString>

class QSettings;

// Full path of the file.
QString preferencesPath();
// The file, opened on first use.
QSettings& preferencesFile();
// desktopPreferences() from the file, and back; a missing file gives the defaults.
void loadDesktopPreferences();
void saveDesktopPreferences();
