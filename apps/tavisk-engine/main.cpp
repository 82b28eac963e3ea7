// tavisk-engine: the engine alone, for interfaces that speak its command
// language over standard input and output.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

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

void printUsage(FILE* out) {
    std::fprintf(out,
                 "usage: tavisk-engine [--help] [--version]\n"
                 "Reads command lines of the xboard and UCI kinds on standard input and answers on\n"
                 "standard output; ends on \"quit\" or at the end of the input. See tavisk-engine(6).\n");
}

// The engine takes no options of its own; these only answer and end.
int readOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tavisk-engine %s\n", TAVISK_VERSION);
            return 0;
        }
        std::fprintf(stderr, "tavisk-engine: unknown option '%s'\n", argv[i]);
        printUsage(stderr);
        return 2;
    }
    return -1;
}

// xboard sends SIGTERM right after "quit", while the lines before it (a "result" whose
// game the engine records) may still be unread. They are read and acted on; the alarm's
// default action ends the process should no "quit" follow.
constexpr unsigned TerminationGraceSeconds = 2;

void onTermination(int) {
    alarm(TerminationGraceSeconds);
}

[[noreturn]] void finish() {
    std::fflush(stdout);
    // The worker thread is never joined; the process simply ends with it.
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv) {
    if (const int code = readOptions(argc, argv); code >= 0) return code;
    // Interfaces of the xboard kind interrupt their engine at times; this engine
    // has nothing to do on an interrupt.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, onTermination);
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
