// tavisk-engine: the engine alone, for interfaces that speak its command
// language over standard input and output.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/search/worker.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"

namespace {

// A line longer than this is not a command of the language; it is dropped.
constexpr size_t MaxLineLength = 65536;

bool isQuit(const char* line) {
    return std::strncmp(line, "quit", 4) == 0 &&
           (line[4] == '\0' || line[4] == '\n' || line[4] == '\r' || line[4] == ' ');
}

// Reads one line with its '\n' into line (MaxLineLength + 2 bytes). Returns its
// length, more than MaxLineLength for a line that did not fit (its start is
// kept, the rest dropped), -1 at the end of the input. Zero bytes read as blanks.
int readCommandLine(char* line) {
    size_t n = 0;
    size_t total = 0;
    int c;
    while ((c = std::getchar()) != EOF) {
        ++total;
        if (n <= MaxLineLength) line[n++] = static_cast<char>(c == 0 ? ' ' : c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    if (c == EOF && total == 0) return -1;
    return total > MaxLineLength + 1 ? static_cast<int>(MaxLineLength + 1) : static_cast<int>(n);
}

[[noreturn]] void finish() {
    std::fflush(stdout);
    // The worker thread is never joined; the process simply ends with it.
    std::_Exit(0);
}

} // namespace

int main() {
    // Interfaces of the xboard kind interrupt their engine at times; this engine
    // has nothing to do on an interrupt.
    std::signal(SIGINT, SIG_IGN);
    startEngine();
    static char line[MaxLineLength + 2];
    int length;
    while ((length = readCommandLine(line)) >= 0) {
        if (length > static_cast<int>(MaxLineLength)) continue;
        if (isQuit(line)) {
            processCommand(line);
            finish();
        }
        processCommand(line);
    }
    // End of input: a move the engine has been asked for is still played; an
    // analysis or a ponder search simply ends with the process.
    for (;;) {
        if (engineSession.analyzeMode == 1 || engineSession.searchState == 2) break;
        if (idleEvent.isSet() && !wakeEvent.isSet()) break;
        struct timespec pause {
            0, 50 * 1000 * 1000
        };
        nanosleep(&pause, nullptr);
    }
    finish();
}
