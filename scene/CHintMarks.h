// The tint that shows a suggested move on the board: a translucent blue pane
// lies on its from and to squares, apart from the selection's highlight.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

class CMap;

class CHintMarks {
public:
  CHintMarks() = default;
  ~CHintMarks() = default;
  CHintMarks(const CHintMarks &) = delete;
  CHintMarks &operator=(const CHintMarks &) = delete;

  // Tints the two squares of the board; any earlier tint goes first.
  void Show(CMap &map, const BoardSquare &from, const BoardSquare &to);
  // Takes the tint off again.
  void Clear();
  bool IsShown() const { return count > 0; }
  // The squares tinted now and the panes on them.
  const BoardSquare *Squares() const { return squares; }
  irr::scene::ISceneNode *Pane(int i) const { return i >= 0 && i < count ? panes[i] : nullptr; }
  int Count() const { return count; }

  // The panes' colour, alpha included.
  static const irr::video::SColor TINT;

private:
  irr::scene::ISceneNode *panes[2] = {nullptr, nullptr};
  BoardSquare squares[2];
  int count = 0;
};
