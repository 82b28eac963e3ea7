// Test programs are built outside the program folder; the files they read there
// (pictures, opening book, engine program) are the program folder's, as when the
// game runs.
#include "engine/session/session.h"

namespace {

const bool pointed = [] {
    setProgramFolder(TAVISK_PROGRAM_FOLDER "/");
    return true;
}();

} // namespace
