// What the engine-match benchmarks share: a UCI-speaking program on its
// pipes, the openings games start from, and move texts split, joined and
// played on a position.
#pragma once

#include "chess/Position.h"
#include "platform/Platform.h"

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

namespace bench_support {

// Short openings, each played once with either colour.
inline const char *const OPENINGS[] = {
    "e2e4 e7e5", "d2d4 d7d5", "c2c4 e7e5", "e2e4 c7c5", "d2d4 g8f6",
    "g1f3 d7d5", "e2e4 e7e6", "e2e4 c7c6", "b1c3 d7d5", "f2f4 e7e5",
};

inline std::vector<std::string> Split(const std::string &text) {
  std::istringstream words(text);
  std::vector<std::string> result;
  for (std::string word; words >> word;)
    result.push_back(word);
  return result;
}

inline std::string Join(const std::vector<std::string> &words) {
  std::string text;
  for (const std::string &word : words)
    text += (text.empty() ? "" : " ") + word;
  return text;
}

// Plays a move in UCI text if it is legal; false otherwise.
inline bool PlayText(chess::Position &position, const std::string &text) {
  chess::Move move;
  return chess::Move::FromUci(text, move) && position.Play(move);
}

// A UCI-speaking program on its pipes; told to quit and ended when it goes.
class UciProgram {
public:
  UciProgram() = default;
  UciProgram(const UciProgram &) = delete;
  UciProgram &operator=(const UciProgram &) = delete;
  ~UciProgram() {
    Send("quit");
    child.ClosePipes();
    child.Stop(2000);
  }

  // Starts the program at path, sends the set-up lines and waits up to
  // timeoutMs until it answers "isready".
  bool Start(const char *path, const std::vector<std::string> &setup, int timeoutMs) {
    if (!child.Start(path))
      return false;
    for (const std::string &line : setup)
      Send(line);
    Send("isready");
    return ReadLineWith("readyok", timeoutMs) == "readyok";
  }

  void Send(const std::string &line) { child.Write((line + "\n").data(), line.size() + 1); }

  // The next line that starts with prefix; "" on time-out or end of output.
  std::string ReadLineWith(const std::string &prefix, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (line.compare(0, prefix.size(), prefix) == 0)
          return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0 || !child.WaitForOutput(int(left.count())))
        return "";
      char buffer[4096];
      pending.append(buffer, child.Read(buffer, sizeof(buffer)));
      if (child.OutputEnded())
        return "";
    }
  }

private:
  platform::ChildProcess child;
  std::string pending;
};

} // namespace bench_support
