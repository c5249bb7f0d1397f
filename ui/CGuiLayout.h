// Where each piece of the interface goes for a given window size: the camera
// buttons and the status line along the bottom-left edge, the moves window
// at the right edge under the menu bar, the help window, dialogs and the
// banner centred. At 1024 x 768 every rectangle is the one the interface has
// always had, but the banner's: it stands right under the menu bar, so that
// the set framed below it is drawn as large as it can be. Rectangles are
// (left, top, right, bottom) in window pixels; every size in them is a design
// size times the interface's scale.
#pragma once

#include <irrlicht.h>

class CGuiLayout {
public:
  using Rect = irr::core::rect<irr::s32>;
  using Size = irr::core::dimension2d<irr::s32>;

  static constexpr int CAMERA_BUTTON_COUNT = 4;

  // The scales the interface is drawn at; each has its own set of fonts.
  static constexpr int SCALE_COUNT = 3;
  static constexpr float SCALES[SCALE_COUNT] = {1.f, 1.5f, 2.f};
  // The smallest window the interface fits at scale 1; a scale s needs s
  // times its width and height.
  static constexpr irr::s32 FIT_WIDTH = 800;
  static constexpr irr::s32 FIT_HEIGHT = 600;

  // The scale for a window of this size. setting is 0 for automatic: 1 up
  // to 1600 x 1000, 1.5 from there, 2 from 2560 x 1440. Any other setting
  // is one of SCALES and holds unless the window is too small for it; then
  // the largest scale that fits holds.
  static float ChooseScale(const Size &screen, float setting);
  // The largest of SCALES whose interface fits the window (at least 1).
  static float LargestFittingScale(const Size &screen);

  // Camera button i (0..3), left to right.
  static Rect CameraButton(const Size &screen, float scale, int i);
  // The status line, right of the last camera button.
  static Rect StatusLine(const Size &screen, float scale);
  // How far right a long status line may reach: short of the move box.
  static irr::s32 StatusLineLimit(const Size &screen, float scale);
  // The box for typed moves, in the bottom-right corner.
  static Rect MoveBox(const Size &screen, float scale);
  // The moves history window: a narrow column at the top-right corner.
  static Rect MovesWindow(const Size &screen, float scale);
  // The help window: the middle half of the screen, clear of top and bottom.
  static Rect HelpWindow(const Size &screen, float scale);
  // The colour choice: 200 pixels wide at scale 1, its title and colour
  // buttons just above the middle of the screen, the two-player choice below.
  static Rect ColorWindow(const Size &screen, float scale);
  // The game-over banner: across the window under the menu bar, two lines
  // of the large font.
  static Rect Banner(const Size &screen, float scale);
  // Under a banner placed at banner: its Review button, centred, and under
  // that the line of its note.
  static Rect BannerButton(const Rect &banner, float scale);
  static Rect BannerNote(const Rect &banner, float scale);
  // How far down the window a banner placed there takes, with its button and
  // note and a gap: the set is framed below it while the banner shows.
  static irr::s32 BannerRoom(const Rect &banner, float scale);
  // The same box moved sideways so that it stays centred, its top kept.
  static Rect CenteredAcross(const Size &screen, const Rect &box);
  // The box moved so that, on each axis on which it was centred in the old
  // screen (within a pixel or two), it is centred in the new one.
  static Rect KeepCentred(const Size &oldScreen, const Size &newScreen, const Rect &box);
  // The box at ratio times its size in the new screen: centred on each axis
  // on which it was centred in the old one, else at ratio times its distance
  // from the nearer edge, and moved inside the screen where it fits (to the
  // top-left corner where it does not).
  static Rect Rescaled(const Size &oldScreen, const Size &newScreen, const Rect &box, float ratio);
  // Whether elements of the type are placed by KeepCentred on a resize:
  // everything but menus, which size themselves, and the modal screens,
  // which cover their parent.
  static bool IsFreeFloating(irr::gui::EGUI_ELEMENT_TYPE type);
  // Top-left corner of the splash image of the given size: centred, which
  // puts the 512 x 128 picture at (256, 320) on a 1024 x 768 window.
  static irr::core::position2d<irr::s32> SplashCorner(const Size &screen, const Size &image);
};
