// The always-present pieces the game flow drives: camera buttons, status line,
// banner, colour selection, splash, and the pointer test for mouse presses.
#include "ui/CGui.h"

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <string>

using namespace irr;

namespace {

struct CameraButtonDef {
  s32 id;
  const char *image;
};

// Left to right along the bottom-left corner.
const CameraButtonDef CAMERA_BUTTONS[4] = {
    {ID_CAM_WHITE_TOP, "./media/cam_w_top.bmp"},
    {ID_CAM_WHITE_SIDE, "./media/cam_w_side.bmp"},
    {ID_CAM_BLACK_TOP, "./media/cam_b_top.bmp"},
    {ID_CAM_BLACK_SIDE, "./media/cam_b_side.bmp"},
};
// The status line's text sits on a dark translucent band, so that it reads
// against the bright sky as well as the dark board (a contrast of 6:1 or
// more whatever lies behind); the text keeps its yellowish tint.
const video::SColor STATUS_COLOR(255, 230, 230, 90);
const video::SColor STATUS_BAND_COLOR(180, 0, 0, 0);
const s32 STATUS_PADDING = 6; // between the band's left edge and the text

const char *const SPLASH_FILE = "./media/init_screen.bmp";

// Places the band at the status line and makes it, with the text inside,
// wide enough for text (a long notice), up to the window's right edge or,
// while the move box is there, up to the box.
void FitStatusBand(gui::IGUIStaticText *band, gui::IGUIStaticText *inside, const wchar_t *text, bool moveBoxShown) {
  core::rect<s32> r = CGuiLayout::StatusLine(app.windowSize, UiScale());
  if (gui::IGUIFont *font = inside->getActiveFont()) {
    const s32 needed = r.UpperLeftCorner.X + s32(font->getDimension(text).Width) + 2 * Px(STATUS_PADDING);
    const s32 limit = moveBoxShown ? CGuiLayout::StatusLineLimit(app.windowSize, UiScale())
                                   : app.windowSize.Width - Px(STATUS_PADDING);
    r.LowerRightCorner.X = core::max_(r.LowerRightCorner.X, core::min_(needed, limit));
  }
  band->setRelativePosition(r);
  inside->setRelativePosition(core::rect<s32>(Px(STATUS_PADDING), 0, r.getWidth(), r.getHeight()));
}

// Inclusive on all four edges: a press on a button's last pixel row counts.
bool Contains(const core::rect<s32> &r, const core::position2d<s32> &p) {
  return r.UpperLeftCorner.X <= p.X && p.X <= r.LowerRightCorner.X && r.UpperLeftCorner.Y <= p.Y &&
         p.Y <= r.LowerRightCorner.Y;
}

} // namespace

bool CGui::CreateCameraButtons() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  for (int i = 0; i < 4; ++i) {
    cameraButtons[i] = env->addButton(CGuiLayout::CameraButton(app.windowSize, scale, i), env->getRootGUIElement(),
                                      CAMERA_BUTTONS[i].id, L"");
    cameraButtons[i]->setScaleImage(true); // the picture grows with the button
    video::ITexture *image = app.driver->getTexture(CAMERA_BUTTONS[i].image);
    if (!image)
      return false;
    cameraButtons[i]->setImage(image);
  }
  return true;
}

bool CGui::IsPointerOverGui() const {
  // The help window stands for the whole screen: no press reaches the board.
  if (helpWindow)
    return true;
  const core::position2d<s32> p = app.device->getCursorControl()->getPosition();
  for (gui::IGUIButton *button : cameraButtons)
    if (button && Contains(button->getAbsolutePosition(), p))
      return true;
  if (movesWindow && Contains(movesWindow->getAbsolutePosition(), p))
    return true;
  if (colorWindow && Contains(colorWindow->getAbsolutePosition(), p))
    return true;
  // Any other element under the pointer takes the press too: the menu bar
  // and its open menus, the debug window, and a message box, whose modal
  // screen covers everything. Otherwise the press on a box's OK button would
  // also select or move the piece beneath it. The status line and the banner
  // only show text and leave the board below them usable.
  gui::IGUIElement *root = app.guiEnvironment->getRootGUIElement();
  gui::IGUIElement *under = root->getElementFromPoint(p);
  return under && under != root && under != statusText && under != statusExtras && under != statusBand &&
         under != bannerText;
}

void CGui::SetStatusText(core::stringw text) {
  statusBase = text;
  if (noticeShown)
    return; // shown when the notice ends
  if (!statusText) {
    // Beside the last camera button, with its top and bottom: the band, and
    // the text inside it, centred from top to bottom.
    gui::IGUIEnvironment *env = app.guiEnvironment;
    const core::rect<s32> r = CGuiLayout::StatusLine(app.windowSize, scale);
    statusBand = env->addStaticText(L"", r, false /*border*/, false /*word wrap*/, env->getRootGUIElement(), -1,
                                    true /*fill background*/);
    statusBand->setBackgroundColor(STATUS_BAND_COLOR);
    const core::rect<s32> inside(Px(STATUS_PADDING), 0, r.getWidth(), r.getHeight());
    statusText = env->addStaticText(L"", inside, false /*border*/, false /*word wrap*/, statusBand, -1,
                                    false /*fill background*/);
    statusText->setOverrideColor(STATUS_COLOR);
    statusText->setTextAlignment(gui::EGUIA_UPPERLEFT, gui::EGUIA_CENTER);
    // The opening and the clock follow the text in an element of their own,
    // so that what the line says stays what it says.
    statusExtras = env->addStaticText(L"", inside, false /*border*/, false /*word wrap*/, statusBand, -1,
                                      false /*fill background*/);
    statusExtras->setOverrideColor(STATUS_COLOR);
    statusExtras->setTextAlignment(gui::EGUIA_UPPERLEFT, gui::EGUIA_CENTER);
  }
  statusLine = text;
  const wchar_t *const GAP = L"      ";
  core::stringw extras;
  for (const core::stringw *extra : {&statusOpening, &statusClock})
    if (!extra->empty()) {
      if (!extras.empty())
        extras += GAP;
      extras += *extra;
    }
  core::stringw shown = text;
  if (!extras.empty()) {
    shown += GAP;
    shown += extras;
  }
  statusText->setText(text.c_str());
  FitStatusBand(statusBand, statusText, shown.c_str(), moveBoxShown);
  const core::rect<s32> inside = statusText->getRelativePosition();
  gui::IGUIFont *font = statusText->getActiveFont();
  const s32 left = font ? Px(STATUS_PADDING) + s32(font->getDimension((text + GAP).c_str()).Width) : inside.getWidth();
  statusExtras->setRelativePosition(
      core::rect<s32>(left, inside.UpperLeftCorner.Y, inside.LowerRightCorner.X, inside.LowerRightCorner.Y));
  statusExtras->setText(extras.c_str());
}

void CGui::SetStatusClock(const std::string &faces) { SetStatusExtra(statusClock, faces); }

void CGui::SetStatusOpening(const std::string &name) { SetStatusExtra(statusOpening, name); }

void CGui::SetStatusExtra(core::stringw &extra, const std::string &text) {
  const core::stringw wide = GuiText(text);
  if (wide == extra)
    return;
  extra = wide;
  RefreshStatusLine();
}

void CGui::SetMoveBoxShown(bool shown) {
  if (shown == moveBoxShown)
    return;
  moveBoxShown = shown;
  RefreshStatusLine();
}

void CGui::RefreshStatusLine() {
  if (!statusText)
    return;
  // What the line says stays, a notice included.
  const core::stringw base = statusBase;
  const bool notice = noticeShown;
  noticeShown = false;
  SetStatusText(statusLine);
  statusBase = base;
  noticeShown = notice;
}

void CGui::ShowStatusNotice(const wchar_t *text, u32 durationMs) {
  // A notice tells of something that happened (the engine restarted): the
  // log keeps it, since it leaves the screen after a few seconds.
  LogMessage("status line: " + Utf8(text));
  const core::stringw base = statusBase;
  noticeShown = false;
  SetStatusText(text);
  statusBase = base;
  noticeShown = true;
  noticeUntil = platform::GetTickCount() + durationMs;
}

void CGui::OnGameStateChanged(s32 state) {
  if (state != Idle && state != LocalGame)
    return;
  const bool running = state == LocalGame;
  gui::IGUIContextMenu *localGame = menuBar->getSubMenu(MENU_LOCAL_GAME);
  localGame->setItemEnabled(ITEM_START, !running);
  localGame->setItemEnabled(ITEM_ABORT, running);
  SetStatusText(TrW(running ? platform::NoTr("Game Status: Local Game Running") : platform::NoTr("Game Status: Idle")));
}

void CGui::ShowBanner(const core::rect<s32> &rect, const wchar_t *text, video::SColor color) {
  if (!bannerText) {
    // Rectangle, colour and font are fixed here; later calls change the text.
    gui::IGUIEnvironment *env = app.guiEnvironment;
    bannerText = env->addStaticText(L"", rect, false /*border*/, false /*word wrap*/, env->getRootGUIElement(), -1,
                                    false /*fill background*/);
    bannerText->setOverrideColor(color);
    bannerText->setOverrideFont(largeFont);
    // Under the banner, centred: the way from the game's end to its review.
    bannerButton = env->addButton(core::rect<s32>(), env->getRootGUIElement(), ID_BANNER_REVIEW, TrW("Review").c_str());
    bannerHome = rect;
  }
  if (text)
    bannerText->setText(text);
  PlaceBanner();
}

void CGui::PlaceBanner() {
  if (!bannerText)
    return;
  core::rect<s32> rect = bannerHome;
  // An open moves window keeps its place at the right edge: a banner whose
  // lines would run into it goes under it.
  if (movesWindow && largeFont) {
    const s32 inkWidth = s32(largeFont->getDimension(bannerText->getText()).Width);
    const s32 middle = rect.getCenter().X;
    const core::rect<s32> ink(middle - inkWidth / 2, rect.UpperLeftCorner.Y, middle + inkWidth - inkWidth / 2,
                              rect.LowerRightCorner.Y);
    const core::rect<s32> moves = movesWindow->getRelativePosition();
    if (ink.isRectCollided(moves))
      rect += core::position2d<s32>(0, moves.LowerRightCorner.Y + Px(10) - rect.UpperLeftCorner.Y);
  }
  bannerText->setRelativePosition(rect);
  bannerButton->setRelativePosition(CGuiLayout::BannerButton(rect, UiScale()));
  if (bannerNote)
    bannerNote->setRelativePosition(CGuiLayout::BannerNote(rect, UiScale()));
  bannerRoom = CGuiLayout::BannerRoom(rect, UiScale());
  if (bannerText->isVisible())
    app.cameraRig.SetTopRoom(bannerRoom);
}

void CGui::SetBannerVisible(bool visible) {
  // While it shows, the fixed views frame the set in the window below it.
  app.cameraRig.SetTopRoom(visible && bannerText ? bannerRoom : 0);
  if (bannerText)
    bannerText->setVisible(visible);
  if (bannerButton)
    bannerButton->setVisible(visible);
  if (bannerNote)
    bannerNote->setVisible(visible && bannerNote->getText()[0] != 0);
}

void CGui::ShowBannerNote(const wchar_t *text) {
  if (!bannerButton)
    return; // no banner was shown
  if (!bannerNote) {
    bannerNote = app.guiEnvironment->addStaticText(L"", core::rect<s32>(), false, false,
                                                   app.guiEnvironment->getRootGUIElement(), -1, true);
    PlaceBanner();
    bannerNote->setTextAlignment(gui::EGUIA_CENTER, gui::EGUIA_CENTER);
    bannerNote->setBackgroundColor(video::SColor(200, 255, 255, 255));
  }
  bannerNote->setText(text);
  bannerNote->setVisible(bannerButton->isVisible());
}

void CGui::ResetGameDisplay() {
  RefreshMovesWindow();
  if (bannerNote)
    bannerNote->setText(L""); // the note belongs to the game that ended
  SetBannerVisible(false);
}

void CGui::ShowColorWindow() {
  if (colorWindow)
    return;
  gui::IGUIEnvironment *env = app.guiEnvironment;
  colorWindow = env->addWindow(CGuiLayout::ColorWindow(app.windowSize, scale), false /*modal*/,
                               TrW("Select your color...").c_str(), nullptr, -1);
  gui::IGUIButton *white =
      env->addButton(Px(core::rect<s32>(10, 30, 90, 80)), colorWindow, ID_BUTTON_WHITE, TrW("WHITE").c_str());
  env->addButton(Px(core::rect<s32>(110, 30, 190, 80)), colorWindow, ID_BUTTON_BLACK, TrW("BLACK").c_str());
  env->addButton(Px(core::rect<s32>(10, 90, 190, 130)), colorWindow, ID_BUTTON_TWO_PLAYERS, TrW("TWO PLAYERS").c_str());
  // Only a colour choice closes the window.
  colorWindow->getCloseButton()->setVisible(false);
  // Enter or Space takes White, Tab goes to the other choices.
  env->setFocus(white);
}

void CGui::CloseColorWindow() {
  if (!colorWindow)
    return;
  // The clicked button holds the focus; a focus left on a button cut off from
  // its window would still be sent every key press.
  ReleaseFocusWithin(app.guiEnvironment, colorWindow);
  colorWindow->getParent()->removeChild(colorWindow);
  colorWindow = nullptr;
}

void CGui::ShowSplash(bool show) { splashTexture = show ? app.driver->getTexture(SPLASH_FILE) : nullptr; }
