// The small operating-system layer the game and the engine program need:
// a millisecond tick, a sleep, a child process on two pipes and a tone.
// Only the files of this folder know how they are done on this system.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Milliseconds from a monotonic clock, truncated to 32 bits: the value wraps
// around after about 49.7 days, so callers measure with unsigned differences.
uint32_t GetTickCount();

// Replaces the clock behind GetTickCount (tests drive time with it);
// nullptr restores the monotonic clock.
using TickSource = uint32_t (*)();
void SetTickSource(TickSource source);

// Blocks the calling thread for the given number of milliseconds.
void Sleep(uint32_t milliseconds);

// Plays a tone of the given frequency and length through the system's sound
// service and returns when it has ended. Without a sound device it waits the
// same time silently.
void Beep(uint32_t frequencyHz, uint32_t durationMs);

// A child process whose standard input and output are pipes to this process.
// Its standard error stays this process's own.
class ChildProcess {
public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  // Starts the executable at path (no arguments). False if it cannot be
  // started: the file is missing or not executable, or a pipe failed.
  bool Start(const char *path);

  // Writes size bytes to the child's standard input, blocking until they are
  // taken; returns how many went in (0 when the child has gone).
  size_t Write(const char *data, size_t size);

  // Number of bytes waiting on the child's standard output; never blocks.
  size_t Available();

  // Reads at most maxBytes of what is waiting; never blocks. Returns the count.
  size_t Read(char *buffer, size_t maxBytes);

  // Closes both pipes.
  void ClosePipes();

  // Ends the child (if it still runs) and reaps it, so no zombie is left.
  void Stop();

  bool IsStarted() const { return pid_ > 0; }
  int Pid() const { return pid_; }

private:
  int pid_ = -1;
  int toChild_ = -1;   // write end of the child's standard input
  int fromChild_ = -1; // read end of the child's standard output
};

} // namespace platform
