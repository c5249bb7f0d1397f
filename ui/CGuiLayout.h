// Where each piece of the interface goes for a given window size: the camera
// buttons and the status line along the bottom-left edge, the moves window
// at the right edge under the menu bar, the help window, dialogs and the
// banner centred. At 1024 x 768 every rectangle is the one the interface has
// always had. Rectangles are (left, top, right, bottom) in window pixels.
#pragma once

#include <irrlicht.h>

class CGuiLayout {
public:
  using Rect = irr::core::rect<irr::s32>;
  using Size = irr::core::dimension2d<irr::s32>;

  static constexpr int CAMERA_BUTTON_COUNT = 4;

  // Camera button i (0..3), left to right.
  static Rect CameraButton(const Size &screen, int i);
  // The status line, right of the last camera button.
  static Rect StatusLine(const Size &screen);
  // The moves history window: a narrow column at the top-right corner.
  static Rect MovesWindow(const Size &screen);
  // The help window: the middle half of the screen, clear of top and bottom.
  static Rect HelpWindow(const Size &screen);
  // The colour choice: 200 pixels wide, its title and colour buttons just
  // above the middle of the screen, the two-player choice below them.
  static Rect ColorWindow(const Size &screen);
  // The same box moved sideways so that it stays centred, its top kept.
  static Rect CenteredAcross(const Size &screen, const Rect &box);
  // The box moved so that, on each axis on which it was centred in the old
  // screen (within a pixel or two), it is centred in the new one.
  static Rect KeepCentred(const Size &oldScreen, const Size &newScreen, const Rect &box);
  // Whether elements of the type are placed by KeepCentred on a resize:
  // everything but menus, which size themselves, and the modal screens,
  // which cover their parent.
  static bool IsFreeFloating(irr::gui::EGUI_ELEMENT_TYPE type);
  // Top-left corner of the splash image of the given size: centred, which
  // puts the 512 x 128 picture at (256, 320) on a 1024 x 768 window.
  static irr::core::position2d<irr::s32> SplashCorner(const Size &screen, const Size &image);
};
