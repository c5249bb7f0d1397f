// The moves history as players read it: "1. e4 Nf6" lines, one per move pair,
// and the result last once the game is over. It follows a game move by move:
// a game that grew costs only the notation of its new moves, and the text
// grows at its end, so a window showing it can append what is new instead of
// building everything again.
#pragma once

#include "chess/PgnGame.h"
#include "chess/Position.h"

#include <cstdint>
#include <string>
#include <vector>

namespace chess {

class CMovesHistory {
public:
  enum class Change : uint8_t {
    None,     // the game is the one followed before
    Appended, // the game went on: GetTail() holds the text added at the end
    Replaced, // another game, a move taken back or a result gone: text rebuilt
  };

  // Brings the text up to the game. A move the rules refuse ends the text
  // before it, marks the history incomplete and counts as Replaced: the
  // text no longer tells the game.
  Change Follow(const PgnGame &game);

  // The whole text, without a line feed after its last line.
  const std::string &GetText() const { return text; }
  // What the last Follow added to the end of the text.
  const std::string &GetTail() const { return tail; }
  // False once a move of the game was not legal where it stood.
  bool IsComplete() const { return complete; }

private:
  bool Continues(const PgnGame &game) const;
  // Starts the text afresh at the game's start position.
  void Restart(const std::string &fen);
  // Writes a legal move at the end of the text and plays it; false (text
  // unchanged) for a move the rules refuse.
  bool AppendMove(const Move &move);
  void AppendResult(const std::string &gameResult);

  Position position; // after the moves followed
  std::string startFen;
  std::vector<Move> moves;
  std::string result = "*";
  std::string text, tail;
  bool complete = true;
};

} // namespace chess
