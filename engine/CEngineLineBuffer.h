// Assembles engine output into lines with a fixed upper bound on memory: a
// line longer than the limit is dropped whole, however long it grows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CEngineLineBuffer {
public:
  // Longest line kept; UCI "info" lines with a long principal variation stay
  // well under it.
  static constexpr size_t MAX_LINE = 2048;

  // Appends bytes and moves every line they complete, without its line feed
  // and a carriage return before it, to lines. Zero and other binary bytes
  // stay in their line. Returns the number of over-long lines dropped.
  size_t Feed(const char *data, size_t size, std::vector<std::string> &lines);

  // Forgets the line in the making (the engine behind it has gone).
  void Clear();

  size_t PendingSize() const { return pending.size(); }

private:
  std::string pending;
  bool overflowing = false; // the current line passed MAX_LINE: skip to its end
};
