// The file that keeps this copy's unfinished game: which one it is, and
// writing it durably off the frame loop.
//
// Each running copy of the game holds a lock on a slot of its own
// (autosave.pgn, autosave-2.pgn, ...), so two copies started with the same
// home never write over each other's game. The lock ends with the process,
// however it ends, so the next start finds the games of copies that have
// gone and takes one of them over, the one written longest ago first.
//
// Writes go to a thread of their own: flushing to disk can take longer than
// a frame. Only the newest text waiting is written; one being written is
// finished first, so the file always holds a whole game that was current.
#pragma once

#include "platform/DataFiles.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CAutosave {
public:
  static constexpr int SLOTS = 8;

  CAutosave() = default;
  ~CAutosave() { Release(); }
  CAutosave(const CAutosave &) = delete;
  CAutosave &operator=(const CAutosave &) = delete;

  // The file of slot 1..SLOTS in folder.
  static std::string SlotPath(const std::string &folder, int slot);

  // Locks a slot in folder (created if needed): with preferGame the free
  // slot whose file holds the game a copy left behind longest ago, otherwise
  // (or if none does) the first free slot without one. False, with error, if the
  // folder cannot be made or every slot is held.
  bool Claim(const std::string &folder, bool preferGame, std::string &error);
  // Finishes the writes asked for, ends the writer and drops the lock.
  void Release();
  bool IsClaimed() const { return lock.IsHeld(); }
  const std::string &GetPath() const { return path; }
  int GetSlot() const { return slot; }

  // Queues the text to replace the file, or the file's removal; a request
  // still waiting is replaced by the newer one. plies is handed back in the
  // outcome, for the log.
  void Save(std::string text, size_t plies);
  void Remove();
  // Waits until every request has been carried out. False, with error, if
  // the last one failed.
  bool Flush(std::string &error);

  struct Outcome {
    bool removed = false; // a removal, not a write
    bool ok = true;
    size_t plies = 0;
    std::string error;
  };
  // What the writer has done since the last call, in order (for the log and
  // for telling the player about a failure on the frame loop's thread).
  std::vector<Outcome> TakeOutcomes();

private:
  void Queue(bool remove, std::string text, size_t plies);
  void Run();

  platform::FileLock lock;
  std::string path;
  int slot = 0;

  std::thread writer;
  std::mutex mutex;
  std::condition_variable changed;
  bool hasJob = false, jobRemoves = false, busy = false, stopping = false;
  std::string jobText;
  size_t jobPlies = 0;
  bool lastOk = true;
  std::string lastError;
  std::vector<Outcome> outcomes;
};
