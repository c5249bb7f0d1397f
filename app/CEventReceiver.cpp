#include "app/CEventReceiver.h"

#include "app/CApplication.h"
#include "ui/CConfigWindow.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"

using namespace irr;

bool CEventReceiver::OnEvent(const SEvent &event) {
  // Whatever it is, the next frames may look different; a log line is no input.
  if (event.EventType != EET_LOG_TEXT_EVENT)
    app.activity.NoteInput();
  switch (event.EventType) {
  case EET_KEY_INPUT_EVENT:
    return OnKeyInput(event.KeyInput);
  case EET_GUI_EVENT:
    return OnGuiEvent(event.GUIEvent);
  case EET_MOUSE_INPUT_EVENT:
    return OnMouseInput(event.MouseInput);
  default:
    return false;
  }
}

// True while the keyboard focus rests in an edit box (the Config window's
// engine path), whose letters are text, not commands.
bool CEventReceiver::IsTypingText() {
  gui::IGUIElement *focus = app.guiEnvironment ? app.guiEnvironment->getFocus() : nullptr;
  return focus && focus->getType() == gui::EGUIET_EDIT_BOX;
}

bool CEventReceiver::GetMouseButton(int index) const {
  return index == 0 ? leftButtonDown : index == 1 ? rightButtonDown : false;
}

// Escape closes an open help window; F1 opens or closes it; Ctrl+Z and Ctrl+N
// act as Take Back and Start; Ctrl+S saves the game, Ctrl+O opens one; F11
// switches full screen on and off; the other menu items have keys of their
// own (MENU_KEYS). Releases do nothing.
bool CEventReceiver::OnKeyInput(const SEvent::SKeyInput &key) {
  if (app.gui.GetPromotionWindow().IsOpen() && key.PressedDown && app.game.Input().OnPromotionKey(key.Key))
    return true;
  if (app.unfinishedGame.OnKey(key))
    return true;
  if (app.typedMoves.OnKey(key))
    return true;
  if (app.gamesBrowser.OnKey(key))
    return true;
  if (!IsTypingText() && (app.review.OnKey(key) || app.cursor.OnKey(key)))
    return true;
  if (key.PressedDown && key.Control && (key.Key == KEY_KEY_S || key.Key == KEY_KEY_O)) {
    key.Key == KEY_KEY_S ? app.gameFiles.SaveGame() : app.gameFiles.ShowLoadDialog();
    return true;
  }
  if (app.gui.IsHelpWindowOpen() && key.PressedDown && key.Key == KEY_ESCAPE) {
    app.gui.ToggleHelpWindow();
    return true;
  }
  if (key.Key == KEY_F1 && key.PressedDown) {
    app.gui.ToggleHelpWindow();
    return true;
  }
  // Ctrl+Z takes a move back, Ctrl+N starts a game, each only where its menu item could.
  if (key.Control && key.PressedDown && key.Key == KEY_KEY_Z) {
    app.game.TakeBack();
    return true;
  }
  if (key.Control && key.PressedDown && key.Key == KEY_KEY_N) {
    if (app.gui.CanStartGame())
      app.gui.ShowColorWindow();
    return true;
  }
  if (key.Key == KEY_F11 && key.PressedDown) {
    app.window.ToggleFullScreen();
    return true;
  }
  // The menu items without a key of their own above: every action can be
  // reached without the mouse.
  static const struct {
    EKEY_CODE key;
    bool control;
    s32 command;
  } MENU_KEYS[] = {
      {KEY_KEY_Q, true, ID_MENU_QUIT},         {KEY_F2, false, ID_MENU_CONFIG},
      {KEY_KEY_E, true, ID_MENU_ABORT},        {KEY_KEY_R, true, ID_MENU_RESIGN},
      {KEY_F3, false, ID_MENU_DEBUG_WINDOW},   {KEY_KEY_M, false, ID_MENU_MOVES_HISTORY},
      {KEY_KEY_I, false, ID_MENU_ENGINE_INFO}, {KEY_F12, false, ID_MENU_ABOUT},
      {KEY_KEY_G, false, ID_MENU_GAMES},
  };
  for (const auto &entry : MENU_KEYS) {
    if (!key.PressedDown || key.Key != entry.key || key.Control != entry.control || (!entry.control && IsTypingText()))
      continue;
    // The Games window would come up above a dialog that holds the keys
    // (and above its own modal screen): the key then does nothing.
    if (entry.command == ID_MENU_GAMES && DialogTakesKeys(app.guiEnvironment))
      return false;
    // Abort acts, as its menu item, only on a running game.
    if (entry.command != ID_MENU_ABORT || app.game.GetState() == LocalGame)
      OnMenuCommand(entry.command);
    return true;
  }
  // H asks for a hint, R opens the review, 1 to 4 are the camera buttons,
  // L, P and K speak (the last move, the pieces, the clocks), unless the key
  // is being typed into a text field.
  if (!key.PressedDown || key.Control || IsTypingText())
    return false;
  switch (key.Key) {
  case KEY_KEY_H:
    app.hint.Request();
    return true;
  case KEY_KEY_R:
    if (!app.review.IsOpen())
      app.review.ReviewCurrentGame();
    return true;
  case KEY_KEY_1:
    return OnButtonClicked(ID_CAM_WHITE_TOP);
  case KEY_KEY_2:
    return OnButtonClicked(ID_CAM_WHITE_SIDE);
  case KEY_KEY_3:
    return OnButtonClicked(ID_CAM_BLACK_TOP);
  case KEY_KEY_4:
    return OnButtonClicked(ID_CAM_BLACK_SIDE);
  case KEY_PLUS: // "+", also as typed on a keyboard's "=" key and the keypad
  case KEY_ADD:
    app.cameraRig.Zoom(1);
    return true;
  case KEY_MINUS:
  case KEY_SUBTRACT:
    app.cameraRig.Zoom(-1);
    return true;
  case KEY_KEY_L:
  case KEY_KEY_P:
  case KEY_KEY_K:
    return app.speech.OnKey(key);
  default:
    break;
  }
  return false;
}

bool CEventReceiver::OnGuiEvent(const SEvent::SGUIEvent &gui) {
  const s32 id = gui.Caller ? gui.Caller->getID() : -1;

  // Only the quit confirmation's Yes ends the program; the number is shared
  // with a menu command, which arrives as another event type.
  // It closes the program only once the unfinished game is kept, or the
  // player has said what to do without it.
  if (gui.EventType == gui::EGET_MESSAGEBOX_YES && id == ID_QUIT_BOX) {
    if (app.unfinishedGame.ConfirmQuit())
      app.device->closeDevice();
    return true;
  }
  if ((gui.EventType == gui::EGET_MESSAGEBOX_YES || gui.EventType == gui::EGET_MESSAGEBOX_NO ||
       gui.EventType == gui::EGET_MESSAGEBOX_CANCEL) &&
      id == ID_QUIT_UNSAVED_BOX) {
    app.unfinishedGame.OnQuitAnswer(gui.EventType);
    return false; // the box closes itself
  }
  if ((gui.EventType == gui::EGET_MESSAGEBOX_YES || gui.EventType == gui::EGET_MESSAGEBOX_NO) &&
      id == ID_OPEN_PART_BOX) {
    app.gameFiles.OnOpenPartAnswer(gui.EventType == gui::EGET_MESSAGEBOX_YES);
    return false; // the box closes itself
  }
  if ((gui.EventType == gui::EGET_MESSAGEBOX_YES || gui.EventType == gui::EGET_MESSAGEBOX_NO) && id == ID_RESUME_BOX) {
    app.unfinishedGame.OnResumeAnswer(gui.EventType == gui::EGET_MESSAGEBOX_YES);
    return false; // the box closes itself
  }
  if (gui.EventType == gui::EGET_FILE_SELECTED && id == ID_LOAD_DIALOG) {
    app.gameFiles.OnFileChosen(static_cast<gui::IGUIFileOpenDialog *>(gui.Caller));
    return false;
  }
  if (gui.EventType == gui::EGET_FILE_CHOOSE_DIALOG_CANCELLED && id == ID_LOAD_DIALOG) {
    app.gameFiles.OnLoadDialogCancelled();
    return false;
  }
  if (app.review.OnGuiEvent(gui) || app.typedMoves.OnGuiEvent(gui) || app.gamesBrowser.OnGuiEvent(gui))
    return true;
  if (gui.EventType == gui::EGET_MENU_ITEM_SELECTED) {
    // The caller is the sub-menu whose item was chosen.
    auto *menu = static_cast<gui::IGUIContextMenu *>(gui.Caller);
    const s32 item = menu->getSelectedItem();
    return item >= 0 && OnMenuCommand(menu->getItemCommandId(u32(item)));
  }
  if (gui.EventType == gui::EGET_LISTBOX_SELECTED_AGAIN && id == ID_GAME_LIST) {
    app.gameFiles.OnGameChosen(); // a double click
    return true;
  }
  if (gui.EventType == gui::EGET_BUTTON_CLICKED)
    return OnButtonClicked(id);
  return false;
}

bool CEventReceiver::OnMenuCommand(s32 command) {
  switch (command) {
  case ID_MENU_QUIT:
    app.gui.ShowQuitDialog();
    return true;
  case ID_MENU_START:
    app.gui.ShowColorWindow();
    return true;
  case ID_MENU_HELP_WINDOW:
    app.gui.ToggleHelpWindow();
    return true;
  case ID_MENU_DEBUG_WINDOW:
    app.debugWindow.Toggle();
    return true;
  case ID_MENU_ABORT:
    // Not consumed: the menu still closes itself as usual.
    app.game.SetState(Idle);
    return false;
  case ID_MENU_ABOUT:
    app.gui.ShowAboutDialog();
    return true;
  case ID_MENU_ENGINE_INFO:
    app.gui.ShowEngineInfoDialog();
    return true;
  case ID_MENU_MOVES_HISTORY:
    app.gui.ToggleMovesWindow();
    return true;
  case ID_MENU_LOAD:
    app.gameFiles.ShowLoadDialog();
    return true;
  case ID_MENU_SAVE:
    app.gameFiles.SaveGame();
    return true;
  case ID_MENU_TAKE_BACK:
    app.game.TakeBack();
    return true;
  case ID_MENU_RESIGN:
    app.game.Resign();
    return true;
  case ID_MENU_CONFIG:
    CConfigWindow::Show();
    return true;
  case ID_MENU_HINT:
    app.hint.Request();
    return true;
  case ID_MENU_REVIEW:
    app.review.ReviewCurrentGame();
    return true;
  case ID_MENU_GAMES:
    app.gamesBrowser.Show();
    return true;
  default:
    return false;
  }
}

bool CEventReceiver::OnButtonClicked(s32 id) {
  switch (id) {
  case ID_GAME_LIST_OPEN:
    app.gameFiles.OnGameChosen();
    return true;
  case ID_GAME_LIST_CANCEL:
    app.gui.GetGameList().Close();
    return true;
  case ID_BUTTON_WHITE:
  case ID_BUTTON_BLACK:
  case ID_BUTTON_TWO_PLAYERS:
    app.game.OnColorChosen(id == ID_BUTTON_BLACK ? Black : White, id == ID_BUTTON_TWO_PLAYERS);
    app.gui.CloseColorWindow();
    return true;
  case ID_CAM_WHITE_TOP:
    app.cameraRig.SetWhiteView(true, true);
    return true;
  case ID_CAM_WHITE_SIDE:
    app.cameraRig.SetWhiteView(false, true);
    return true;
  case ID_CAM_BLACK_TOP:
    app.cameraRig.SetBlackView(true, true);
    return true;
  case ID_CAM_BLACK_SIDE:
    app.cameraRig.SetBlackView(false, true);
    return true;
  default: {
    s32 kind;
    if (!CPromotionWindow::KindOfButton(id, kind))
      return false;
    app.game.Input().OnPromotionChosen(kind);
    return true;
  }
  }
}

// Presses over the board go to the game; every mouse event then travels on to
// the GUI and the camera, so a press is also the start of a camera drag. The
// one exception is a board press that brought up an element under the pointer.
bool CEventReceiver::OnMouseInput(const SEvent::SMouseInput &mouse) {
  switch (mouse.Event) {
  case EMIE_LMOUSE_PRESSED_DOWN:
    if (app.review.OnLeftMouseDown(core::position2d<s32>(mouse.X, mouse.Y)))
      ; // a point of the review's graph
    else if (!app.gui.IsPointerOverGui()) {
      app.hint.Clear(); // a shown hint lasts until the next click
      app.game.Input().OnLeftMouseDown();
      // What the press brought up under the pointer (the game-over banner's
      // Review button, when the move ends the game) was not there when it was
      // made: it does not get the press.
      if (app.gui.IsPointerOverGui()) {
        leftButtonDown = true;
        return true;
      }
    }
    leftButtonDown = true;
    break;
  case EMIE_RMOUSE_PRESSED_DOWN:
    if (!app.gui.IsPointerOverGui()) {
      app.hint.Clear();
      app.game.Input().OnRightMouseDown();
    }
    rightButtonDown = true;
    break;
  case EMIE_LMOUSE_LEFT_UP:
    leftButtonDown = false;
    break;
  case EMIE_LMOUSE_DOUBLE_CLICK:
    // A game of the Games window's table opens; the table has no event of its own for it.
    return app.gamesBrowser.OnDoubleClick(core::position2d<s32>(mouse.X, mouse.Y));
  case EMIE_RMOUSE_LEFT_UP:
    rightButtonDown = false;
    break;
  case EMIE_MOUSE_WHEEL:
    // The wheel over the board zooms; over a list or a window it scrolls that.
    if (!app.gui.IsPointerOverGui())
      app.cameraRig.Zoom(mouse.Wheel);
    break;
  default:
    break;
  }
  return false;
}
