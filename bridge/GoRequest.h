// What a "go" line from the front end asks for: advice within a time
// ("go movetime N"), an analysis of a fixed size ("go nodes N"), a search
// under a chess clock ("go wtime W btime B [winc I] [binc J] [movestogo N]",
// in any order), or, with none of these, the level's fixed-time search. Read from plain text, so it is tested without a
// process.
#pragma once

#include <string>
#include <vector>

// The chess clock of one search as the front end tells it: each side's time
// left and increment, and the moves the side to move has left in its period.
// All times in milliseconds.
struct SearchClock {
  static constexpr long long NOT_GIVEN = -1;

  long long whiteMs = NOT_GIVEN;
  long long blackMs = NOT_GIVEN;
  long long whiteIncMs = 0;
  long long blackIncMs = 0;
  int movesToGo = 0; // 0: the time is for the rest of the game

  // True if any clock value was given.
  bool Given() const;
  // True if the time of the side to move is known: the search runs on the clock.
  bool Runs(bool whiteToMove) const { return (whiteToMove ? whiteMs : blackMs) != NOT_GIVEN; }
  // The time left and the increment of one side.
  long long TimeOf(bool white) const { return white ? whiteMs : blackMs; }
  long long IncrementOf(bool white) const { return white ? whiteIncMs : blackIncMs; }
};

struct GoRequest {
  static constexpr int ADVICE_MS_MIN = 10;
  static constexpr int ADVICE_MS_MAX = 600000;
  static constexpr long long CLOCK_MS_MAX = 2147483647; // what a UCI engine takes as a time
  static constexpr int MOVES_TO_GO_MAX = 10000;
  static constexpr long long NODES_MIN = 1;
  static constexpr long long NODES_MAX = 2147483647;

  int adviceMs = -1;    // "movetime N": advice within N ms; -1 if not asked
  long long nodes = -1; // "nodes N": an analysis of N nodes; -1 if not asked
  SearchClock clock;
  std::vector<std::string> problems; // one sentence per value that was ignored
  std::string ignored;               // the words that are not ours (depth, infinite, ...)

  // Reads the words after "go". A value that is missing, not a whole number,
  // negative or out of range is left out and named in problems.
  static GoRequest Parse(const std::string &arguments);
};
