// Moves typed instead of clicked: a move box in the bottom right corner during a game
// (Tab goes in, Tab or Escape leaves, Enter plays what is typed), read by the
// chess core in standard notation or UCI. A refused text is logged and said on
// the status line; the board never changes for it.
#pragma once

#include <irrlicht.h>

#include <string>

class CTypedMoves {
public:
  bool Init() { return true; }
  // Shows the box while a game runs and hides it otherwise.
  void Update();
  void Exit() { box = nullptr; }

  // Reads and plays a typed move; logs and tells the player what came of it.
  // True when a move was played.
  bool Submit(const std::string &text);
  // Tab, and Escape while the box has the focus; true when the key was the box's.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  // Enter in the box.
  bool OnGuiEvent(const irr::SEvent::SGUIEvent &event);

  irr::gui::IGUIEditBox *GetBox() const { return box; }
  bool HasFocus() const;

private:
  // Creates the box once the interface is there.
  void CreateBox();

  irr::gui::IGUIEditBox *box = nullptr;
  irr::core::dimension2d<irr::s32> placedFor{0, 0};
};
