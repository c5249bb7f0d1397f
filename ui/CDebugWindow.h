// The "Debug Data" window: live values of the program, rebuilt every frame
// while it is open.
#pragma once

#include <irrlicht.h>

class CDebugWindow {
public:
  bool Init() { return true; }
  void Update();
  void Exit() {}
  void Toggle();
  bool IsOpen() const { return window != nullptr; }
  irr::gui::IGUIWindow *GetWindow() const { return window; }
  irr::gui::IGUIStaticText *GetTextElement() const { return text; }

private:
  irr::gui::IGUIWindow *window = nullptr;
  irr::gui::IGUIStaticText *text = nullptr;
};
