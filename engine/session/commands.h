#pragma once
// The command interpreter: one line of the engine's command language at a time,
// acting on the engine's session; replies go to standard output, one flushed
// line each. And the engine start that must run before the first command.

// Interprets one command line (it may end with a newline). Returns 1; callers
// ignore the result.
int processCommand(const char* line);

// Engine start: session defaults, search tables, transposition table, opening
// book from the program folder, worker thread. The first call does all of it; a
// later call only restores the session defaults (the worker and the book stay).
void startEngine();
