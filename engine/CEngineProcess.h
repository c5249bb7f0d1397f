// The engine link's process: the engine program on two pipes, started in a
// process group of its own and ended with that whole group. Each start is a
// new generation, so output of a replaced program is told from the current
// one's.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CEngineProcess {
public:
  // Starts the program at path and sends "uci" (the line waits in the pipe
  // until the program reads). False, with errno telling why, if it cannot
  // be started.
  bool Launch(const char *path);
  // Ends a broken program at once: no pause to quit by itself.
  void Kill();
  // Shut-down: tells the program to quit and gives it graceMs to do so
  // before its group is ended. False if "quit" could not be written.
  bool Quit(uint32_t graceMs);

  // Writes text as it is; false if it did not all go in.
  bool Write(const std::string &text);
  // Reads at most size bytes of what is waiting; never blocks.
  size_t Read(char *buffer, size_t size) { return child.Read(buffer, size); }
  // Why the program counts as gone (its output closed, or, once its output
  // has been read to the end, it ended), or empty while it runs.
  std::string EndReason(bool drained);

  bool IsStarted() const { return child.IsStarted(); }
  int Pid() const { return child.Pid(); }
  unsigned Generation() const { return generation; }

private:
  platform::ChildProcess child;
  unsigned generation = 0;
};
