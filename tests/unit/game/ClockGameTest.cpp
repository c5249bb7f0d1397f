// Games on the clock against the scripted engine, on the fixture's clock:
// the engine told both times, a flag that ends the game, take back after
// it, and a saved game that plays on under its own clock.
#include "tests/unit/game/GameFixture.h"

#include "chess/CPgnReader.h"
#include "tests/support/LogCapture.h"
#include "ui/CConfigWindow.h"
#include "ui/GuiIds.h"

#include <regex>

namespace {

class ClockGame : public GameFixture {
protected:
  void SetTimeControl(const std::string &value) {
    CSettings changed = app.settings.Get();
    std::string reason;
    ASSERT_TRUE(chess::TimeControl::Parse(value, changed.timeControl, reason)) << reason;
    app.settings.Apply(changed);
  }
  // Real time passes too, a few milliseconds a frame: times agree within this.
  static constexpr int64_t SLACK_MS = 400;
};

} // namespace

TEST_F(ClockGame, TheEngineIsToldTheClockAndAFlagEndsTheGameOnTime) {
  StartProgram("bestmove e7e5 g8f6\n");
  testing_support::LogCapture log(app.device);
  SetTimeControl("10+2");
  StartGame(White);
  EXPECT_NEAR(app.clock.Remaining(White), 12000, SLACK_MS) << "the increment comes before move 1 too";

  AdvanceMs(3000);
  PlayAndWaitForAnswer("e2", "e4");
  std::smatch go;
  const std::string sent = Transcript();
  ASSERT_TRUE(std::regex_search(sent, go,
                                std::regex("position startpos moves e2e4\ngo wtime ([0-9]+) btime ([0-9]+) winc 2000 "
                                           "binc 2000\n")))
      << sent;
  EXPECT_NEAR(std::stoll(go[1]), 11000, SLACK_MS) << "12 s, 3 s used, 2 s added";
  EXPECT_NEAR(std::stoll(go[2]), 12000, SLACK_MS);
  EXPECT_EQ(MovesSent().find("e2e4\n"), std::string::npos) << "under a clock the move goes with the position";

  // White thinks too long, the Config window open (a dialog stops no clock):
  // the flag falls, and the game ends at once.
  CConfigWindow::Show();
  AdvanceMs(11000 + SLACK_MS);
  Frames(2);
  ASSERT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(app.game.GetVerdict().reason, chess::GameEnd::TimeForfeit);
  const auto flag = std::find(log.Lines().begin(), log.Lines().end(), "Kelvar: clock flag fell: white");
  ASSERT_NE(flag, log.Lines().end());
  ASSERT_NE(flag + 1, log.Lines().end());
  EXPECT_EQ(*(flag + 1), "Kelvar: CGame game over: 0-1 (time forfeit)");
  ASSERT_NE(app.gui.GetBannerText(), nullptr);
  EXPECT_TRUE(app.gui.GetBannerText()->isVisible());
  EXPECT_EQ(std::wstring(app.gui.GetBannerText()->getText()), L"WHITE LOSES ON TIME\nBlack wins");
  EXPECT_EQ(app.clock.Remaining(White), 0);
  ASSERT_NE(CConfigWindow::GetOpen(), nullptr);
  CConfigWindow::GetOpen()->Cancel();

  // Take back after the flag: both clocks show what they showed before e2e4.
  ASSERT_TRUE(app.game.CanTakeBack());
  app.game.TakeBack();
  EXPECT_FALSE(app.game.IsGameOver());
  EXPECT_NEAR(app.clock.Remaining(White), 12000, SLACK_MS);
  EXPECT_NEAR(app.clock.Remaining(Black), 12000, SLACK_MS);
  EXPECT_EQ(app.clock.GetClock().Running(), White);
}

TEST_F(ClockGame, ASavedGameKeepsItsClocksAndPlaysOnUnderThem) {
  StartProgram("bestmove e7e5 g8f6\n");
  SetTimeControl("300+3");
  StartGame(White);
  AdvanceMs(6500);
  PlayAndWaitForAnswer("e2", "e4");
  const chess::PgnGame saved = app.gameFiles.CurrentGame();
  ASSERT_NE(saved.FindTag("TimeControl"), nullptr);
  EXPECT_EQ(*saved.FindTag("TimeControl"), "300+3");
  ASSERT_EQ(saved.moves.size(), 2u);
  EXPECT_EQ(saved.NotesOf(0).comments, std::vector<std::string>{"[%clk 0:04:59]"}) << "306 s less 6.5 s";
  ASSERT_EQ(saved.NotesOf(1).comments.size(), 1u);
  EXPECT_EQ(saved.NotesOf(1).comments[0].rfind("[%clk 0:05:0", 0), 0u) << saved.NotesOf(1).comments[0];

  // Another game without a clock, then the saved one: it plays on under its own.
  SetTimeControl("-");
  app.game.SetState(Idle);
  ASSERT_TRUE(app.gameFiles.ShowGame(saved, "the saved game"));
  EXPECT_FALSE(app.clock.GetClock().Running() != chess::ChessClock::NO_SIDE) << "nothing runs before a side is chosen";
  ASSERT_TRUE(ClickColorButton(ID_BUTTON_WHITE));
  EXPECT_TRUE(app.clock.IsOn());
  EXPECT_EQ(app.clock.GetClock().Control().ToString(), "300+3");
  EXPECT_NEAR(app.clock.Remaining(White), 299000, SLACK_MS);
  EXPECT_EQ(app.clock.GetClock().Running(), White);
}

TEST_F(ClockGame, AFlagAgainstALoneKingIsADraw) {
  StartProgram("");
  testing_support::LogCapture log(app.device);
  chess::PgnGame game;
  game.startFen = "8/8/8/4k3/8/8/8/4K2Q w - - 0 1";
  game.SetTag("TimeControl", "5");
  ASSERT_TRUE(app.gameFiles.ShowGame(game, "a lone king"));
  ASSERT_TRUE(ClickColorButton(ID_BUTTON_TWO_PLAYERS));
  AdvanceMs(5000);
  Frames(2);
  ASSERT_TRUE(app.game.IsGameOver());
  EXPECT_TRUE(log.Contains("Kelvar: CGame game over: 1/2-1/2 (time forfeit, insufficient material)"));
}
