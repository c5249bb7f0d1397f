#include "bridge/GoRequest.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// The words of a UCI "go" line; a word that follows one of them is not taken
// as its value, so "go wtime btime 5000" keeps the black time.
bool IsGoKeyword(const std::string &word) {
  for (const char *keyword : {"wtime", "btime", "winc", "binc", "movestogo", "movetime", "depth", "nodes", "mate",
                              "infinite", "ponder", "searchmoves"})
    if (word == keyword)
      return true;
  return false;
}

// Reads a whole number in [low, high]; false if the text is not one.
bool ParseWhole(const std::string &text, long long low, long long high, long long &value) {
  char *end = nullptr;
  errno = 0;
  const long long parsed = strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || parsed < low || parsed > high)
    return false;
  value = parsed;
  return true;
}

} // namespace

bool SearchClock::Given() const {
  return whiteMs != NOT_GIVEN || blackMs != NOT_GIVEN || whiteIncMs != 0 || blackIncMs != 0 || movesToGo != 0;
}

GoRequest GoRequest::Parse(const std::string &arguments) {
  GoRequest request;
  std::vector<std::string> words;
  std::istringstream stream(arguments);
  for (std::string word; stream >> word;)
    words.push_back(word);

  for (size_t i = 0; i < words.size(); ++i) {
    const std::string &key = words[i];
    long long low = 0, high = CLOCK_MS_MAX;
    const char *unit = "milliseconds";
    if (key == "movetime") {
      low = ADVICE_MS_MIN;
      high = ADVICE_MS_MAX;
    } else if (key == "movestogo") {
      high = MOVES_TO_GO_MAX;
      unit = "moves";
    } else if (key == "nodes") {
      low = NODES_MIN;
      high = NODES_MAX;
      unit = "nodes";
    } else if (key != "wtime" && key != "btime" && key != "winc" && key != "binc") {
      request.ignored += (request.ignored.empty() ? "" : " ") + key;
      continue;
    }
    if (i + 1 == words.size() || IsGoKeyword(words[i + 1])) {
      request.problems.push_back("go " + key + " without a value; ignored");
      continue;
    }
    const std::string &text = words[++i];
    long long value = 0;
    if (!ParseWhole(text, low, high, value)) {
      request.problems.push_back("go " + key + " " + text + " is not a whole number of " + unit + " from " +
                                 std::to_string(low) + " to " + std::to_string(high) + "; ignored");
      continue;
    }
    if (key == "movetime")
      request.adviceMs = int(value);
    else if (key == "nodes")
      request.nodes = value;
    else if (key == "wtime")
      request.clock.whiteMs = value;
    else if (key == "btime")
      request.clock.blackMs = value;
    else if (key == "winc")
      request.clock.whiteIncMs = value;
    else if (key == "binc")
      request.clock.blackIncMs = value;
    else
      request.clock.movesToGo = int(value);
  }
  return request;
}
