// A game taken over from elsewhere (a file): played through to where it
// stands and judged; an unfinished one then waits in the colour window for
// the player's choice of side, and play goes on from where it stands.
#pragma once

#include "app/KelvarTypes.h"
#include "chess/Position.h"

#include <string>
#include <vector>

class CGame;

class CGameTakeover {
public:
  explicit CGameTakeover(CGame &game) : game(game) {}

  // The board is set up at the game's start position (start, whose FEN the
  // engine is told as startFen, empty for the standard one); the moves are
  // played through the record and the engine learns the position. The game
  // is judged as after any move; a result the position does not show
  // (resignation, agreement) ends it as recorded. False if the rules refuse
  // a move (the board then holds the moves before it).
  bool Start(const chess::Position &start, const std::string &startFen, const std::vector<chess::Move> &moves,
             const std::string &result);
  // The colour window's answer for a game taken over: the human plays color
  // (or both sides, as the game's two-player setting says) from where the
  // game stands. False, with nothing done, when no such game waits.
  bool OnColorChosen(irr::s32 color);
  bool IsChoosingSide() const { return choosingSide; }
  // A new game or the end of this one: no side is asked for any more.
  void Forget() { choosingSide = false; }

private:
  CGame &game;
  bool choosingSide = false;
};
