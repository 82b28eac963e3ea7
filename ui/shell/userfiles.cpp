#include "ui/shell/userfiles.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <cstring>

#include "engine/session/session.h"
#include "game/gamefiles.h"
#include "game/settings.h"
#include "ui/shell/preferences.h"

namespace {

std::string xdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return std::string(value) + "/tavisk";
    return QDir::homePath().toStdString() + "/" + fallback + "/tavisk";
}

// The files the program writes; the rest it only reads.
bool written(const char* name) {
    return std::strcmp(name, SettingsFileName) == 0 || std::strcmp(name, AutosaveFileName) == 0 ||
           std::strcmp(name, PreferencesFileName) == 0;
}

std::string redirect(const char* name, const std::string& besideProgram) {
    if (!written(name)) return besideProgram;
    return writtenFilePath(name, besideProgram, programFolderTakesWrites(gameFolder()), userFolders());
}

} // namespace

bool programFolderTakesWrites(const std::string& folder) {
    if (access(folder.c_str(), W_OK) != 0) return false;
    return access((folder + "/" + InstalledMarkerFile).c_str(), F_OK) != 0;
}

UserFolders userFolders() {
    return {xdgFolder("XDG_CONFIG_HOME", ".config"), xdgFolder("XDG_STATE_HOME", ".local/state")};
}

std::string writtenFilePath(const char* name, const std::string& besideProgram, bool folderWritable,
                            const UserFolders& folders) {
    const bool settings = std::strcmp(name, SettingsFileName) == 0;
    if (folderWritable || !written(name)) return besideProgram;
    const bool config = settings || std::strcmp(name, PreferencesFileName) == 0;
    const std::string& folder = config ? folders.config : folders.state;
    if (!QDir().mkpath(QString::fromStdString(folder))) return besideProgram;
    const std::string path = folder + "/" + name;
    // The user's settings start as the installed ones; without those, nothing is made,
    // and the program says its files are missing.
    if (settings && !fileIsPresent(path.c_str()) && fileIsPresent(besideProgram.c_str())) {
        QFile::remove(QString::fromStdString(path));
        QFile::copy(QString::fromStdString(besideProgram), QString::fromStdString(path));
        QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner);
    }
    return path;
}

void useUserFoldersWhenNeeded() {
    setGameFileRedirect(&redirect);
}
