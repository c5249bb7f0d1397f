// What the event receiver does with each event, and whether it consumes it.
#include "tests/unit/game/GameFixture.h"

#include "ui/CConfigWindow.h"
#include "ui/GuiIds.h"

namespace {

class EventRouting : public GameFixture {
protected:
  void SetUp() override { StartProgram(""); }

  static bool Key(irr::EKEY_CODE key, bool pressed) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.PressedDown = pressed;
    return app.eventReceiver.OnEvent(event);
  }

  static bool Gui(irr::gui::EGUI_EVENT_TYPE type, irr::gui::IGUIElement *caller) {
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.EventType = type;
    event.GUIEvent.Caller = caller;
    return app.eventReceiver.OnEvent(event);
  }

  // Chooses a menu command the way the menu reports it: its sub-menu is the
  // caller, with the item highlighted by the mouse.
  static bool Menu(irr::s32 command) {
    irr::gui::IGUIContextMenu *bar = app.gui.GetMenuBar();
    for (irr::u32 top = 0; top < bar->getItemCount(); ++top) {
      irr::gui::IGUIContextMenu *sub = bar->getSubMenu(top);
      for (irr::u32 i = 0; sub && i < sub->getItemCount(); ++i)
        if (sub->getItemCommandId(i) == command) {
          sub->setItemEnabled(i, true); // greyed items too: their command must do nothing
          HighlightItem(bar, sub, i);
          return Gui(irr::gui::EGET_MENU_ITEM_SELECTED, sub);
        }
    }
    ADD_FAILURE() << "no menu item " << command;
    return false;
  }

  // Opens the sub-menu with a press on its title in the bar, then moves the
  // mouse down the sub-menu until the item is highlighted.
  static void HighlightItem(irr::gui::IGUIContextMenu *bar, irr::gui::IGUIContextMenu *sub, irr::u32 index) {
    const irr::core::rect<irr::s32> barBox = bar->getAbsolutePosition();
    const irr::core::rect<irr::s32> subBox = sub->getAbsolutePosition();
    for (irr::u32 top = 0; top < bar->getItemCount(); ++top) // start with every menu closed
      bar->getSubMenu(top)->setVisible(false);
    app.guiEnvironment->setFocus(bar);
    bar->OnEvent(testing_support::MouseEventAt(irr::EMIE_LMOUSE_PRESSED_DOWN, subBox.UpperLeftCorner.X + 5,
                                               barBox.getCenter().Y));
    for (irr::s32 y = subBox.UpperLeftCorner.Y + 1; y < subBox.LowerRightCorner.Y; ++y) {
      bar->OnEvent(testing_support::MouseEventAt(irr::EMIE_MOUSE_MOVED, subBox.UpperLeftCorner.X + 10, y));
      if (sub->getSelectedItem() == irr::s32(index))
        return;
    }
    ADD_FAILURE() << "could not highlight item " << index;
  }

  // The newest message box anywhere in the tree (a modal box sits inside its
  // modal screen), or null.
  static irr::gui::IGUIElement *NewestMessageBox(irr::gui::IGUIElement *parent = nullptr) {
    irr::gui::IGUIElement *found = nullptr;
    for (irr::gui::IGUIElement *child : (parent ? parent : app.guiEnvironment->getRootGUIElement())->getChildren()) {
      if (child->getType() == irr::gui::EGUIET_MESSAGE_BOX)
        found = child;
      else if (irr::gui::IGUIElement *inner = NewestMessageBox(child))
        found = inner;
    }
    return found;
  }

  static irr::gui::IGUIElement *Element(irr::s32 id) {
    return app.guiEnvironment->getRootGUIElement()->getElementFromId(id, true);
  }
};

} // namespace

TEST_F(EventRouting, F1TogglesTheHelpAndEscapeClosesItOnlyWhenOpen) {
  EXPECT_FALSE(Key(irr::KEY_ESCAPE, true)); // closed: not consumed
  EXPECT_FALSE(app.gui.IsHelpWindowOpen());
  EXPECT_FALSE(Key(irr::KEY_F1, false)); // a release does nothing
  EXPECT_FALSE(app.gui.IsHelpWindowOpen());
  EXPECT_TRUE(Key(irr::KEY_F1, true));
  EXPECT_TRUE(app.gui.IsHelpWindowOpen());
  EXPECT_FALSE(Key(irr::KEY_ESCAPE, false));
  EXPECT_TRUE(app.gui.IsHelpWindowOpen());
  EXPECT_TRUE(Key(irr::KEY_ESCAPE, true));
  EXPECT_FALSE(app.gui.IsHelpWindowOpen());
  EXPECT_TRUE(Key(irr::KEY_F1, true));
  EXPECT_TRUE(Key(irr::KEY_F1, true));
  EXPECT_FALSE(app.gui.IsHelpWindowOpen());
  EXPECT_FALSE(Key(irr::KEY_KEY_A, true));
}

TEST_F(EventRouting, MenuCommandsReachTheirHandlers) {
  EXPECT_TRUE(Menu(ID_MENU_HELP_WINDOW));
  EXPECT_TRUE(app.gui.IsHelpWindowOpen());
  EXPECT_TRUE(Menu(ID_MENU_HELP_WINDOW));
  EXPECT_FALSE(app.gui.IsHelpWindowOpen());
  EXPECT_TRUE(Menu(ID_MENU_DEBUG_WINDOW));
  EXPECT_TRUE(app.debugWindow.IsOpen());
  EXPECT_TRUE(Menu(ID_MENU_MOVES_HISTORY));
  EXPECT_NE(app.gui.GetMovesWindow(), nullptr);
  EXPECT_TRUE(Menu(ID_MENU_START));
  EXPECT_NE(app.gui.GetColorWindow(), nullptr);
  EXPECT_TRUE(Menu(ID_MENU_CONFIG));
  ASSERT_NE(CConfigWindow::GetOpen(), nullptr);
  EXPECT_TRUE(Menu(ID_MENU_CONFIG)); // brought to the front, not opened twice
  CConfigWindow::GetOpen()->Cancel();
  EXPECT_EQ(CConfigWindow::GetOpen(), nullptr);
  // Load opens the file dialog, in the games folder.
  EXPECT_TRUE(Menu(ID_MENU_LOAD));
  irr::gui::IGUIElement *dialog = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_LOAD_DIALOG, true);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->getType(), irr::gui::EGUIET_FILE_OPEN_DIALOG);
  dialog->getParent()->remove();
  // The boxes are modal: each is closed before the next command. Save
  // answers with one (here: there is no game to save).
  for (irr::s32 box : {ID_MENU_ABOUT, ID_MENU_ENGINE_INFO, ID_MENU_SAVE, ID_MENU_QUIT}) {
    EXPECT_TRUE(Menu(box)) << box;
    irr::gui::IGUIElement *opened = NewestMessageBox();
    ASSERT_NE(opened, nullptr) << box;
    EXPECT_EQ(opened->getID(), box == ID_MENU_QUIT ? ID_QUIT_BOX : -1);
    opened->getParent()->remove(); // the modal screen, with the box in it
  }
}

TEST_F(EventRouting, AbortGoesIdleButIsNotConsumed) {
  StartGame(White);
  EXPECT_FALSE(Menu(ID_MENU_ABORT));
  EXPECT_EQ(app.game.GetState(), Idle);
}

TEST_F(EventRouting, OnlyTheQuitBoxsYesClosesTheProgram) {
  app.gui.ShowAboutDialog(); // a box with another id
  irr::gui::IGUIElement *about = NewestMessageBox();
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(Gui(irr::gui::EGET_MESSAGEBOX_YES, about));
  EXPECT_TRUE(app.device->run());

  app.gui.ShowQuitDialog();
  irr::gui::IGUIElement *quit = Element(ID_QUIT_BOX);
  ASSERT_NE(quit, nullptr);
  EXPECT_FALSE(Gui(irr::gui::EGET_MESSAGEBOX_NO, quit));
  EXPECT_TRUE(app.device->run());
  EXPECT_TRUE(Gui(irr::gui::EGET_MESSAGEBOX_YES, quit));
  EXPECT_FALSE(app.device->run());
}

TEST_F(EventRouting, ButtonsChooseColourAndCameraView) {
  app.gui.ShowColorWindow();
  EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Element(ID_BUTTON_BLACK)));
  EXPECT_EQ(app.game.GetHumanColor(), Black);
  EXPECT_EQ(app.game.GetState(), LocalGame);
  EXPECT_EQ(app.gui.GetColorWindow(), nullptr);
  // The camera at a fixed view, as the rig frames it for the window.
  const auto at = [](bool white, bool top) {
    return app.cameraRig.GetCamera()->getAbsolutePosition().equals(app.cameraRig.GetViewFraming(white, top).position,
                                                                   1e-3f);
  };
  app.cameraRig.FinishGlide(); // a game as Black: camera and light behind Black
  Frames(1);
  EXPECT_TRUE(at(false, false));
  EXPECT_TRUE(app.cameraRig.GetLight()->getAbsolutePosition().equals(irr::core::vector3df(-20, 45, 0), 1e-3f));

  const struct {
    irr::s32 id;
    bool white, top;
  } cases[] = {{ID_CAM_WHITE_TOP, true, true},
               {ID_CAM_BLACK_SIDE, false, false},
               {ID_CAM_BLACK_TOP, false, true},
               {ID_CAM_WHITE_SIDE, true, false}};
  for (const auto &c : cases) {
    EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Element(c.id))) << c.id;
    EXPECT_TRUE(app.cameraRig.IsGliding()) << c.id;
    app.cameraRig.FinishGlide();
    Frames(1);
    EXPECT_TRUE(at(c.white, c.top)) << c.id;
  }
  EXPECT_FALSE(Gui(irr::gui::EGET_BUTTON_CLICKED, app.gui.GetMenuBar()));
  EXPECT_FALSE(Gui(irr::gui::EGET_ELEMENT_FOCUSED, Element(ID_CAM_WHITE_TOP)));
}

TEST_F(EventRouting, MouseButtonsAreTrackedAndNeverConsumed) {
  auto mouse = [](irr::EMOUSE_INPUT_EVENT what, int x, int y) {
    return app.eventReceiver.OnEvent(testing_support::MouseEventAt(what, x, y));
  };
  EXPECT_FALSE(mouse(irr::EMIE_LMOUSE_PRESSED_DOWN, 500, 300));
  EXPECT_FALSE(mouse(irr::EMIE_RMOUSE_PRESSED_DOWN, 500, 300));
  EXPECT_TRUE(app.eventReceiver.GetMouseButton(0));
  EXPECT_TRUE(app.eventReceiver.GetMouseButton(1));
  EXPECT_FALSE(mouse(irr::EMIE_LMOUSE_LEFT_UP, 500, 300));
  EXPECT_FALSE(app.eventReceiver.GetMouseButton(0));
  EXPECT_TRUE(app.eventReceiver.GetMouseButton(1));
  EXPECT_FALSE(mouse(irr::EMIE_MOUSE_WHEEL, 500, 300));
  EXPECT_FALSE(mouse(irr::EMIE_RMOUSE_LEFT_UP, 500, 300));
  EXPECT_FALSE(app.eventReceiver.GetMouseButton(1));
}

// While the help window is open every press counts as over the interface.
TEST_F(EventRouting, APressOverTheInterfaceIsNoBoardClick) {
  StartGame(White);
  app.gui.ToggleHelpWindow();
  ClickSquare("e2");
  EXPECT_EQ(app.map.GetSelectedToken(), -1);
  app.gui.ToggleHelpWindow();
  ClickSquare("e2");
  EXPECT_EQ(app.map.GetSelectedToken(), TokenOn("e2"));
}

namespace {

class GameMenu : public EventRouting {
protected:
  static bool CtrlKey(irr::EKEY_CODE key) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.PressedDown = true;
    event.KeyInput.Control = true;
    return app.eventReceiver.OnEvent(event);
  }
  // Whether the Local Game item with that command can be chosen, after a frame.
  bool ItemEnabled(irr::s32 command) {
    Frames(1);
    irr::gui::IGUIContextMenu *localGame = app.gui.GetMenuBar()->getSubMenu(1);
    for (irr::u32 i = 0; i < localGame->getItemCount(); ++i)
      if (localGame->getItemCommandId(i) == command)
        return localGame->isItemEnabled(i);
    ADD_FAILURE() << "no item " << command;
    return false;
  }
  void StartTwoPlayers() {
    EXPECT_TRUE(Menu(ID_MENU_START));
    EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Element(ID_BUTTON_TWO_PLAYERS)));
    app.cameraRig.SetWhiteView(true);
  }
};

} // namespace

TEST_F(GameMenu, TakeBackAndResignAreAppendedAndGreyedWhenTheyCannotAct) {
  irr::gui::IGUIContextMenu *localGame = app.gui.GetMenuBar()->getSubMenu(1);
  ASSERT_EQ(localGame->getItemCount(), 11u); // Hint, then Review, come last
  EXPECT_EQ(localGame->getItemCommandId(0), ID_MENU_START);
  EXPECT_EQ(localGame->getItemCommandId(2), ID_MENU_ABORT);
  EXPECT_STREQ(localGame->getItemText(6), L""); // the separator
  EXPECT_STREQ(localGame->getItemText(7), L"Take Back");
  EXPECT_STREQ(localGame->getItemText(8), L"Resign");
  EXPECT_STREQ(localGame->getItemText(9), L"Hint");
  EXPECT_STREQ(localGame->getItemText(10), L"Review");
  EXPECT_FALSE(ItemEnabled(ID_MENU_TAKE_BACK));
  EXPECT_FALSE(ItemEnabled(ID_MENU_RESIGN));

  StartTwoPlayers();
  EXPECT_FALSE(ItemEnabled(ID_MENU_TAKE_BACK));
  EXPECT_TRUE(ItemEnabled(ID_MENU_RESIGN));
  EXPECT_FALSE(ItemEnabled(ID_MENU_START));
  ClickSquare("e2");
  ClickSquare("e4");
  EXPECT_TRUE(ItemEnabled(ID_MENU_TAKE_BACK));
  EXPECT_TRUE(Menu(ID_MENU_TAKE_BACK));
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 0u);
  EXPECT_TRUE(Menu(ID_MENU_RESIGN));
  EXPECT_TRUE(app.game.IsGameOver());
  EXPECT_FALSE(ItemEnabled(ID_MENU_RESIGN));
  EXPECT_TRUE(ItemEnabled(ID_MENU_START)) << "Start begins the next game";
}

TEST_F(GameMenu, CtrlZTakesBackAndCtrlNOpensTheColourWindowOnlyWhereStartCould) {
  StartTwoPlayers();
  ClickSquare("d2");
  ClickSquare("d4");
  ASSERT_EQ(app.game.GetRecord().GetPlyCount(), 1u);
  EXPECT_TRUE(CtrlKey(irr::KEY_KEY_Z));
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 0u);
  EXPECT_NE(TokenOn("d2"), -1);
  EXPECT_FALSE(Key(irr::KEY_KEY_Z, true)) << "Z alone is no command";

  Frames(1);
  EXPECT_TRUE(CtrlKey(irr::KEY_KEY_N));
  EXPECT_EQ(app.gui.GetColorWindow(), nullptr) << "a game is being played";
  app.game.Resign();
  Frames(1);
  EXPECT_TRUE(CtrlKey(irr::KEY_KEY_N));
  ASSERT_NE(app.gui.GetColorWindow(), nullptr);
  // The window keeps its corner and its two colours; two players sit below, across its width.
  const irr::core::rect<irr::s32> window = app.gui.GetColorWindow()->getAbsolutePosition();
  EXPECT_EQ(window.UpperLeftCorner, irr::core::position2di(412, 334));
  const irr::core::rect<irr::s32> white = Element(ID_BUTTON_WHITE)->getAbsolutePosition();
  const irr::core::rect<irr::s32> black = Element(ID_BUTTON_BLACK)->getAbsolutePosition();
  const irr::core::rect<irr::s32> both = Element(ID_BUTTON_TWO_PLAYERS)->getAbsolutePosition();
  EXPECT_EQ(white.UpperLeftCorner, irr::core::position2di(422, 364));
  EXPECT_EQ(black.UpperLeftCorner, irr::core::position2di(522, 364));
  EXPECT_GT(both.UpperLeftCorner.Y, white.LowerRightCorner.Y);
  EXPECT_EQ(both.UpperLeftCorner.X, white.UpperLeftCorner.X);
  EXPECT_EQ(both.LowerRightCorner.X, black.LowerRightCorner.X);
  EXPECT_TRUE(window.isRectCollided(both) && window.isPointInside(both.LowerRightCorner));
}

TEST_F(EventRouting, DigitKeysActAsTheCameraButtons) {
  const std::pair<irr::EKEY_CODE, irr::s32> keys[] = {{irr::KEY_KEY_1, ID_CAM_WHITE_TOP},
                                                      {irr::KEY_KEY_2, ID_CAM_WHITE_SIDE},
                                                      {irr::KEY_KEY_3, ID_CAM_BLACK_TOP},
                                                      {irr::KEY_KEY_4, ID_CAM_BLACK_SIDE}};
  std::vector<irr::core::vector3df> seen;
  for (const auto &[key, button] : keys) {
    EXPECT_TRUE(Key(key, true));
    app.cameraRig.FinishGlide();
    const irr::core::vector3df byKey = app.cameraRig.GetCamera()->getPosition();
    Key(irr::KEY_KEY_1 == key ? irr::KEY_KEY_4 : irr::KEY_KEY_1, true); // somewhere else first
    app.cameraRig.FinishGlide();
    EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Element(button)));
    app.cameraRig.FinishGlide();
    EXPECT_TRUE(app.cameraRig.GetCamera()->getPosition().equals(byKey, 1e-3f)) << button;
    for (const irr::core::vector3df &other : seen)
      EXPECT_FALSE(other.equals(byKey)) << button;
    seen.push_back(byKey);
  }
}

// Every menu action has a key; the colour window is answered from the
// keyboard through the device, as a player's key press arrives.
TEST_F(EventRouting, MenuActionsHaveKeys) {
  auto post = [](irr::EKEY_CODE key, bool control) {
    for (const bool down : {true, false}) {
      irr::SEvent event{};
      event.EventType = irr::EET_KEY_INPUT_EVENT;
      event.KeyInput.Key = key;
      event.KeyInput.PressedDown = down;
      event.KeyInput.Control = control;
      app.device->postEventFromUser(event);
    }
  };
  const bool debugOpen = app.debugWindow.IsOpen(), movesOpen = app.gui.GetMovesWindow() != nullptr;
  post(irr::KEY_F3, false);
  EXPECT_NE(app.debugWindow.IsOpen(), debugOpen);
  post(irr::KEY_KEY_M, false);
  EXPECT_NE(app.gui.GetMovesWindow() != nullptr, movesOpen);
  post(irr::KEY_F2, false);
  ASSERT_NE(CConfigWindow::GetOpen(), nullptr);
  CConfigWindow::Shutdown();
  post(irr::KEY_KEY_E, true); // no game: Abort does nothing
  EXPECT_EQ(app.game.GetState(), Idle);

  post(irr::KEY_KEY_N, true);
  ASSERT_NE(app.gui.GetColorWindow(), nullptr);
  post(irr::KEY_RETURN, false); // WHITE has the focus
  EXPECT_EQ(app.gui.GetColorWindow(), nullptr);
  EXPECT_EQ(app.game.GetState(), LocalGame);
  EXPECT_EQ(app.game.GetHumanColor(), White);
  post(irr::KEY_KEY_E, true);
  EXPECT_EQ(app.game.GetState(), Idle);
  post(irr::KEY_KEY_Q, true);
  EXPECT_TRUE(MessageBoxSays(L"Do you really want to close the application?"));
}
