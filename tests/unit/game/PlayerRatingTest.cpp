// The player's rating: which games count, how a counted game moves the
// rating (logged, stored, shown under the banner), and "level = auto".
// Every game is a fool's mate of the player against the scripted engine.
#include "tests/unit/game/GameFixture.h"

#include "engine/LevelRatings.h"
#include "game/CPlayerRating.h"
#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <cstring>
#include <memory>
#include <regex>

namespace {

// The log line of a counted game, with every figure to one decimal.
const std::regex RATING_LINE(R"(Kelvar: rating (\d+\.\d) \(RD (\d+\.\d), volatility (\d\.\d)\) -> (\d+\.\d) \(RD )"
                             R"((\d+\.\d), volatility (\d\.\d)\) after (1|0\.5|0) against level (\d) rated )"
                             R"((\d+\.\d) \(RD (\d+\.\d)\))");

GameEntry Finished(PlayerSide side, const char *result, int level) {
  GameEntry entry;
  entry.side = side;
  entry.result = result;
  entry.level = level;
  return entry;
}

TEST(RatePlayer, ScoreComesFromTheResultAndTheSideAndMovesTheRatingTheRightWay) {
  const chess::Rating start; // a new player: 1500 / 350 / 0.06
  struct Case {
    PlayerSide side;
    const char *result;
    int level;
    const char *score;
    int direction; // the rating's move: +1 up, -1 down
  } cases[] = {
      {PlayerSide::White, "1-0", 3, "1", +1},       {PlayerSide::Black, "1-0", 3, "0", -1},
      {PlayerSide::Black, "0-1", 8, "1", +1},       {PlayerSide::White, "0-1", 8, "0", -1},
      {PlayerSide::White, "1/2-1/2", 1, "0.5", -1}, // a draw with a far weaker level costs
      {PlayerSide::Black, "1/2-1/2", 8, "0.5", +1}, // ... and one with full strength gains
  };
  for (const Case &c : cases) {
    GameEntry entry = Finished(c.side, c.result, c.level);
    const std::string line = "Kelvar: " + CPlayerRating::Rate(start, entry);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, RATING_LINE)) << line;
    EXPECT_EQ(m[1], "1500.0");
    EXPECT_EQ(m[2], "350.0");
    EXPECT_EQ(m[7], c.score) << line;
    EXPECT_EQ(m[8], std::to_string(c.level));
    EXPECT_DOUBLE_EQ(std::stod(m[9]), std::round(RatingOfLevel(c.level).rating * 10) / 10);
    ASSERT_TRUE(entry.rated && entry.ratingBefore && entry.ratingAfter && entry.rdAfter && entry.volatilityAfter);
    EXPECT_EQ(*entry.ratingBefore, 1500);
    EXPECT_EQ(*entry.ratingAfter > 1500 ? 1 : -1, c.direction) << line;
    EXPECT_DOUBLE_EQ(std::stod(m[4]), std::round(*entry.ratingAfter * 10) / 10);
    // A game against a near level makes the rating surer; one against a level
    // far away tells little, and the volatility's share may even widen it a bit.
    EXPECT_LT(*entry.rdAfter, c.level == 3 ? 345 : 351) << line;
  }
}

class PlayerRating : public GameFixture {
protected:
  void StartWithLog(const std::string &script) {
    StartProgram(script);
    log = std::make_unique<testing_support::LogCapture>(app.device);
  }
  void TearDown() override {
    log.reset();
    GameFixture::TearDown();
  }
  // 1. f3 e5 2. g4 Qh4#: the player (White) is mated.
  void LoseFoolsMate() {
    PlayAndWaitForAnswer("f2", "f3");
    ClickSquare("g2");
    ClickSquare("g4");
    ASSERT_TRUE(FramesUntil([] { return app.game.IsGameOver(); }));
    Frames(2);
  }
  static GameEntry LastKept() {
    CGamesLibrary library;
    std::string error;
    GameEntry entry;
    EXPECT_TRUE(library.Open(app.keeper.GetPath(), error) && library.Get(app.keeper.GetLastKept(), entry, error))
        << error;
    return entry;
  }
  static std::wstring BannerNote() {
    irr::gui::IGUIStaticText *note = app.gui.GetBannerNote();
    return note && note->isVisible() ? note->getText() : L"";
  }
  std::unique_ptr<testing_support::LogCapture> log;
};

} // namespace

TEST_F(PlayerRating, ALostGameLowersTheRatingWhichTheNextStartTakesUp) {
  StartWithLog("bestmove e7e5 d8h4\n");
  StartGame(White);
  LoseFoolsMate();
  const GameEntry entry = LastKept();
  ASSERT_TRUE(entry.rated);
  ASSERT_TRUE(entry.ratingAfter);
  EXPECT_LT(*entry.ratingAfter, 1500);
  EXPECT_EQ(app.rating.Current().rating, *entry.ratingAfter);
  const std::wstring shown = L"Rating 1500 -> " + std::to_wstring(std::lround(*entry.ratingAfter));
  EXPECT_EQ(BannerNote(), shown);
  bool logged = false;
  for (const std::string &line : log->Lines())
    logged |= std::regex_search(line, RATING_LINE) && line.find(") after 0 against level 3 ") != std::string::npos;
  EXPECT_TRUE(logged);

  // The program started again reads the rating back from the library.
  const std::string path = app.keeper.GetPath();
  log.reset();
  gl_Exit();
  setenv("KELVAR_GAMES_DB", path.c_str(), 1);
  StartProgram("bestmove e7e5\n");
  unsetenv("KELVAR_GAMES_DB");
  EXPECT_EQ(app.rating.Current().rating, *entry.ratingAfter);
  EXPECT_EQ(app.rating.Current().rd, *entry.rdAfter);
}

// One program a case: take back, hint, level change.
class CasualGame : public PlayerRating, public testing::WithParamInterface<int> {};

TEST_P(CasualGame, MakesTheGameCasual) {
  const struct {
    const char *script; // the engine's moves, hints included
    const char *reason;
  } cases[] = {
      {"bestmove e7e5 e7e5 d8h4\n", "a move was taken back"},
      {"bestmove g1f3 e7e5 d8h4\n", "a hint was asked for"},
      {"bestmove e7e5 d8h4\n", "the level was changed"},
  };
  const auto &c = cases[GetParam()];
  StartWithLog(c.script);
  StartGame(White);
  if (GetParam() == 0) {
    PlayAndWaitForAnswer("e2", "e4");
    app.game.TakeBack();
  } else if (GetParam() == 1) {
    ASSERT_TRUE(app.hint.Request());
    ASSERT_TRUE(FramesUntil([] { return app.hint.GetMarks().IsShown(); }));
  } else {
    CSettings changed = app.settings.Get();
    changed.level = changed.level == 3 ? 4 : 3;
    app.settings.Apply(changed);
  }
  LoseFoolsMate();
  EXPECT_FALSE(LastKept().rated);
  EXPECT_EQ(app.rating.Current().rating, 1500);
  EXPECT_EQ(BannerNote(), L"Casual game: " + std::wstring(c.reason, c.reason + strlen(c.reason)));
  for (const std::string &line : log->Lines())
    EXPECT_FALSE(std::regex_search(line, RATING_LINE)) << line;
}

INSTANTIATE_TEST_SUITE_P(TakeBackHintLevel, CasualGame, testing::Values(0, 1, 2));

TEST_F(PlayerRating, TwoPlayersAndAbandonedGamesDoNotCount) {
  StartWithLog("bestmove e7e5\n");
  app.gui.ShowColorWindow();
  ASSERT_TRUE(ClickColorButton(ID_BUTTON_TWO_PLAYERS));
  for (const char *square : {"f2", "f3", "e7", "e5", "g2", "g4", "d8", "h4"})
    ClickSquare(square);
  ASSERT_TRUE(FramesUntil([] { return app.game.IsGameOver(); }));
  Frames(2);
  EXPECT_FALSE(LastKept().rated);
  EXPECT_EQ(BannerNote(), L"Casual game: two players");

  // Against the engine, left after a move: kept as abandoned, never rated.
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  app.game.SetState(Idle);
  Frames(2);
  const GameEntry left = LastKept();
  EXPECT_EQ(left.reason, "abandoned");
  EXPECT_FALSE(left.rated);
  EXPECT_EQ(app.rating.Current().rating, 1500);
}

TEST_F(PlayerRating, AutoLevelPicksTheLevelNearestTheRatingAtEachNewGame) {
  StartWithLog("bestmove e7e5 d8h4 e7e5\n");
  CSettings changed = app.settings.Get();
  changed.levelAuto = true;
  changed.level = 8;
  app.settings.Apply(changed);
  StartGame(White);
  const int first = LevelNearestRating(1500);
  EXPECT_EQ(app.settings.Get().level, first);
  EXPECT_TRUE(EngineReceived("setoption name Level value " + std::to_string(first) + "\n"));
  EXPECT_TRUE(log->Contains("level auto: level " + std::to_string(first)));
  LoseFoolsMate();
  ASSERT_TRUE(LastKept().rated) << "the level picked at the start is not a change";
  StartGame(White);
  EXPECT_EQ(app.settings.Get().level, LevelNearestRating(app.rating.Current().rating));
}
