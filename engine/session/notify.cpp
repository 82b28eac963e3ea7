#include "engine/session/notify.h"

std::atomic<NotifyHook> mainWindow{nullptr};

intptr_t notifyMainWindow(unsigned message, intptr_t wParam, intptr_t lParam) {
    NotifyHook hook = mainWindow.load();
    return hook ? hook(message, wParam, lParam) : 0;
}
