// The small operating-system layer the game and the engine program need:
// a millisecond tick, a sleep, a child process on two pipes, a tone and the
// program's own folders.
// Only the files of this folder know how they are done on this system.
#pragma once

#include "platform/ProgramFolders.h"

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
// Its standard error stays this process's own. The pipe ends this process
// keeps are closed on exec, so no other child inherits them.
class ChildProcess {
public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess &) = delete;
  ChildProcess &operator=(const ChildProcess &) = delete;

  // Starts the executable at path (no arguments). False if it cannot be
  // started: the file is missing or not executable, or a pipe failed; errno
  // then tells why.
  bool Start(const char *path);

  // Writes size bytes to the child's standard input, blocking until they are
  // taken; returns how many went in (0 when the child has gone). A child that
  // has ended never raises SIGPIPE in this process.
  size_t Write(const char *data, size_t size);

  // Number of bytes waiting on the child's standard output; never blocks.
  size_t Available();

  // Reads at most maxBytes of what is waiting; never blocks. Returns the count.
  size_t Read(char *buffer, size_t maxBytes);

  // Waits up to timeoutMs (negative: without limit) until output is waiting
  // or the child has closed its output. True if so.
  bool WaitForOutput(int timeoutMs);

  // True once a Read has found the child's output closed with nothing left.
  bool OutputEnded() const { return outputEnded_; }

  // Closes both pipes.
  void ClosePipes();

  // Gives the child up to graceMs to end by itself, then kills it; reaps it
  // either way, so no zombie is left. Returns at once if it was not started.
  void Stop(uint32_t graceMs = 0);

  bool IsStarted() const { return pid_ > 0; }
  int Pid() const { return pid_; }

private:
  int pid_ = -1;
  int toChild_ = -1;   // write end of the child's standard input
  int fromChild_ = -1; // read end of the child's standard output
  bool outputEnded_ = false;
};

} // namespace platform
