#include "game/CAutosave.h"

#include <cerrno>
#include <cstring>
#include <utility>

std::string CAutosave::SlotPath(const std::string &folder, int slot) {
  return folder + (slot <= 1 ? "/autosave.pgn" : "/autosave-" + std::to_string(slot) + ".pgn");
}

bool CAutosave::Claim(const std::string &folder, bool preferGame, std::string &error) {
  Release();
  if (!platform::MakeFolders(folder, error))
    return false;
  // A game left behind first (when wanted): the one written longest ago, so
  // that games several copies left come back in turn, start after start.
  if (preferGame) {
    int oldest = 0;
    long long oldestTime = 0;
    for (int n = 1; n <= SLOTS; ++n) {
      const long long written = platform::ModifiedTime(SlotPath(folder, n));
      if (written != 0 && (oldest == 0 || written < oldestTime) && lock.TryLock(SlotPath(folder, n) + ".lock")) {
        lock.Release(); // only looked at: taken below
        oldest = n;
        oldestTime = written;
      }
    }
    if (oldest != 0 && lock.TryLock(SlotPath(folder, oldest) + ".lock")) {
      path = SlotPath(folder, oldest);
      slot = oldest;
      return true;
    }
  }
  for (int n = 1; n <= SLOTS; ++n) {
    const std::string candidate = SlotPath(folder, n);
    if (platform::PathExists(candidate) || !lock.TryLock(candidate + ".lock"))
      continue;
    path = candidate;
    slot = n;
    return true;
  }
  error = "every one of the " + std::to_string(SLOTS) + " autosave files in " + folder +
          " is held by a running copy of the game";
  return false;
}

void CAutosave::Release() {
  if (writer.joinable()) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      stopping = true;
    }
    changed.notify_all();
    writer.join();
  }
  stopping = false;
  hasJob = busy = false;
  lock.Release();
  path.clear();
  slot = 0;
}

void CAutosave::Save(std::string text, size_t plies) { Queue(false, std::move(text), plies); }

void CAutosave::Remove() { Queue(true, std::string(), 0); }

void CAutosave::Queue(bool remove, std::string text, size_t plies) {
  if (path.empty())
    return;
  {
    std::lock_guard<std::mutex> guard(mutex);
    hasJob = true;
    jobRemoves = remove;
    jobText = std::move(text);
    jobPlies = plies;
  }
  if (!writer.joinable())
    writer = std::thread(&CAutosave::Run, this);
  changed.notify_all();
}

bool CAutosave::Flush(std::string &error) {
  std::unique_lock<std::mutex> guard(mutex);
  changed.wait(guard, [this] { return !hasJob && !busy; });
  error = lastError;
  return lastOk;
}

std::vector<CAutosave::Outcome> CAutosave::TakeOutcomes() {
  std::lock_guard<std::mutex> guard(mutex);
  std::vector<Outcome> taken;
  taken.swap(outcomes);
  return taken;
}

void CAutosave::Run() {
  std::unique_lock<std::mutex> guard(mutex);
  for (;;) {
    // A stop still carries out the request waiting: it is the newest state.
    changed.wait(guard, [this] { return hasJob || stopping; });
    if (!hasJob)
      return;
    Outcome outcome;
    outcome.removed = jobRemoves;
    outcome.plies = jobPlies;
    const std::string text = std::move(jobText);
    hasJob = false;
    busy = true;
    guard.unlock();
    if (outcome.removed) {
      outcome.ok = platform::RemoveFile(path);
      if (!outcome.ok)
        outcome.error = "cannot remove " + path + ": " + strerror(errno);
    } else {
      outcome.ok = platform::WriteFileAtomically(path, text, outcome.error);
    }
    guard.lock();
    busy = false;
    lastOk = outcome.ok;
    lastError = outcome.error;
    outcomes.push_back(std::move(outcome));
    changed.notify_all();
  }
}
