#include "game/preferences.h"

DesktopPreferences& desktopPreferences() {
    static DesktopPreferences preferences;
    return preferences;
}
