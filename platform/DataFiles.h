// Files the game keeps for the player: where they live by the XDG base
// directory rules, and reading and writing them safely.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// $XDG_DATA_HOME, or $HOME/.local/share when that is unset, empty or not an
// absolute path (as the XDG rules say). Empty when neither can be found.
std::string DataHome();

// Creates the folder and its missing parents. False, with error, if it
// cannot be made or a file stands in the way.
bool MakeFolders(const std::string &path, std::string &error);

// Writes text to path through a temporary file in the same folder that is
// flushed to disk and then renamed over path, so the file is either the old
// one or the whole new one. On false (full disk, unwritable folder) no
// temporary file is left and error says why.
bool WriteFileAtomically(const std::string &path, const std::string &text, std::string &error);

// Reads a whole file of at most maxBytes. False, with error, if it cannot
// be read or is larger.
bool ReadSmallFile(const std::string &path, size_t maxBytes, std::string &text, std::string &error);

bool FileExists(const std::string &path);
// Deletes a file; a missing file counts as deleted.
bool RemoveFile(const std::string &path);
// The local date and time now: "2026.12.07" and "2026-12-07_13-05-09".
std::string PgnDateToday();
std::string TimeStampNow();

} // namespace platform
