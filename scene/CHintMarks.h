// The tint that shows a suggested move on the board: its from and to squares
// glow in a colour of their own, apart from the selection's highlight.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CMap;

class CHintMarks {
public:
  // Tints the two squares of the board; any earlier tint goes first.
  void Show(CMap &map, const BoardSquare &from, const BoardSquare &to);
  // Takes the tint off again.
  void Clear();
  bool IsShown() const { return count > 0; }
  // The squares tinted now (for tests and the log).
  const BoardSquare *Squares() const { return squares; }
  int Count() const { return count; }

  // The colour the tinted squares glow with.
  static const irr::video::SColor TINT;

private:
  irr::scene::ISceneNode *nodes[2] = {nullptr, nullptr};
  irr::video::SColor saved[2];
  BoardSquare squares[2];
  int count = 0;
};
