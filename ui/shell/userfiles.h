#pragma once
// Where the files the program writes live. Beside the program by default; an installed
// program's folder belongs to every user (it cannot be written, or the installation
// marked it as shared), and then the settings go to the user's config
// folder (starting as a copy of the installed "options.cfg") and the auto-saved game to
// the user's state folder, so that an installed Tavisk still keeps settings and games.

#include <string>

struct UserFolders {
    std::string config; // for "options.cfg"
    std::string state;  // for "autosave.pgn"
};

// $XDG_CONFIG_HOME/tavisk and $XDG_STATE_HOME/tavisk, with the usual defaults.
UserFolders userFolders();

// Whether the files the program writes may go beside it in this folder: it can be
// written and holds no installation's marker.
bool programFolderTakesWrites(const std::string& folder);

// The path for a file named by the game, given its place beside the program and
// whether the program folder can be written. Makes the user folder when one is
// chosen, and seeds the user's "options.cfg" from the installed one.
std::string writtenFilePath(const char* name, const std::string& besideProgram, bool folderWritable,
                            const UserFolders& folders);

// Installs the choice above for the game's files.
void useUserFoldersWhenNeeded();
