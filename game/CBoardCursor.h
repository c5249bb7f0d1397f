// Play without the mouse: a cursor on the board that the arrow keys move,
// seen from the player's side (Up is towards the opponent), and Space or
// Enter acting as a click on its square (select, move, or choose where a
// pawn promotes). It starts on e2 for White and on e7 for Black at each new
// game, and shows once a key is used; a mouse press hides it again.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

#include <cstdint>

class CBoardCursor {
public:
  bool Init() { return true; }
  // Puts the cursor back on its start square when a new game begins.
  void Update();
  void Exit();

  // The arrow keys, Space and Enter during a game, when no text is typed, no
  // review holds the board and no window takes the keys; true when the key
  // was the cursor's.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  // The mouse took over: the cursor hides until the next key.
  void Hide();

  const BoardSquare &GetSquare() const { return square; }
  bool IsShown() const { return pane != nullptr; }
  irr::scene::ISceneNode *GetPane() const { return pane; }

  // The pane's colour, alpha included.
  static const irr::video::SColor TINT;

private:
  void Show();

  BoardSquare square{4, 1};
  uint64_t gameSeen = 0;
  irr::scene::IMeshSceneNode *pane = nullptr;
};
