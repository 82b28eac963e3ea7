#pragma once
// Where the game's own files live, and game texts to and from files.

#include <cstddef>
#include <string>

constexpr const char* AutosaveFileName = "autosave.pgn";

// Game texts written and read. The longest game the record holds (696 plies
// of about 15 characters, with the tags and the trailer, some 10 KiB) fits
// with room to spare, and so does a game file with comments from elsewhere.
constexpr std::size_t GameTextBufferSize = 65536;

// The folder of the game's own files: the folder that holds the running
// program unless another was set (no trailing separator).
const std::string& gameFolder();
// Points the game's files at another folder (tests).
void setGameFolder(const std::string& folder);
// gameFolder() + "/" + name, backslashes of the name turned into '/'; or where the
// redirect (if set) sends that name instead.
std::string gameFile(const char* name);

// The shell points the files the game writes elsewhere when the program folder cannot
// be written (an installed program). Gets the name and the path beside the program.
using GameFileRedirect = std::string (*)(const char* name, const std::string& besideProgram);
void setGameFileRedirect(GameFileRedirect redirect);

// A file counts as present when it opens for reading and is not empty.
bool fileIsPresent(const char* path);

// Writes bytes to a new file beside `path` and renames it over `path`, so a
// failed write leaves the previous file whole. Returns false on any failure.
bool replaceFile(const char* path, const void* bytes, std::size_t count);
