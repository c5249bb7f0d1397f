#include "ui/CGuiLayout.h"

#include <cstdlib>

using namespace irr;

namespace {

const s32 CAMERA_BUTTON_SIZE = 33;
const s32 CAMERA_BUTTON_STEP = 38; // 33 pixels of button, 5 of gap
const s32 SCREEN_MARGIN = 5;

const s32 STATUS_GAP = 10;
const s32 STATUS_WIDTH = 300;

const s32 MOVES_WIDTH = 140; // a move pair in standard notation: "12. Nxe4+ Qxe4#"
const s32 MOVES_TOP = 25;    // just under the menu bar
const s32 MOVES_HEIGHT = 200;

const s32 HELP_MARGIN_Y = 50;

const s32 COLOR_WINDOW_HALF_WIDTH = 100;
const s32 COLOR_WINDOW_ABOVE = 50; // its top, above the middle of the screen
const s32 COLOR_WINDOW_BELOW = 90; // its bottom, below the middle

// How far off the middle a box may be and still count as centred: halves of
// odd sizes are truncated one way or the other.
const s32 CENTRE_TOLERANCE = 2;

} // namespace

CGuiLayout::Rect CGuiLayout::CameraButton(const Size &screen, int i) {
  const s32 bottom = screen.Height - SCREEN_MARGIN;
  const s32 left = SCREEN_MARGIN + i * CAMERA_BUTTON_STEP;
  return Rect(left, bottom - CAMERA_BUTTON_SIZE, left + CAMERA_BUTTON_SIZE, bottom);
}

CGuiLayout::Rect CGuiLayout::StatusLine(const Size &screen) {
  Rect r = CameraButton(screen, CAMERA_BUTTON_COUNT - 1);
  r.UpperLeftCorner.X = r.LowerRightCorner.X + STATUS_GAP;
  r.LowerRightCorner.X = r.UpperLeftCorner.X + STATUS_WIDTH;
  return r;
}

CGuiLayout::Rect CGuiLayout::MovesWindow(const Size &screen) {
  const s32 right = screen.Width - SCREEN_MARGIN;
  return Rect(right - MOVES_WIDTH, MOVES_TOP, right, MOVES_TOP + MOVES_HEIGHT);
}

CGuiLayout::Rect CGuiLayout::HelpWindow(const Size &screen) {
  return Rect(s32(screen.Width * 0.25f), HELP_MARGIN_Y, s32(screen.Width * 0.75f), screen.Height - HELP_MARGIN_Y);
}

CGuiLayout::Rect CGuiLayout::ColorWindow(const Size &screen) {
  const s32 cx = screen.Width / 2, cy = screen.Height / 2;
  return Rect(cx - COLOR_WINDOW_HALF_WIDTH, cy - COLOR_WINDOW_ABOVE, cx + COLOR_WINDOW_HALF_WIDTH,
              cy + COLOR_WINDOW_BELOW);
}

CGuiLayout::Rect CGuiLayout::CenteredAcross(const Size &screen, const Rect &box) {
  const s32 left = screen.Width / 2 - box.getWidth() / 2;
  return Rect(left, box.UpperLeftCorner.Y, left + box.getWidth(), box.LowerRightCorner.Y);
}

core::position2d<s32> CGuiLayout::SplashCorner(const Size &screen, const Size &image) {
  return core::position2d<s32>(screen.Width / 2 - image.Width / 2, screen.Height / 2 - image.Height / 2);
}

CGuiLayout::Rect CGuiLayout::KeepCentred(const Size &oldScreen, const Size &newScreen, const Rect &box) {
  const core::position2d<s32> centre = box.getCenter();
  Rect r = box;
  if (std::abs(centre.X - oldScreen.Width / 2) <= CENTRE_TOLERANCE)
    r += core::position2d<s32>(newScreen.Width / 2 - oldScreen.Width / 2, 0);
  if (std::abs(centre.Y - oldScreen.Height / 2) <= CENTRE_TOLERANCE)
    r += core::position2d<s32>(0, newScreen.Height / 2 - oldScreen.Height / 2);
  return r;
}

bool CGuiLayout::IsFreeFloating(gui::EGUI_ELEMENT_TYPE type) {
  return type != gui::EGUIET_MENU && type != gui::EGUIET_CONTEXT_MENU && type != gui::EGUIET_MODAL_SCREEN;
}
