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

// The board cursor: from each side, the first key shows it on the king's
// pawn, the arrows move it as the player sees the board, and Space selects
// and moves as two clicks would.
TEST_F(TypedMoves, TheCursorPlaysAMoveFromEitherSide) {
  StartProgram("bestmove e7e5 d2d4 d4e5\n"); // White's game, then Black's
  for (const irr::s32 color : {White, Black}) {
    SCOPED_TRACE(color == White ? "White" : "Black");
    StartGame(color);
    ASSERT_TRUE(FramesUntil([] { return !app.game.IsAwaitingEcho() && app.game.CanTypeMove(); }));
    const size_t plies = app.game.GetRecord().GetPlyCount();
    Press(irr::KEY_UP); // shows it where it starts
    ASSERT_TRUE(app.cursor.IsShown());
    EXPECT_TRUE(app.cursor.GetSquare() == Square(color == White ? "e2" : "e7"));
    Press(irr::KEY_LEFT);
    Press(irr::KEY_RIGHT);
    Press(irr::KEY_SPACE);
    EXPECT_EQ(app.map.GetSelectedToken(), TokenOn(color == White ? "e2" : "e7"));
    Press(irr::KEY_UP);
    Press(irr::KEY_UP);
    Press(irr::KEY_LEFT); // to the player's left: the a-file for White, the h-file for Black
    EXPECT_TRUE(app.cursor.GetSquare() == Square(color == White ? "d4" : "f5"));
    Press(irr::KEY_RIGHT);
    Press(irr::KEY_RETURN);
    ASSERT_EQ(app.game.GetRecord().GetPlyCount(), plies + 1);
    EXPECT_NE(TokenOn(color == White ? "e4" : "e5"), -1);
    // The corner holds it on the board.
    for (int i = 0; i < 10; ++i)
      Press(irr::KEY_DOWN);
    EXPECT_EQ(app.cursor.GetSquare().Y, color == White ? 0 : 7);
    app.cursor.Hide();
    app.game.SetState(Idle);
  }
}

// In German the status line says why in German, pieces and candidates
// included, while the log keeps the English reason.
TEST_F(TypedMoves, RefusalsAreShownInTheInterfaceLanguage) {
  setenv("LANGUAGE", "de", 1);
  StartProgram("bestmove e7e5\n");
  testing_support::LogCapture log(app.device);
  StartGame(White);
  Frames(2);
  const struct {
    const wchar_t *text;
    const char *logged;
    const wchar_t *shown;
  } cases[] = {
      {L"e7e5", "refused (the pawn on e7 is not yours to move)", L"der Bauer auf e7 geh\u00f6rt nicht Ihnen"},
      {L"g1g3", "refused (the knight on g1 cannot go to g3)", L"der Springer auf g1 kann nicht nach g3"},
      {L"e5", "refused (\"e5\" is not a legal move here)", L"\"e5\" ist hier kein regelgerechter Zug"},
  };
  for (const auto &c : cases) {
    Enter(c.text);
    EXPECT_TRUE(log.Contains(c.logged)) << c.logged;
    EXPECT_EQ(std::wstring(app.gui.GetStatusText()->getText()), c.shown);
  }
}
