// Advice for the player: a search of its own on the engine whose answer is
// shown and never played. The engine answers searches in order, so the first
// answer after the advice was asked for is the advice's; the link hands every
// answer here first and treats it as the engine's move only when it is not
// taken. The link sends the commands; this class only keeps the account.
#pragma once

#include "app/KelvarTypes.h"

#include <string>

class CEngineHint {
public:
  // The command that asks for advice after thinkMs; advice not yet fetched is dropped.
  std::string Ask(irr::u32 thinkMs);
  // The command went out: an answer is owed, and it is to be shown.
  void Asked() { pending = wanted = true; }
  // True while the advice search's answer is still to come.
  bool IsPending() const { return pending; }

  // A search's answer came. True if it was the advice's (and so is not the
  // engine's move); it is kept for Fetch only if still wanted and showable
  // (no fence open before it, a well-formed move).
  bool TakeAnswer(const std::string &move, bool showable);
  // True, once, when advice has come that names a move; from and to are then
  // its squares. "(none)" and the null move are no advice.
  bool Fetch(BoardSquare &from, BoardSquare &to);
  // Drops the advice. True if its search is still running (the link stops it);
  // its answer, whenever it comes, is still taken here.
  bool Cancel();
  // No advice is owed any more: the engine left the search (a new game, a
  // new engine program).
  void Forget() { pending = wanted = false; }

private:
  std::string line;     // the advice's move text, once it came
  bool pending = false; // an advice search's answer is still to come
  bool wanted = false;  // ... and it is to be shown
};
