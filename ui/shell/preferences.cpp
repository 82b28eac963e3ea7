#include "ui/shell/preferences.h"

#include <QSettings>

#include <memory>

#include "game/gamefiles.h"
#include "game/preferences.h"

QString preferencesPath() {
    return QString::fromStdString(gameFile("tavisk.ini"));
}

QSettings& preferencesFile() {
    // Opened again when the game's files move (tests point them at folders of their own).
    static std::unique_ptr<QSettings> file;
    static QString openedPath;
    const QString path = preferencesPath();
    if (!file || openedPath != path) {
        file = std::make_unique<QSettings>(path, QSettings::IniFormat);
        openedPath = path;
    }
    return *file;
}

void loadDesktopPreferences() {
    QSettings& file = preferencesFile();
    DesktopPreferences& preferences = desktopPreferences();
    const DesktopPreferences defaults;
    preferences.sound = file.value("desktop/sound", defaults.sound).toBool();
    preferences.coordinates = file.value("desktop/coordinates", defaults.coordinates).toBool();
    preferences.autoTurn = file.value("desktop/autoTurn", defaults.autoTurn).toBool();
}

void saveDesktopPreferences() {
    QSettings& file = preferencesFile();
    const DesktopPreferences& preferences = desktopPreferences();
    file.setValue("desktop/sound", preferences.sound);
    file.setValue("desktop/coordinates", preferences.coordinates);
    file.setValue("desktop/autoTurn", preferences.autoTurn);
    file.sync();
}
