// Start-up, per-frame steps and shut-down of the interface, and its menu bar.
#include "ui/CGui.h"

#include "app/CApplication.h"
#include "platform/Platform.h"
#include "ui/CConfigWindow.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <vector>

using namespace irr;

namespace {

const char *const SMALL_FONT_FILE = "./media/Chess_Arial_12.bmp";
const char *const LARGE_FONT_FILE = "./media/Chess_Arial_48.bmp";

// Makes one skin colour fully opaque, keeping red, green and blue.
void MakeOpaque(gui::IGUISkin *skin, gui::EGUI_DEFAULT_COLOR which) {
  video::SColor color = skin->getColor(which);
  color.setAlpha(255);
  skin->setColor(which, color);
}

} // namespace

bool CGui::Init() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  smallFont = env->getFont(SMALL_FONT_FILE);
  if (!smallFont)
    return false;
  gui::IGUISkin *skin = env->getSkin();
  skin->setFont(smallFont);

  largeFont = env->getFont(LARGE_FONT_FILE);
  if (!largeFont)
    return false;

  // The default skin draws window faces and shadows translucent; over a
  // moving 3D board that reads badly.
  MakeOpaque(skin, gui::EGDC_3D_FACE);
  MakeOpaque(skin, gui::EGDC_3D_SHADOW);
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
  for (int i = 0; i < CGuiLayout::CAMERA_BUTTON_COUNT; ++i)
    if (cameraButtons[i])
      cameraButtons[i]->setRelativePosition(CGuiLayout::CameraButton(size, i));
  if (statusBand)
    statusBand->setRelativePosition(CGuiLayout::StatusLine(size));
  if (movesWindow)
    movesWindow->setRelativePosition(CGuiLayout::MovesWindow(size));
  if (colorWindow)
    colorWindow->setRelativePosition(CGuiLayout::ColorWindow(size));
  if (helpWindow) { // its height follows the window's: built again, like on F1
    ToggleHelpWindow();
    ToggleHelpWindow();
  }
  // Windows, dialogs (also inside their modal screens) and the banner that
  // stood in the middle of the old window, across or from top to bottom,
  // move to the middle of the new one; the menu bar sizes itself.
  gui::IGUIElement *root = app.guiEnvironment->getRootGUIElement();
  std::vector<gui::IGUIElement *> elements;
  for (gui::IGUIElement *child : root->getChildren()) {
    elements.push_back(child);
    if (child->getType() == gui::EGUIET_MODAL_SCREEN)
      for (gui::IGUIElement *inner : child->getChildren())
        elements.push_back(inner);
  }
  for (gui::IGUIElement *e : elements)
    if (CGuiLayout::IsFreeFloating(e->getType()) && e != statusBand && e != movesWindow && e != helpWindow &&
        e != colorWindow)
      e->setRelativePosition(CGuiLayout::KeepCentred(oldSize, size, e->getRelativePosition()));
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
