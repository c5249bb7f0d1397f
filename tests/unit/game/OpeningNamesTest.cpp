// Opening names as a game is played against the scripted engine: logged when
// they change, shown in the status band and above the moves, written into a
// saved game's tags; without the ECO file the game plays on unnamed.
#include "tests/unit/game/GameFixture.h"

#include "tests/support/LogCapture.h"
#include "ui/CGUITextWindow.h"

#include <cstdlib>
#include <filesystem>

namespace {

class OpeningNames : public GameFixture {
protected:
  void TearDown() override {
    GameFixture::TearDown();
    unsetenv("KELVAR_ECO_FILE");
  }
  static std::string StatusLine() {
    const std::wstring wide = app.gui.GetStatusExtras()->getText();
    return std::string(wide.begin(), wide.end());
  }
};

} // namespace

TEST_F(OpeningNames, TheGameIsNamedAsItIsPlayed) {
  if (!std::filesystem::exists(COpeningNames::DEFAULT_FILE))
    GTEST_SKIP() << "no " << COpeningNames::DEFAULT_FILE << " (Debian package pgn-extract)";
  StartProgram("bestmove e7e5 b8c6 g8f6\n");
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(app.openings.HasBook());
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  PlayAndWaitForAnswer("g1", "f3");
  PlayAndWaitForAnswer("f1", "b5");
  EXPECT_TRUE(log.Contains("Kelvar: opening C60 Ruy Lopez (Spanish opening)"));
  const std::string name = app.openings.GetShownName(); // after 3...Nf6, a line of its own
  ASSERT_EQ(name.rfind("C6", 0), 0u) << name;
  EXPECT_NE(StatusLine().find(name), std::string::npos) << StatusLine();

  app.gui.ToggleMovesWindow();
  const std::wstring moves = app.gui.GetMovesWindow()->GetTextArea()->getText();
  EXPECT_EQ(std::string(moves.begin(), moves.end()), name + "\n\n1. e4 e5\n2. Nf3 Nc6\n3. Bb5 Nf6");

  const chess::PgnGame saved = app.gameFiles.CurrentGame();
  ASSERT_NE(saved.FindTag("ECO"), nullptr);
  EXPECT_EQ(name.rfind(*saved.FindTag("ECO") + " " + *saved.FindTag("Opening"), 0), 0u) << name;
}

TEST_F(OpeningNames, WithoutTheFileTheGamePlaysOnUnnamed) {
  setenv("KELVAR_ECO_FILE", "/nonexistent/eco.pgn", 1);
  StartProgram("bestmove e7e5\n");
  testing_support::LogCapture log(app.device);
  EXPECT_FALSE(app.openings.HasBook());
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  EXPECT_EQ(app.openings.GetShownName(), "");
  EXPECT_EQ(app.gameFiles.CurrentGame().FindTag("ECO"), nullptr);
}
