// Start-up, per-frame steps and shut-down of the interface, and its menu bar.
#include "ui/CGui.h"

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "ui/CConfigWindow.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace irr;

namespace {

// The fonts of each scale in CGuiLayout::SCALES: the interface's and the banner's.
const char *const SMALL_FONT_FILES[CGuiLayout::SCALE_COUNT] = {
    "./media/Chess_Arial_12.bmp", "./media/Chess_Arial_18.bmp", "./media/Chess_Arial_24.bmp"};
const char *const LARGE_FONT_FILES[CGuiLayout::SCALE_COUNT] = {
    "./media/Chess_Arial_48.bmp", "./media/Chess_Arial_72.bmp", "./media/Chess_Arial_96.bmp"};

int ScaleIndex(float scale) {
  for (int i = 0; i < CGuiLayout::SCALE_COUNT; ++i)
    if (CGuiLayout::SCALES[i] == scale)
      return i;
  return 0;
}

// Makes one skin colour fully opaque, keeping red, green and blue.
void MakeOpaque(gui::IGUISkin *skin, gui::EGUI_DEFAULT_COLOR which) {
  video::SColor color = skin->getColor(which);
  color.setAlpha(255);
  skin->setColor(which, color);
}

// Puts e at place and every element inside it, its own parts too, at ratio
// times its size and its place in its parent. The new places are all taken
// before any moves: a parent's new size moves the children that keep to its
// right or bottom edge.
void PlaceScaled(gui::IGUIElement *e, const core::rect<s32> &place, float ratio) {
  std::vector<std::pair<gui::IGUIElement *, core::rect<s32>>> places{{e, place}};
  for (size_t i = 0; i < places.size(); ++i) // parents before their children
    for (gui::IGUIElement *child : places[i].first->getChildren()) {
      const core::rect<s32> r = child->getRelativePosition();
      places.emplace_back(child, core::rect<s32>(Px(r.UpperLeftCorner.X, ratio), Px(r.UpperLeftCorner.Y, ratio),
                                                 Px(r.LowerRightCorner.X, ratio), Px(r.LowerRightCorner.Y, ratio)));
    }
  for (const auto &p : places)
    p.first->setRelativePosition(p.second);
}

} // namespace

bool CGui::LoadFonts(float newScale) {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  const int i = ScaleIndex(newScale);
  gui::IGUIFont *small = env->getFont(SMALL_FONT_FILES[i]);
  if (!small)
    return false;
  gui::IGUIFont *large = env->getFont(LARGE_FONT_FILES[i]);
  if (!large && !smallFont)
    smallFont = small; // at start-up: what Init found before it failed
  if (!large)
    return false;
  smallFont = small;
  largeFont = large;
  env->getSkin()->setFont(smallFont);
  return true;
}

void CGui::SetScale(float newScale) {
  scale = newScale;
  SetUiScale(newScale);
  // Button heights, check boxes, scroll bars, window buttons and the title
  // bar grow with the text; the menu bar takes its height from the font.
  gui::IGUISkin *skin = app.guiEnvironment->getSkin();
  for (int i = 0; i < gui::EGDS_COUNT; ++i)
    skin->setSize(gui::EGUI_DEFAULT_SIZE(i), Px(designSizes[i], newScale));
}

bool CGui::Init() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  gui::IGUISkin *skin = env->getSkin();
  for (int i = 0; i < gui::EGDS_COUNT; ++i)
    designSizes[i] = skin->getSize(gui::EGUI_DEFAULT_SIZE(i));
  const float setting = app.settings.Get().uiScale;
  const float chosen = CGuiLayout::ChooseScale(app.windowSize, setting);
  if (!LoadFonts(chosen))
    return false;
  SetScale(chosen);
  char line[96];
  snprintf(line, sizeof line, "interface scale %g (%s) at %d x %d", double(chosen), setting > 0.f ? "set" : "auto",
           app.windowSize.Width, app.windowSize.Height);
  LogMessage(line);
  if (setting > 0.f && chosen != setting) {
    snprintf(line, sizeof line, "interface scale %g does not fit the window; %g instead", double(setting),
             double(chosen));
    LogMessage(line);
  }

  // The default skin draws window faces and shadows translucent, and the
  // white of list and edit boxes too (an open drop-down list showed the text
  // under it through its rows); over a moving 3D board that reads badly.
  MakeOpaque(skin, gui::EGDC_3D_FACE);
  MakeOpaque(skin, gui::EGDC_3D_SHADOW);
  MakeOpaque(skin, gui::EGDC_3D_HIGH_LIGHT);
  // The message boxes' buttons and the windows' title buttons.
  skin->setDefaultText(gui::EGDT_MSG_BOX_OK, TrW("OK").c_str());
  skin->setDefaultText(gui::EGDT_MSG_BOX_CANCEL, TrW("Cancel").c_str());
  skin->setDefaultText(gui::EGDT_MSG_BOX_YES, TrW("Yes").c_str());
  skin->setDefaultText(gui::EGDT_MSG_BOX_NO, TrW("No").c_str());
  skin->setDefaultText(gui::EGDT_WINDOW_CLOSE, TrW("Close").c_str());

  if (!CreateMenus())
    return false;
  return CreateCameraButtons();
}

void CGui::Update() {
  RefreshGameMenu();
  // Unsigned difference: correct across the tick counter's wrap-around.
  if (noticeShown && s32(platform::GetTickCount() - noticeUntil) >= 0) {
    noticeShown = false;
    SetStatusText(statusBase);
  }
}

void CGui::RefreshGameMenu() {
  if (!menuBar)
    return;
  gui::IGUIContextMenu *localGame = menuBar->getSubMenu(MENU_LOCAL_GAME);
  localGame->setItemEnabled(ITEM_TAKE_BACK, app.game.CanTakeBack());
  localGame->setItemEnabled(ITEM_RESIGN, app.game.CanResign());
  // A game that has ended still shows its board; Start begins the next one.
  if (app.game.GetState() == LocalGame)
    localGame->setItemEnabled(ITEM_START, app.game.IsGameOver());
}

void CGui::Draw() {
  if (!splashTexture)
    return;
  const core::dimension2d<u32> image = splashTexture->getOriginalSize();
  app.driver->draw2DImage(splashTexture,
                          CGuiLayout::SplashCorner(app.windowSize, core::dimension2d<s32>(image.Width, image.Height)));
}

void CGui::ApplyLayout(const core::dimension2d<s32> &oldSize) {
  const core::dimension2d<s32> &size = app.windowSize;
  const float oldScale = scale;
  const float wanted = CGuiLayout::ChooseScale(size, app.settings.Get().uiScale);
  if (wanted != scale) {
    char line[96];
    if (LoadFonts(wanted)) {
      SetScale(wanted);
      snprintf(line, sizeof line, "interface scale %g at %d x %d", double(wanted), size.Width, size.Height);
    } else {
      snprintf(line, sizeof line, "interface scale %g: its fonts are missing; it stays at %g", double(wanted),
               double(scale));
    }
    LogMessage(line);
  }
  const float ratio = scale / oldScale;
  for (int i = 0; i < CGuiLayout::CAMERA_BUTTON_COUNT; ++i)
    if (cameraButtons[i])
      cameraButtons[i]->setRelativePosition(CGuiLayout::CameraButton(size, scale, i));
  if (statusBand)
    RefreshStatusLine();
  if (movesWindow && ratio != 1.f) { // its text is laid out for its size: built again
    ToggleMovesWindow();
    ToggleMovesWindow();
  } else if (movesWindow) {
    movesWindow->setRelativePosition(CGuiLayout::MovesWindow(size, scale));
  }
  if (colorWindow)
    PlaceScaled(colorWindow, CGuiLayout::ColorWindow(size, scale), ratio);
  if (helpWindow) { // its height follows the window's: built again, like on F1
    ToggleHelpWindow();
    ToggleHelpWindow();
  }
  if (bannerText) {
    bannerHome = ratio != 1.f ? CGuiLayout::Banner(size, scale) : CGuiLayout::KeepCentred(oldSize, size, bannerHome);
    bannerText->setOverrideFont(largeFont);
    PlaceBanner();
  }
  // Windows, dialogs (also inside their modal screens) and the banner that
  // stood in the middle of the old window, across or from top to bottom,
  // move to the middle of the new one; the menu bar sizes itself. At a new
  // scale they take their new size too, and what they hold with them.
  gui::IGUIElement *root = app.guiEnvironment->getRootGUIElement();
  std::vector<gui::IGUIElement *> elements;
  for (gui::IGUIElement *child : root->getChildren()) {
    elements.push_back(child);
    if (child->getType() == gui::EGUIET_MODAL_SCREEN)
      for (gui::IGUIElement *inner : child->getChildren())
        elements.push_back(inner);
  }
  const std::vector<gui::IGUIElement *> placed = {statusBand,       movesWindow,      helpWindow,      colorWindow,
                                                  bannerText,       bannerButton,     bannerNote,      cameraButtons[0],
                                                  cameraButtons[1], cameraButtons[2], cameraButtons[3]};
  for (gui::IGUIElement *e : elements) {
    if (!CGuiLayout::IsFreeFloating(e->getType()) || std::find(placed.begin(), placed.end(), e) != placed.end())
      continue;
    if (ratio == 1.f) {
      e->setRelativePosition(CGuiLayout::KeepCentred(oldSize, size, e->getRelativePosition()));
      continue;
    }
    PlaceScaled(e, CGuiLayout::Rescaled(oldSize, size, e->getRelativePosition(), ratio), ratio);
  }
}

void CGui::Exit() {
  CConfigWindow::Shutdown();
  gameList.Close();
  if (movesWindow) {
    CGUITextWindow::Destroy(movesWindow);
    movesWindow = nullptr;
  }
  if (helpWindow) {
    CGUITextWindow::Destroy(helpWindow);
    helpWindow = nullptr;
  }
}

bool CGui::CanStartGame() const { return menuBar && menuBar->getSubMenu(MENU_LOCAL_GAME)->isItemEnabled(ITEM_START); }

bool CGui::CreateMenus() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  menuBar = env->addMenu(env->getRootGUIElement(), -1);
  menuBar->addItem(TrW("Program").c_str(), -1, true, true);
  menuBar->addItem(TrW("Local Game").c_str(), -1, true, true);
  menuBar->addItem(TrW("Help").c_str(), -1, true, true);

  gui::IGUIContextMenu *program = menuBar->getSubMenu(MENU_PROGRAM);
  program->addItem(TrW("Config...").c_str(), ID_MENU_CONFIG, true, false);
  program->addSeparator();
  program->addItem(TrW("Quit Program").c_str(), ID_MENU_QUIT, true, false);
  program->addItem(TrW("Games...").c_str(), ID_MENU_GAMES, true, false);

  gui::IGUIContextMenu *localGame = menuBar->getSubMenu(MENU_LOCAL_GAME);
  localGame->addItem(TrW("Start").c_str(), ID_MENU_START, true, false);
  localGame->addSeparator();
  localGame->addItem(TrW("Abort").c_str(), ID_MENU_ABORT, true, false);
  localGame->addSeparator();
  localGame->addItem(TrW("Load...").c_str(), ID_MENU_LOAD, true, false);
  localGame->addItem(TrW("Save...").c_str(), ID_MENU_SAVE, true, false);
  localGame->addSeparator();
  localGame->addItem(TrW("Take Back").c_str(), ID_MENU_TAKE_BACK, false, false);
  localGame->addItem(TrW("Resign").c_str(), ID_MENU_RESIGN, false, false);
  localGame->addItem(TrW("Hint").c_str(), ID_MENU_HINT, true, false);
  localGame->addItem(TrW("Review").c_str(), ID_MENU_REVIEW, true, false);

  gui::IGUIContextMenu *help = menuBar->getSubMenu(MENU_HELP);
  help->addItem(TrW("Debug Window").c_str(), ID_MENU_DEBUG_WINDOW, true, false);
  help->addItem(TrW("Help Window").c_str(), ID_MENU_HELP_WINDOW, true, false);
  help->addItem(TrW("Moves History Window").c_str(), ID_MENU_MOVES_HISTORY, true, false);
  help->addSeparator();
  help->addItem(TrW("Chessengine Info...").c_str(), ID_MENU_ENGINE_INFO, true, false);
  help->addSeparator();
  help->addItem(TrW("About...").c_str(), ID_MENU_ABOUT, true, false);

  return true;
}
