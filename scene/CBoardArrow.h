// The engine's better move during a review: a flat green arrow lying just
// above the board from the move's square to its target, apart from the
// last move's tint (the squares' own texture) and the hint's blue panes.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CMap;

class CBoardArrow {
public:
  CBoardArrow() = default;
  ~CBoardArrow() = default;
  CBoardArrow(const CBoardArrow &) = delete;
  CBoardArrow &operator=(const CBoardArrow &) = delete;

  // Lays the arrow from one square to another; an earlier arrow goes first.
  // Nothing is drawn for a square off the board.
  void Show(CMap &map, const BoardSquare &from, const BoardSquare &to);
  void Clear();
  bool IsShown() const { return node != nullptr; }
  const BoardSquare &From() const { return from; }
  const BoardSquare &To() const { return to; }
  irr::scene::IMeshSceneNode *GetNode() const { return node; }

  // The arrow's colour, alpha included.
  static const irr::video::SColor COLOR;

private:
  irr::scene::IMeshSceneNode *node = nullptr;
  BoardSquare from, to;
};
