// Whether the game in progress counts for the player's rating ("rated") or
// not ("casual"). A game is rated when it is played against the engine from
// its first move to its end without a move taken back, a hint asked for or
// the level changed. The first thing that makes it casual is remembered as
// the reason the player is told.
#pragma once

#include "platform/Language.h"

#include <string>

class CRatedGame {
public:
  // A new game begins: against the engine at level, or between two players;
  // fromFile when it continues moves played before (a file, a resumed game).
  void Start(bool twoPlayers, int level, bool fromFile);
  void OnTakeBack() { MakeCasual(platform::NoTr("a move was taken back")); }
  void OnHint() { MakeCasual(platform::NoTr("a hint was asked for")); }
  void OnLevelChanged() { MakeCasual(platform::NoTr("the level was changed")); }
  // The engine left the game and the player went on moving both sides.
  void OnTwoPlayers() { MakeCasual(platform::NoTr("two players")); }

  bool IsRated() const { return reason.empty(); }
  // Why the game is casual ("" while it is rated).
  const std::string &CasualReason() const { return reason; }
  // The level the game is played at.
  int GetLevel() const { return level; }

private:
  void MakeCasual(const char *why) {
    if (reason.empty())
      reason = why;
  }

  std::string reason = platform::NoTr("no game was started");
  int level = 0;
};
