#pragma once
// The desktop's own preferences, kept apart from the 36-byte settings block: the shell
// reads and writes them in a settings file of their own beside "options.cfg".

struct DesktopPreferences {
    bool sound = true;       // sounds for moves, captures, check and the end of the game
    bool coordinates = true; // files and ranks along the board's edges, where there is room
    bool autoTurn = true;    // the board turns so that the user's colour is at the bottom
};

DesktopPreferences& desktopPreferences();
