#pragma once
// Where the game's own files live, and game texts to and from files.

#include <cstddef>
#include <string>

constexpr const char* AutosaveFileName = "autosave.pgn";

// The longest game the record holds (696 plies of about 15 characters, with
// the tags and the trailer) fits with room to spare.
constexpr std::size_t GameTextBufferSize = 16384;

// The folder of the game's own files: the folder that holds the running
// program unless another was set (no trailing separator).
const std::string& gameFolder();
// Points the game's files at another folder (tests).
void setGameFolder(const std::string& folder);
// gameFolder() + "/" + name, backslashes of the name turned into '/'.
std::string gameFile(const char* name);

// A file counts as present when it opens for reading and is not empty.
bool fileIsPresent(const char* path);

// Writes bytes to a new file beside `path` and renames it over `path`, so a
// failed write leaves the previous file whole. Returns false on any failure.
bool replaceFile(const char* path, const void* bytes, std::size_t count);
