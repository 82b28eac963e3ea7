#pragma once
// The game in progress goes to "autosave.pgn" after every change (a move of
// either side, takeback, forward, load, new game, swap), so that a crash or a
// kill loses nothing that was complete. The text is made on the main thread
// while the engine is idle, or waits for its notification to be handled; a
// writer thread of its own puts it on disk (a new file, then a rename), so
// neither a paint nor the engine waits for the disk.

#include <string>

// The current game as the controller writes it, trailer included.
std::string autosaveText();

// Writes the game when it differs from the last one written. While the worker
// is not in its wait nothing is written: the engine's notification of its move,
// or the worker's notice once it waits again, calls it again.
void autosaveIfChanged();

// Takes the game as it stands for written (the game just restored, or the fresh
// game of a first start, which is not worth a file of its own).
void autosaveIsCurrent();

// Waits until the writer has put the last text on disk.
void waitForAutosave();
