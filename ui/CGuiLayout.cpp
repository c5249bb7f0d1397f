#include "ui/CGuiLayout.h"

#include "ui/UiScale.h"

#include <algorithm>
#include <cmath>
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

const s32 MOVE_BOX_WIDTH = 180;
const s32 MOVE_BOX_HEIGHT = 24;
const s32 MOVE_BOX_MARGIN = 10; // from the window's right and bottom edges

const s32 BANNER_TOP = 24;         // just under the menu bar
const s32 BANNER_LINE_HEIGHT = 55; // the large font's lines, with a little room
const s32 BANNER_MARGIN = 20;
const s32 BANNER_GAP = 6; // between the text, the button, the note and the set
const s32 BANNER_BUTTON_WIDTH = 100, BANNER_BUTTON_HEIGHT = 28;
const s32 BANNER_NOTE_HALF_WIDTH = 200, BANNER_NOTE_HEIGHT = 22;

// From 1600 x 1000 the interface is drawn at 1.5, from 2560 x 1440 at 2.
const CGuiLayout::Size AUTO_SIZES[CGuiLayout::SCALE_COUNT] = {{0, 0}, {1600, 1000}, {2560, 1440}};

// How far off the middle a box may be and still count as centred: halves of
// odd sizes are truncated one way or the other.
const s32 CENTRE_TOLERANCE = 2;

} // namespace

float CGuiLayout::LargestFittingScale(const Size &screen) {
  float fitting = SCALES[0];
  for (float scale : SCALES)
    if (screen.Width >= Px(FIT_WIDTH, scale) && screen.Height >= Px(FIT_HEIGHT, scale))
      fitting = scale;
  return fitting;
}

float CGuiLayout::ChooseScale(const Size &screen, float setting) {
  float chosen = SCALES[0];
  if (setting > 0.f)
    chosen = setting;
  else
    for (int i = 0; i < SCALE_COUNT; ++i)
      if (screen.Width >= AUTO_SIZES[i].Width && screen.Height >= AUTO_SIZES[i].Height)
        chosen = SCALES[i];
  return chosen < LargestFittingScale(screen) ? chosen : LargestFittingScale(screen);
}

CGuiLayout::Rect CGuiLayout::CameraButton(const Size &screen, float scale, int i) {
  const s32 bottom = screen.Height - Px(SCREEN_MARGIN, scale);
  const s32 left = Px(SCREEN_MARGIN + i * CAMERA_BUTTON_STEP, scale);
  return Rect(left, bottom - Px(CAMERA_BUTTON_SIZE, scale), left + Px(CAMERA_BUTTON_SIZE, scale), bottom);
}

CGuiLayout::Rect CGuiLayout::StatusLine(const Size &screen, float scale) {
  Rect r = CameraButton(screen, scale, CAMERA_BUTTON_COUNT - 1);
  r.UpperLeftCorner.X = r.LowerRightCorner.X + Px(STATUS_GAP, scale);
  r.LowerRightCorner.X = r.UpperLeftCorner.X + Px(STATUS_WIDTH, scale);
  return r;
}

s32 CGuiLayout::StatusLineLimit(const Size &screen, float scale) {
  return MoveBox(screen, scale).UpperLeftCorner.X - Px(STATUS_GAP, scale);
}

CGuiLayout::Rect CGuiLayout::MoveBox(const Size &screen, float scale) {
  const s32 right = screen.Width - Px(MOVE_BOX_MARGIN, scale), bottom = screen.Height - Px(MOVE_BOX_MARGIN, scale);
  return Rect(right - Px(MOVE_BOX_WIDTH, scale), bottom - Px(MOVE_BOX_HEIGHT, scale), right, bottom);
}

CGuiLayout::Rect CGuiLayout::MovesWindow(const Size &screen, float scale) {
  const s32 right = screen.Width - Px(SCREEN_MARGIN, scale);
  return Rect(right - Px(MOVES_WIDTH, scale), Px(MOVES_TOP, scale), right, Px(MOVES_TOP + MOVES_HEIGHT, scale));
}

CGuiLayout::Rect CGuiLayout::HelpWindow(const Size &screen, float scale) {
  return Rect(s32(screen.Width * 0.25f), Px(HELP_MARGIN_Y, scale), s32(screen.Width * 0.75f),
              screen.Height - Px(HELP_MARGIN_Y, scale));
}

CGuiLayout::Rect CGuiLayout::ColorWindow(const Size &screen, float scale) {
  const s32 cx = screen.Width / 2, cy = screen.Height / 2;
  return Rect(cx - Px(COLOR_WINDOW_HALF_WIDTH, scale), cy - Px(COLOR_WINDOW_ABOVE, scale),
              cx + Px(COLOR_WINDOW_HALF_WIDTH, scale), cy + Px(COLOR_WINDOW_BELOW, scale));
}

CGuiLayout::Rect CGuiLayout::Banner(const Size &screen, float scale) {
  return Rect(Px(BANNER_MARGIN, scale), Px(BANNER_TOP, scale), screen.Width - Px(BANNER_MARGIN, scale),
              Px(BANNER_TOP + 2 * BANNER_LINE_HEIGHT, scale));
}

CGuiLayout::Rect CGuiLayout::BannerButton(const Rect &banner, float scale) {
  const s32 middle = banner.getCenter().X, top = banner.LowerRightCorner.Y + Px(BANNER_GAP, scale);
  return Rect(middle - Px(BANNER_BUTTON_WIDTH, scale) / 2, top, middle + Px(BANNER_BUTTON_WIDTH, scale) / 2,
              top + Px(BANNER_BUTTON_HEIGHT, scale));
}

CGuiLayout::Rect CGuiLayout::BannerNote(const Rect &banner, float scale) {
  const s32 middle = banner.getCenter().X;
  const s32 top = BannerButton(banner, scale).LowerRightCorner.Y + Px(BANNER_GAP, scale);
  return Rect(middle - Px(BANNER_NOTE_HALF_WIDTH, scale), top, middle + Px(BANNER_NOTE_HALF_WIDTH, scale),
              top + Px(BANNER_NOTE_HEIGHT, scale));
}

s32 CGuiLayout::BannerRoom(const Rect &banner, float scale) {
  return BannerNote(banner, scale).LowerRightCorner.Y + Px(BANNER_GAP, scale);
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

CGuiLayout::Rect CGuiLayout::Rescaled(const Size &oldScreen, const Size &newScreen, const Rect &box, float ratio) {
  // One axis: where the box of the new length starts.
  const auto place = [ratio](s32 oldStart, s32 oldLength, s32 oldRoom, s32 newLength, s32 newRoom) {
    const s32 before = oldStart, after = oldRoom - oldStart - oldLength;
    s32 start;
    if (std::abs(before - after) <= 2 * CENTRE_TOLERANCE)
      start = newRoom / 2 - newLength / 2;
    else if (before < after)
      start = Px(before, ratio);
    else
      start = newRoom - Px(after, ratio) - newLength;
    return std::max(0, std::min(start, newRoom - newLength));
  };
  const s32 width = Px(box.getWidth(), ratio), height = Px(box.getHeight(), ratio);
  const s32 left = place(box.UpperLeftCorner.X, box.getWidth(), oldScreen.Width, width, newScreen.Width);
  const s32 top = place(box.UpperLeftCorner.Y, box.getHeight(), oldScreen.Height, height, newScreen.Height);
  return Rect(left, top, left + width, top + height);
}

bool CGuiLayout::IsFreeFloating(gui::EGUI_ELEMENT_TYPE type) {
  return type != gui::EGUIET_MENU && type != gui::EGUIET_CONTEXT_MENU && type != gui::EGUIET_MODAL_SCREEN;
}
