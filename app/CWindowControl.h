// The game window as a window: resizable down to a minimum size, F11 full
// screen, and what follows a new size (the record's windowSize, the camera's
// aspect ratio, the interface's layout, a fresh frame). The size and the
// full-screen state are remembered in the settings for the next start.
#pragma once

#include "app/CSettings.h"
#include "platform/Window.h"

#include <irrlicht.h>

#include <string>

class CWindowControl {
public:
  static constexpr irr::s32 MIN_WIDTH = 800;
  static constexpr irr::s32 MIN_HEIGHT = 600;

  // The size the window opens at: the remembered one, never below the minimum.
  static irr::core::dimension2d<irr::s32> StartSize(const CSettings &settings);
  // Whether the OpenGL renderer of that name draws on the processor (Mesa's
  // llvmpipe, softpipe, swrast). Multisampling multiplies such a renderer's
  // work, halving the frame rate, so the window goes without it there.
  static bool IsSoftwareRenderer(const std::string &renderer);

  // Makes the window resizable with its minimum size, and full screen if it
  // was when the game last ended; true also without a window (the null
  // driver), where there is nothing to do.
  bool Init();
  // Follows a new window size; called once per pass, before the other updates.
  void Update();
  // Saves a changed size or full-screen state in the settings.
  void Exit();

  // Takes the window system's notices that the picture was lost; true if the
  // window must be drawn again. Called before the device reads its events,
  // which would drop them.
  bool TakeExposeEvents();

  // Asks for full screen, or to leave it; F11 calls this.
  void ToggleFullScreen();
  bool IsFullScreen() const { return fullScreen; }

private:
  void SetFullScreen(bool on);

  platform::NativeWindow native;
  bool fullScreen = false;
  irr::core::dimension2d<irr::s32> windowedSize; // the last size out of full screen
  bool changed = false;                          // size or full screen differ from what the game started with
};
