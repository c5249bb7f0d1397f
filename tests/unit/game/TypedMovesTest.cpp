// Moves typed into the move box against the scripted engine: Tab goes in and
// out, Enter plays a move as a click would and the engine answers it; a text
// that is refused is logged with its reason and changes nothing.
#include "tests/unit/game/GameFixture.h"

#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

namespace {

class TypedMoves : public GameFixture {
protected:
  // Types text into the box and presses Enter in it.
  static void Enter(const wchar_t *text) {
    irr::gui::IGUIEditBox *box = app.typedMoves.GetBox();
    box->setText(text);
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.Caller = box;
    event.GUIEvent.EventType = irr::gui::EGET_EDITBOX_ENTER;
    app.eventReceiver.OnEvent(event);
  }
};

} // namespace

TEST_F(TypedMoves, EnterPlaysTheMoveAndTheEngineAnswers) {
  StartProgram("bestmove e7e5 b8c6\n");
  testing_support::LogCapture log(app.device);
  StartGame(White);
  Frames(2);
  irr::gui::IGUIEditBox *box = app.typedMoves.GetBox();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isVisible());

  Press(irr::KEY_TAB);
  EXPECT_TRUE(app.typedMoves.HasFocus());
  Press(irr::KEY_KEY_H); // a letter in the box asks for no hint
  EXPECT_FALSE(app.hint.IsWaiting());
  Enter(L"e4");
  EXPECT_TRUE(log.Contains("Kelvar: typed move \"e4\": played e2e4"));
  EXPECT_EQ(std::wstring(box->getText()), L"");
  ASSERT_TRUE(EngineReceived("e2e4\n"));
  ASSERT_TRUE(FramesUntil([] { return !app.game.IsAwaitingEcho() && app.game.GetActivePlayer() == White; }));
  Enter(L"nf3");
  EXPECT_TRUE(log.Contains("Kelvar: typed move \"nf3\": played g1f3"));
  EXPECT_NE(TokenOn("f3"), -1);
  Press(irr::KEY_ESCAPE);
  EXPECT_FALSE(app.typedMoves.HasFocus());
}

TEST_F(TypedMoves, RefusedTextsChangeNothing) {
  StartProgram("bestmove e7e5\n");
  testing_support::LogCapture log(app.device);
  EXPECT_FALSE(app.typedMoves.Submit("e4"));
  EXPECT_TRUE(log.Contains("Kelvar: typed move \"e4\": refused (no game is being played)"));
  StartGame(White);
  Frames(2);
  const struct {
    const wchar_t *text;
    const char *logged;
  } cases[] = {
      {L"e5", "Kelvar: typed move \"e5\": refused (\"e5\" is not a legal move here)"},
      {L"e2e5", "Kelvar: typed move \"e2e5\": refused (the pawn on e2 cannot go to e5)"},
      {L"Qxz9", "Kelvar: typed move \"Qxz9\": refused (\"Qxz9\" is not a move (unexpected character 'z'))"},
  };
  for (const auto &c : cases) {
    Enter(c.text);
    EXPECT_TRUE(log.Contains(c.logged)) << c.logged;
    EXPECT_EQ(std::wstring(app.typedMoves.GetBox()->getText()), c.text); // kept, to be put right
    EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 0u);
    EXPECT_EQ(TokenOn("e2") >= 0 && TokenOn("e4") < 0, true);
  }
  const std::wstring status = app.gui.GetStatusText()->getText();
  EXPECT_NE(status.find(L"unexpected character"), std::wstring::npos) << std::string(status.begin(), status.end());
}
