// Writes the installed "options.cfg": the default settings block. The game
// refuses to start without this file, so the build puts one in the program
// folder.

#include <cstdio>

#include "game/settings.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    Settings settings;
    setDefaultSettings(settings);
    std::uint8_t bytes[SettingsSize];
    encodeSettings(settings, bytes);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(bytes, 1, sizeof bytes, file) != sizeof bytes) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        if (file) std::fclose(file);
        return 1;
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
