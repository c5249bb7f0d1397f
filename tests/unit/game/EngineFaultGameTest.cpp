// The game while its engine fails: no take back while the engine owes a
// move, an engine move the rules refuse is never played (the engine is
// started afresh and asked again), and an engine given up leaves the players
// a two-player game.
#include "tests/unit/game/GameFixture.h"

#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <algorithm>
#include <fstream>

namespace {

class EngineFaultGame : public GameFixture {
protected:
  static bool CtrlZ() {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = irr::KEY_KEY_Z;
    event.KeyInput.PressedDown = true;
    event.KeyInput.Control = true;
    return app.eventReceiver.OnEvent(event);
  }
  // Whether Local Game > Take Back can be chosen, after a frame.
  bool TakeBackEnabled() {
    Frames(1);
    irr::gui::IGUIContextMenu *localGame = app.gui.GetMenuBar()->getSubMenu(1);
    for (irr::u32 i = 0; i < localGame->getItemCount(); ++i)
      if (localGame->getItemCommandId(i) == ID_MENU_TAKE_BACK)
        return localGame->isItemEnabled(i);
    ADD_FAILURE() << "no Take Back item";
    return false;
  }
  // The script the next engine process reads; the running one keeps its own.
  void SetScript(const std::string &script) {
    std::ofstream(folder + "/test_engine.script") << "transcript " << folder << "/transcript.txt\n" << script;
  }
  // The first message box under element, however deep.
  static irr::gui::IGUIElement *MessageBox(irr::gui::IGUIElement *element) {
    if (element->getType() == irr::gui::EGUIET_MESSAGE_BOX)
      return element;
    for (irr::gui::IGUIElement *child : element->getChildren())
      if (irr::gui::IGUIElement *found = MessageBox(child))
        return found;
    return nullptr;
  }
  static long LinesEqual(const testing_support::LogCapture &log, const std::string &line) {
    return std::count(log.Lines().begin(), log.Lines().end(), line);
  }
};

} // namespace

TEST_F(EngineFaultGame, NoTakeBackWhileTheEngineOwesAMove) {
  StartProgram("reply search {sleep 800}bestmove e7e5\\n\n");
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(app.engine.IsSearchPending());
  EXPECT_FALSE(app.game.CanTakeBack());
  EXPECT_FALSE(TakeBackEnabled());
  CtrlZ();
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 1u) << "Ctrl+Z took a move back while the engine thought";

  // Its answer and the hand-back's are in: the human's move can go again.
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.engine.IsSearchPending(); }));
  EXPECT_TRUE(TakeBackEnabled());
  CtrlZ();
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 0u);
}

TEST_F(EngineFaultGame, AnEngineMoveTheRulesRefuseIsNeverPlayedAndTheEngineIsAskedAgain) {
  StartProgram("bestmove e7e4\n"); // not a move after 1. e3
  StartGame(White);
  testing_support::LogCapture log(app.device);
  SetScript("bestmove e7e5\n"); // the engine started afresh answers well
  ClickSquare("e2");
  ClickSquare("e3");
  ASSERT_TRUE(FramesUntil([] { return TokenOn("e5") != -1; }));
  EXPECT_EQ(LinesEqual(log, "Kelvar: CCEManager engine fault (illegal move e7e4)"), 1);
  EXPECT_TRUE(log.Contains("Kelvar: status line: The engine played an illegal move (e7e4): it was restarted"));
  EXPECT_EQ(app.engine.GetRestartCount(), 1);
  EXPECT_EQ(TokenOn("e4"), -1);
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  EXPECT_EQ(MovesSent(), "e2e3\ne7e5\n") << "the refused move never reached the engine";
}

TEST_F(EngineFaultGame, AnEngineGivenUpLeavesATwoPlayerGame) {
  StartProgram("bestmove e7e4\n"); // every engine process answers so
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e3");
  ASSERT_TRUE(FramesUntil([] { return app.game.IsTwoPlayers(); }));
  EXPECT_EQ(app.engine.GetState(), CCEManager::LinkState::Failed);
  EXPECT_EQ(app.game.GetActivePlayer(), Black);
  // The message box says so; once it is closed the human plays Black's move too.
  irr::gui::IGUIElement *box = nullptr;
  ASSERT_TRUE(FramesUntil([&] { return (box = MessageBox(app.guiEnvironment->getRootGUIElement())) != nullptr; }));
  std::wstring text; // the box's caption, then its message in a text element of its own
  for (irr::gui::IGUIElement *part : box->getChildren())
    if (part->getType() == irr::gui::EGUIET_STATIC_TEXT)
      text += part->getText();
  EXPECT_NE(text.find(L"was given up"), std::wstring::npos) << std::string(text.begin(), text.end());
  EXPECT_NE(text.find(L"two players"), std::wstring::npos);
  EXPECT_EQ(text.find(L"stockfish"), std::wstring::npos) << "no Stockfish failed here";
  box->getParent()->remove(); // the modal screen that holds it
  Frames(1);
  ClickSquare("d7");
  ClickSquare("d5");
  EXPECT_NE(TokenOn("d5"), -1);
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 2u);
}
