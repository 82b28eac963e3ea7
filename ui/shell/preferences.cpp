#include "ui/shell/preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "game/controller.h"
#include "game/gamefiles.h"

namespace {

QString preferencesPath() {
    return QString::fromStdString(gameFile(PreferencesFileName));
}

// The user's documents folder; the home folder when there is none.
QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

Preferences& preferences() {
    static Preferences stored;
    return stored;
}

void loadPreferences() {
    QSettings file(preferencesPath(), QSettings::IniFormat);
    Preferences& p = preferences();
    p.turns.flat = flatTurn(file.value("board/flatOrientation", 0).toInt());
    p.turns.isometric = isometricTurn(file.value("board/isometricOrientation", 0).toInt());
    p.lastFolder = file.value("files/lastFolder").toString();
}

void savePreferences() {
    Preferences& p = preferences();
    p.turns = currentTurns(gameController().settings, p.turns);
    QSettings file(preferencesPath(), QSettings::IniFormat);
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
