// The board during a review: it shows the reviewed game at the position the
// player looks at, the pieces gliding as in play when the player steps one
// move on, and the engine's better move as an arrow. The game on the board
// before is given back as its record stands when the review ends.
#pragma once

#include "chess/CGameAnalysis.h"
#include "chess/CGameRecord.h"
#include "scene/CBoardArrow.h"

#include <cstddef>
#include <vector>

class CReviewBoard {
public:
  // Takes the board over for the game: its last position, nothing travelling.
  void Begin(const chess::CGameAnalysis &analysis);
  // Shows the position after index plies: one step on or back glides, any
  // other step stands at once; the last move reaching it is tinted.
  void Show(std::size_t index);
  // The better move as an arrow; none clears it.
  void ShowArrow(const chess::Move *better);
  // Sets the board up as the game's record stands (every move shown, the
  // last one tinted) and takes the arrow away.
  void End(const chess::CGameRecord &game);

  bool IsActive() const { return active; }
  std::size_t Shown() const { return record.GetPlyCount(); }
  const chess::CGameRecord &GetRecord() const { return record; }
  const CBoardArrow &GetArrow() const { return arrow; }

private:
  // Shows every move of a record on a board set up at its start.
  static void ShowWhole(const chess::CGameRecord &game);

  chess::CGameRecord record; // the reviewed game up to the position shown
  std::vector<chess::Move> moves;
  CBoardArrow arrow;
  bool active = false;
};
