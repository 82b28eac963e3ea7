#pragma once
// The search's progress as interfaces show it: after every completed iteration
// a UCI "info" line, or, after "post", the xboard thinking line
// "ply score time nodes pv" (time in centiseconds).
#include <atomic>

extern std::atomic<int> postThinking; // 1 after "post", 0 after "nopost" (xboard mode)

// The moves of the root's principal variation in lower-case coordinates, one
// blank between them, stopping at the first marker word; returns the length.
// The buffer holds size bytes and is always terminated.
int variationText(char* buffer, int size);

// The score in the UCI form: "cp N" or "mate N" (moves, negative when the side
// to move is mated), from the side to move's point of view.
void uciScoreText(char* buffer, int size, int scoreForSideToMove);

// Prints the line of a completed iteration of the given depth; score is
// White's view and colour the side to move at the root.
void reportIteration(int depth, int score, int colour);
