// Routes the device's input and GUI events to the game controller, the camera
// rig, the interface and the debug window.
#pragma once

#include <irrlicht.h>

class CEventReceiver : public irr::IEventReceiver {
public:
  ~CEventReceiver() override = default;

  bool Init() { return true; }
  void Update() {}
  void Exit() {}

  // True when the event is consumed and must go no further.
  bool OnEvent(const irr::SEvent &event) override;

  // 0 = left, 1 = right: whether that button is held down.
  bool GetMouseButton(int index) const;

private:
  bool OnKeyInput(const irr::SEvent::SKeyInput &key);
  static bool IsTypingText();
  bool OnGuiEvent(const irr::SEvent::SGUIEvent &gui);
  bool OnMenuCommand(irr::s32 command);
  bool OnButtonClicked(irr::s32 id);
  bool OnMouseInput(const irr::SEvent::SMouseInput &mouse);

  bool leftButtonDown = false;
  bool rightButtonDown = false;
};
