// The game window as a window: resizable down to a minimum size, F11 full
// screen, and what follows a new size (the record's windowSize, the camera's
// aspect ratio, the interface's layout, a fresh frame).
#pragma once

#include "platform/Window.h"

#include <irrlicht.h>

class CWindowControl {
public:
  static constexpr irr::s32 MIN_WIDTH = 800;
  static constexpr irr::s32 MIN_HEIGHT = 600;

  // Makes the window resizable with its minimum size; true also without a
  // window (the null driver), where there is nothing to do.
  bool Init();
  // Follows a new window size; called once per pass, before the other updates.
  void Update();
  void Exit() {}

  // Takes the window system's notices that the picture was lost; true if the
  // window must be drawn again. Called before the device reads its events,
  // which would drop them.
  bool TakeExposeEvents();

  // Asks for full screen, or to leave it; F11 calls this.
  void ToggleFullScreen();
  bool IsFullScreen() const { return fullScreen; }

private:
  platform::NativeWindow native;
  bool fullScreen = false;
};
