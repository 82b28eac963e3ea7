// Tavisk, the game: a resizable desktop window, or a handheld screen emulated on the
// desktop (--screen WxH, --zoom N).

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/shell/devicescreen.h"
#include "ui/shell/taviskapp.h"

namespace {

void printUsage(FILE* out) {
    std::fprintf(out,
                 "usage: tavisk [--screen WxH] [--zoom N] [GAME.pgn]\n"
                 "  without --screen and --zoom: a desktop window of any size\n"
                 "  --screen WxH  emulate a device screen in pixels (240x320 if only --zoom is given),\n"
                 "                for example 480x640, 320x240, 240x240, 640x480\n"
                 "  --zoom N      show each screen pixel as N x N pixels (default: to suit the monitor)\n"
                 "  --help        this text;  --version  the version\n");
}

// Answers --help and --version before the application starts, so that both work
// without a display. Returns true when the program should end.
bool answersAtOnce(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tavisk %s\n", TAVISK_VERSION);
            return true;
        }
    }
    return false;
}

// Reads the game's own options; Qt's have been taken out by then. Returns false with a
// message for anything it does not understand.
bool readOptions(int argc, char** argv, DeviceScreen& screen, const char*& gameFile) {
    bool emulated = false;
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        const char* value = nullptr;
        const char* name = nullptr;
        if (std::strncmp(option, "--screen", 8) == 0 || std::strncmp(option, "--zoom", 6) == 0) {
            const char* equals = std::strchr(option, '=');
            name = option;
            if (equals)
                value = equals + 1;
            else if (i + 1 < argc)
                value = argv[++i];
        }
        if (name) emulated = true;
        if (name && std::strncmp(name, "--screen", 8) == 0 && (name[8] == 0 || name[8] == '=')) {
            if (!parseScreenSize(value, screen.width, screen.height)) {
                std::fprintf(stderr, "tavisk: --screen wants WxH with sides from 100 to 2000, got '%s'\n",
                             value ? value : "");
                return false;
            }
        } else if (name && std::strncmp(name, "--zoom", 6) == 0 && (name[6] == 0 || name[6] == '=')) {
            if (!parseZoom(value, screen.zoom)) {
                std::fprintf(stderr, "tavisk: --zoom wants a whole number from 1 to 16, got '%s'\n",
                             value ? value : "");
                return false;
            }
        } else if (option[0] != '-' && !gameFile) {
            gameFile = option; // a game to open, as from the desktop's file manager
        } else {
            std::fprintf(stderr, "tavisk: unknown option '%s'\n", option);
            printUsage(stderr);
            return false;
        }
    }
    // The desktop window: its dialogs are sized as on the large screen.
    if (!emulated) {
        screen.desktop = true;
        screen.width = 480;
        screen.height = 640;
        screen.zoom = 1;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (answersAtOnce(argc, argv)) return 0;
    CTaviskApp app(argc, argv);
    const char* gameFile = nullptr;
    if (!readOptions(argc, argv, deviceScreen(), gameFile)) return 2;
    app.endOnTerminationSignals();
    if (!app.initInstance()) return 1;
    if (gameFile) app.openFile(QString::fromLocal8Bit(gameFile));
    const int code = app.exec();
    app.exitInstance();
    // The engine's worker is never joined; the process ends with it.
    std::fflush(nullptr);
    std::_Exit(code);
}
