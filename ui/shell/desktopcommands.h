#pragma once
// The desktop's commands: copy and paste, resign and draw offers, the question before
// a game in progress is dropped, and the preferences of the Options menu.

class CTaviskDoc;
class QWidget;

// Runs a desktop command; false for a command that is not one of them.
bool desktopCommand(int command, CTaviskDoc& document, QWidget* parent);

// Before New game or Load: a game in progress may be saved first. Save / Don't save /
// Cancel; false when the user cancels (or the save was cancelled).
bool confirmDiscardGame(CTaviskDoc& document, QWidget* parent);
