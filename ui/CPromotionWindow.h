// The small window in which the human chooses the piece a pawn becomes on
// the last rank: queen, rook, bishop or knight, the queen preselected. Each
// choice is a button with the piece of the player's set drawn on it (where
// the driver can render pictures) and its name beneath.
#pragma once

#include <irrlicht.h>

class CPromotionWindow {
public:
  // Opens the window in the middle of the screen with the queen chosen,
  // showing the pieces of the color; a window already open stays as it is.
  void Open(irr::s32 color);
  void Close();
  bool IsOpen() const { return window != nullptr; }
  // The piece kind now chosen (Queen, Rook, Bishop or Knight).
  irr::s32 GetChoice() const { return choice; }
  // Moves the choice one place along the row (step -1 or +1), wrapping.
  void Step(int step);
  // The piece kind of a choice button's id; false for any other id.
  static bool KindOfButton(irr::s32 id, irr::s32 &kind);
  irr::gui::IGUIWindow *GetWindow() const { return window; }

private:
  void ShowChoice();

  irr::gui::IGUIWindow *window = nullptr;
  irr::gui::IGUIButton *buttons[4] = {nullptr, nullptr, nullptr, nullptr};
  irr::gui::IGUIStaticText *names[4] = {nullptr, nullptr, nullptr, nullptr};
  irr::s32 choice = 0;
};
