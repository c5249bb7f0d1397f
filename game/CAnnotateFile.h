// The batch review of the command line ("kelvar --annotate IN.pgn OUT.pgn"):
// every game of a PGN file judged by the review engine, position by
// position, and written back with the engine's evaluations, the marks of the
// inaccurate moves and each side's accuracy. No window is needed.
#pragma once

#include <ostream>
#include <string>

class CAnnotateFile {
public:
  // Reviews every game of the file in with the engine program at enginePath,
  // nodes a position, and writes them all to out (through a temporary file:
  // out is whole or untouched). The progress ("review: game 1, position
  // 12/61") and any failure ("kelvar: --annotate IN: <reason>") go to
  // progress, one summary line a game ("Kelvar: review done ...") to log.
  // Returns the exit status: 0, or 1 when the file cannot be read, holds no
  // game or a broken one, the engine fails, or out cannot be written.
  static int Run(const std::string &in, const std::string &out, long long nodes, const std::string &enginePath,
                 std::ostream &progress, std::ostream &log);
};
