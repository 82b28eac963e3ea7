#pragma once
// The enable and check rules of the menu commands and image buttons, read from the
// game as it stands. Qt-free: the framework's update pass applies them.

struct CommandState {
    bool enabled = true;
    bool checkable = false; // the item carries a check mark
    bool checked = false;
};

CommandState commandState(int command);
