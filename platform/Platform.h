// The small operating-system layer the game and the engine program need:
// a millisecond tick, a sleep, a child process on two pipes, sounds played
// without waiting and the program's own folders.
// Only the files of this folder know how they are done on this system.
#pragma once

#include "platform/ProgramFolders.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Hands memory the program has freed back to the system, so that the
// resident size follows what is in use after large pictures are let go.
void ReturnFreedMemory();

// Samples of a sound file: 16-bit PCM, channels interleaved.
struct PcmSound {
  std::vector<int16_t> samples;
  unsigned rate = 0;
  unsigned channels = 0;
};

// Decodes a RIFF/WAVE file of 16-bit PCM (mono or stereo). False, with the
// reason in error, for anything else: truncated, another format, no data.
bool DecodeWav(const std::string &bytes, PcmSound &sound, std::string &error);

// A sine tone of the given frequency and length: 44100 Hz mono, its ends
// ramped over a few milliseconds.
PcmSound MakeTone(uint32_t frequencyHz, uint32_t durationMs);

// Queues the WAV file at path to be played on the sound thread (started on
// first use) and returns at once; the frame loop never waits for a sound. A
// missing or broken file, a full queue or no sound device: nothing is heard.
void PlaySound(const char *path);

// Queues samples on the same thread, under the same rules as PlaySound.
void PlaySamples(PcmSound sound);

// Ends the sound thread after what it is playing; later sounds are dropped.
void StopSounds();

// Sends SIGKILL to every process of the group pgid (nothing if pgid is not
// positive). Safe to call from a signal handler.
void KillProcessGroup(int pgid);

// A child process whose standard input and output are pipes to this process.
// The child leads a process group of its own (its id is the group's id);
// Stop and HasEnded end whatever else is left in that group.
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

  // Writes size bytes to the child's standard input; returns how many went in
  // (0 when the child has gone). When the pipe is full it waits at most 20 ms
  // for room, so a child that has stopped reading cannot hold the caller. A child that
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

  // True once the child has ended; it is reaped then, so Stop finds nothing
  // left to wait for. Never blocks.
  bool HasEnded();

  bool IsStarted() const { return pid_ > 0; }
  int Pid() const { return pid_; }

private:
  int pid_ = -1;
  int toChild_ = -1;   // write end of the child's standard input
  int fromChild_ = -1; // read end of the child's standard output
  bool outputEnded_ = false;
  bool reaped_ = false; // HasEnded has collected the child's exit
};

} // namespace platform
