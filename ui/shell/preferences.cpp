#include "ui/shell/preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <memory>

#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/preferences.h"

namespace {

// The user's documents folder; the home folder when there is none.
QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

QString preferencesPath() {
    return QString::fromStdString(gameFile(PreferencesFileName));
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

Preferences& preferences() {
    static Preferences stored;
    return stored;
}

void loadPreferences() {
    QSettings& file = preferencesFile();
    Preferences& p = preferences();
    p.turns.flat = flatTurn(file.value("board/flatOrientation", 0).toInt());
    p.turns.isometric = isometricTurn(file.value("board/isometricOrientation", 0).toInt());
    p.lastFolder = file.value("files/lastFolder").toString();
}

void savePreferences() {
    Preferences& p = preferences();
    p.turns = currentTurns(gameController().settings, p.turns);
    QSettings& file = preferencesFile();
    file.setValue("board/flatOrientation", p.turns.flat);
    file.setValue("board/isometricOrientation", p.turns.isometric);
    file.setValue("files/lastFolder", p.lastFolder);
    file.sync();
}

QString fileDialogFolder() {
    const QString& last = preferences().lastFolder;
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    return documentsFolder();
}

void rememberFileFolder(const QString& file) {
    if (!file.isEmpty()) preferences().lastFolder = QFileInfo(file).absolutePath();
}

bool restoreWindowPlace(QWidget& window) {
    const QByteArray stored = preferencesFile().value("window/geometry").toByteArray();
    return !stored.isEmpty() && window.restoreGeometry(stored);
}

void saveWindowPlace(const QWidget& window) {
    QSettings& file = preferencesFile();
    file.setValue("window/geometry", window.saveGeometry());
    file.sync();
}
