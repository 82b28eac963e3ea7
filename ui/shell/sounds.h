#pragma once
// The game's sounds: a move, a capture, check and the end of the game, heard when the
// view first shows them. Played with Qt Multimedia from the program folder's "Sounds";
// a machine without a sound device plays nothing and goes on.

enum class GameSound { None, Move, Capture, Check, End };

// Called by every paint of the game: compares the game with the last one heard and
// plays the sound of a new move (or of an end by resignation or agreement).
void soundsAfterPaint();

// What soundsAfterPaint played last (GameSound::None before any), even when the sound
// preference or a missing device kept it silent.
GameSound lastGameSound();
int gameSoundsPlayed(); // sounds chosen so far
