#pragma once
// The four 16 x 16 images of the command bar (hint, takeback, forward, rotate board).

#include <QIcon>

// The image of button 0..3, each device pixel zoom x zoom desktop pixels.
QIcon barButtonIcon(int index, int zoom);

// The image of button 0..3 for the desktop window: painted at logicalSize and at its
// multiples for high-density screens, not scaled up from the 16-pixel bitmap.
QIcon desktopBarButtonIcon(int index, int logicalSize);
