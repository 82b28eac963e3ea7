// Where the written files go: beside a writable program, to the user's folders for an
// installed one, with the user's settings seeded once from the installed copy.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/shell/qtapp.h"
#include "ui/shell/userfiles.h"

namespace fs = std::filesystem;

namespace {

struct Scratch {
    fs::path root;
    Scratch() {
        char pattern[] = "/tmp/tavisk-userfiles-XXXXXX";
        root = mkdtemp(pattern);
    }
    ~Scratch() { fs::remove_all(root); }
    void write(const fs::path& path, const std::string& bytes) const {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST(UserFiles, WrittenFilesFollowTheProgramFolder) {
    ensureApplication();
    Scratch scratch;
    const UserFolders folders{(scratch.root / "config").string(), (scratch.root / "state").string()};
    const std::string installed = (scratch.root / "program").string();
    struct Case {
        const char* name;
        bool writable;
        std::string expected;
    };
    const Case cases[] = {
        {"options.cfg", true, installed + "/options.cfg"},
        {"autosave.pgn", true, installed + "/autosave.pgn"},
        {"autosave.pgn", false, folders.state + "/autosave.pgn"},
        {"Skin1/board.bmp", false, installed + "/Skin1/board.bmp"}, // read-only files stay
        {"options.cfg", false, folders.config + "/options.cfg"},
        {"tavisk.ini", true, installed + "/tavisk.ini"},
        {"tavisk.ini", false, folders.config + "/tavisk.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writtenFilePath(c.name, installed + "/" + c.name, c.writable, folders), c.expected)
            << c.name;
}

// An installation marks its program folder; the files then go to the user's folders even
// for a user who could write there (root), so removing the package leaves nothing behind.
TEST(UserFiles, InstalledFolderTakesNoWrites) {
    Scratch scratch;
    const fs::path program = scratch.root / "program";
    fs::create_directories(program);
    EXPECT_TRUE(programFolderTakesWrites(program.string()));
    scratch.write(program / "installed", "shared\n");
    EXPECT_FALSE(programFolderTakesWrites(program.string()));
    EXPECT_FALSE(programFolderTakesWrites((scratch.root / "missing").string()));
}

TEST(UserFiles, UserSettingsStartAsTheInstalledOnes) {
    ensureApplication();
    Scratch scratch;
    const UserFolders folders{(scratch.root / "config").string(), (scratch.root / "state").string()};
    const fs::path installed = scratch.root / "program" / "options.cfg";
    const fs::path user = scratch.root / "config" / "options.cfg";

    // No installed copy: nothing is made, so the program reports its missing file.
    EXPECT_EQ(writtenFilePath("options.cfg", installed.string(), false, folders), user.string());
    EXPECT_FALSE(fs::exists(user));

    scratch.write(installed, std::string(36, '\x01'));
    writtenFilePath("options.cfg", installed.string(), false, folders);
    EXPECT_EQ(Scratch::read(user), std::string(36, '\x01'));

    // Later runs keep the user's own settings.
    scratch.write(user, std::string(36, '\x02'));
    writtenFilePath("options.cfg", installed.string(), false, folders);
    EXPECT_EQ(Scratch::read(user), std::string(36, '\x02'));
}

} // namespace
