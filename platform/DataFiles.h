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
// flushed to disk and then renamed over path, the folder flushed after it, so
// the file is either the old one or the whole new one even if the machine
// stops at any instant. On false (full disk, unwritable folder) no temporary
// file is left, the old file is untouched and error says why.
bool WriteFileAtomically(const std::string &path, const std::string &text, std::string &error);

// Reads a whole file of at most maxBytes. False, with error, if it cannot
// be read or is larger.
bool ReadSmallFile(const std::string &path, size_t maxBytes, std::string &text, std::string &error);

bool FileExists(const std::string &path);
// When the file at path was last written, in nanoseconds of the real-time
// clock; 0 if nothing is there.
long long ModifiedTime(const std::string &path);
// True if anything (a file, a folder, ...) is at path.
bool PathExists(const std::string &path);
// Renames a file that could not be read to "<path>.broken-<date-time>" (with
// a number added if that is taken) in the same folder, so that it is never
// deleted or overwritten unread. Returns the new path; empty, with error, if
// the rename failed.
std::string MoveAside(const std::string &path, std::string &error);

// An advisory lock on a file that ends with the process holding it, even when
// that process is killed: it tells running copies of the game apart from the
// files that copies which have ended left behind.
class FileLock {
public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock &) = delete;
  FileLock &operator=(const FileLock &) = delete;

  // Creates the file if needed and takes the lock without waiting. False if
  // another process holds it or the file cannot be made.
  bool TryLock(const std::string &path);
  void Release();
  bool IsHeld() const { return fd >= 0; }

private:
  int fd = -1;
};
// Deletes a file; a missing file counts as deleted.
bool RemoveFile(const std::string &path);
// The local date and time now: "2026.12.07" and "2026-12-07_13-05-09".
std::string PgnDateToday();
std::string TimeStampNow();

} // namespace platform
