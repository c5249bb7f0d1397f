// One line of the engine program's output, read into a value: the answer to
// a search, a fault the program reports, or anything else. Plain strings in,
// values out, so every rule here is tested without a process.
#pragma once

#include "app/KelvarTypes.h"

#include <cstdint>
#include <string>

class CEngineReply {
public:
  enum class Kind : uint8_t {
    Other,       // any line the link does not act on
    ReadyOk,     // "readyok"
    CurrMove,    // an "info" line naming the move being searched
    BestMove,    // "bestmove <move>": move holds the move text
    NoMove,      // "bestmove (none)" or the null move "0000": move holds it
    Malformed,   // "bestmove" with something that is no move; fault says what
    MoveFault,   // the program reports a broken answer of its engine; fault says what
    Unavailable, // the program reports it has no engine to play with; fault says why
  };

  Kind kind = Kind::Other;
  std::string move;
  std::string fault; // "illegal move e2e5", "malformed bestmove e9", "missing bestmove", or a reason

  // Reads one line (without its line end).
  static CEngineReply Parse(const std::string &line);

  // The squares and promotion piece of a move text such as e2e4 or e7e8n (a
  // queen when there is no letter). False, leaving them alone, for anything
  // that is no move on the board.
  static bool Squares(const std::string &move, BoardSquare &from, BoardSquare &to, irr::s32 &promotion);
  // The text of a move: two squares and, for a promotion, the piece's letter
  // (q unless promotion names a rook, bishop or knight). False for a square
  // off the board.
  static bool MoveText(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion,
                       std::string &text);

  // What the status line says after a fault (a MoveFault's or Malformed's
  // fault text) made the link start its engine afresh.
  static std::wstring RestartNotice(const std::string &fault);
};
