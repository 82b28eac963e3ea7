#include "game/gamefiles.h"

#include <cstdio>
#include <string>
#include <unistd.h>

#include "engine/session/session.h"

namespace {

std::string& folderStore() {
    static std::string folder;
    return folder;
}

// The program folder without its trailing separator.
std::string executableFolder() {
    std::string folder = programFolder();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder.empty() ? "." : folder;
}

GameFileRedirect& redirectStore() {
    static GameFileRedirect redirect = nullptr;
    return redirect;
}

} // namespace

void setGameFileRedirect(GameFileRedirect redirect) {
    redirectStore() = redirect;
}

const std::string& gameFolder() {
    std::string& folder = folderStore();
    if (folder.empty()) folder = executableFolder();
    return folder;
}

void setGameFolder(const std::string& folder) {
    folderStore() = folder;
}

std::string gameFile(const char* name) {
    std::string path = gameFolder();
    if (path.empty() || path.back() != '/') path += '/';
    for (const char* c = name; *c; ++c) path += (*c == '\\') ? '/' : *c;
    return redirectStore() ? redirectStore()(name, path) : path;
}

bool fileIsPresent(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    const bool present = std::fgetc(file) != EOF;
    std::fclose(file);
    return present;
}

bool replaceFile(const char* path, const void* bytes, std::size_t count) {
    const std::string fresh = std::string(path) + ".new";
    std::FILE* file = std::fopen(fresh.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes, 1, count, file) == count;
    written = std::fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(fresh.c_str(), path) != 0) {
        std::remove(fresh.c_str());
        return false;
    }
    return true;
}
