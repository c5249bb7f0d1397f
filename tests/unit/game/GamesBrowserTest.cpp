// The Games window: outcomes and scores from the player's side, the rating
// series, and (with the whole program on the null driver, its library in the
// test's own data folder) the key G, the filters, the keys and clicks of the
// table, Open, Review, Delete after its question, and the layout at the
// smallest and the usual window size.
#include "tests/unit/game/GameFixture.h"

#include "game/CGamesBrowser.h"
#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <cstdlib>

namespace {

GameEntry Game(PlayerSide side, const char *result, std::optional<int> level, const char *reason = "checkmate") {
  GameEntry game;
  game.side = side;
  game.result = result;
  game.level = level;
  game.reason = reason;
  game.opponent = level ? "Stockfish, level " + std::to_string(*level) : "second player";
  return game;
}

} // namespace

TEST(GamesBrowserLogic, OutcomesAndFiltersAreThePlayers) {
  const struct {
    PlayerSide side;
    const char *result;
    GameOutcome outcome;
  } cases[] = {
      {PlayerSide::White, "1-0", GameOutcome::Win},      {PlayerSide::White, "0-1", GameOutcome::Loss},
      {PlayerSide::Black, "1-0", GameOutcome::Loss},     {PlayerSide::Black, "0-1", GameOutcome::Win},
      {PlayerSide::Black, "1/2-1/2", GameOutcome::Draw}, {PlayerSide::White, "*", GameOutcome::Unfinished},
      {PlayerSide::Both, "1-0", GameOutcome::Win},       {PlayerSide::Both, "0-1", GameOutcome::Loss},
      {PlayerSide::Both, "1/2-1/2", GameOutcome::Draw},  {PlayerSide::Black, "", GameOutcome::Unfinished},
  };
  for (const auto &c : cases) {
    const GameEntry game = Game(c.side, c.result, 3);
    SCOPED_TRACE(std::string(c.result) + " side " + std::to_string(int(c.side)));
    EXPECT_EQ(CGamesBrowser::OutcomeOf(game), c.outcome);
    EXPECT_TRUE(CGamesBrowser::Matches(game, ResultFilter::All, std::nullopt));
    EXPECT_EQ(CGamesBrowser::Matches(game, ResultFilter::Wins, std::nullopt), c.outcome == GameOutcome::Win);
    EXPECT_EQ(CGamesBrowser::Matches(game, ResultFilter::Losses, std::nullopt), c.outcome == GameOutcome::Loss);
    EXPECT_EQ(CGamesBrowser::Matches(game, ResultFilter::Draws, std::nullopt), c.outcome == GameOutcome::Draw);
    EXPECT_TRUE(CGamesBrowser::Matches(game, ResultFilter::All, 3));
    EXPECT_FALSE(CGamesBrowser::Matches(game, ResultFilter::All, 4));
  }
  // A game of two players has no level: only "All levels" lists it.
  EXPECT_FALSE(CGamesBrowser::Matches(Game(PlayerSide::Both, "1-0", std::nullopt), ResultFilter::Wins, 1));
}

TEST(GamesBrowserLogic, ScoresPerLevelFromThePlayersSide) {
  const std::vector<GameEntry> games = {
      Game(PlayerSide::White, "1-0", 3),
      Game(PlayerSide::Black, "0-1", 3),
      Game(PlayerSide::White, "1/2-1/2", 3),
      Game(PlayerSide::Black, "1-0", 3),
      Game(PlayerSide::White, "*", 3, "abandoned"),
      Game(PlayerSide::Black, "1-0", 5),
      Game(PlayerSide::Both, "1-0", std::nullopt),
      Game(PlayerSide::White, "*", 1, "abandoned"),
  };
  std::vector<std::wstring> lines;
  for (const LevelScore &score : CGamesBrowser::ScoresByLevel(games))
    lines.push_back(CGamesBrowser::ScoreText(score));
  const std::vector<std::wstring> expected = {
      L"Level 1 Beginner: no finished game (1 unfinished)",
      L"Level 3 Casual: 4 games, +2 =1 -1, 62% (1 unfinished)",
      L"Level 5 Strong club: 1 game, +0 =0 -1, 0%",
  };
  EXPECT_EQ(lines, expected);

  // The percentage is rounded down: only a clean score shows 100%.
  const struct {
    int wins, draws, losses, percent;
  } rounding[] = {{1, 1, 0, 75}, {2, 0, 1, 66}, {0, 1, 0, 50}, {199, 1, 0, 99}, {5, 0, 0, 100}, {0, 0, 3, 0}};
  for (const auto &r : rounding) {
    LevelScore score;
    score.level = 2;
    score.wins = r.wins;
    score.draws = r.draws;
    score.losses = r.losses;
    const std::wstring text = CGamesBrowser::ScoreText(score);
    EXPECT_EQ(text.substr(text.rfind(L", ") + 2), std::to_wstring(r.percent) + L"%")
        << std::string(text.begin(), text.end());
  }
}

TEST(GamesBrowserLogic, RatingSeriesRunsOldestFirstOverRatedGames) {
  std::vector<GameEntry> newestFirst;
  const struct {
    bool rated;
    std::optional<double> after;
  } games[] = {{true, 1540}, {false, std::nullopt}, {true, std::nullopt}, {true, 1510}, {false, 1400}, {true, 1500}};
  for (const auto &g : games) {
    GameEntry game = Game(PlayerSide::White, "1-0", 4);
    game.rated = g.rated;
    game.ratingAfter = g.after;
    newestFirst.push_back(game);
  }
  EXPECT_EQ(CGamesBrowser::RatingSeries(newestFirst), (std::vector<double>{1500, 1510, 1540}));
  EXPECT_TRUE(CGamesBrowser::RatingSeries({}).empty());
}

TEST(GamesBrowserLogic, RowsAndTheDeleteQuestionNameTheGame) {
  GameEntry game = Game(PlayerSide::Black, "0-1", 5, "resignation");
  game.date = "2026.05.01";
  game.opening = "B20 Sicilian defence";
  GamesRow row = CGamesBrowser::RowOf(game);
  EXPECT_EQ(row.date, L"2026-05-01");
  EXPECT_EQ(row.colour, L"Black");
  EXPECT_EQ(row.opponent, L"Stockfish, level 5");
  EXPECT_EQ(row.result, L"0-1 (resignation)");
  EXPECT_EQ(row.opening, L"B20 Sicilian defence");
  EXPECT_EQ(CGamesBrowser::DeleteQuestion(game), L"Delete the game of 2026-05-01 against Stockfish, level 5?");
  // An unknown date comes from the time the game was stored; an unfinished game says how it was left.
  game = Game(PlayerSide::Both, "*", std::nullopt, "abandoned");
  game.date = "????.??.??";
  game.storedAt = "2026-06-02T10:11:12.131Z";
  row = CGamesBrowser::RowOf(game);
  EXPECT_EQ(row.date, L"2026-06-02");
  EXPECT_EQ(row.colour, L"Both");
  EXPECT_EQ(row.result, L"abandoned");
}

namespace {

const char *const FOOLS_MATE = "[Event \"Casual game\"]\n[Date \"2026.05.02\"]\n[White \"Player\"]\n"
                               "[Black \"Stockfish\"]\n[Result \"0-1\"]\n\n1. f3 e5 2. g4 Qh4# 0-1\n";

class GamesWindow : public GameFixture {
protected:
  void SetUp() override {
    unsetenv("KELVAR_GAMES_DB"); // the library of the test's own data folder
    StartProgram("bestmove e7e5\n");
  }

  // Stores the games in order (the last is the newest); returns their ids.
  static std::vector<long long> Store(const std::vector<GameEntry> &games) {
    CGamesLibrary library;
    std::string error;
    std::vector<long long> ids;
    EXPECT_TRUE(library.Open(CGameKeeper::LibraryPath(), error)) << error;
    for (GameEntry game : games) {
      if (game.pgn.empty())
        game.pgn = FOOLS_MATE;
      ids.push_back(library.Store(game, error));
    }
    return ids;
  }
  static long long Count() {
    CGamesLibrary library;
    std::string error;
    return library.Open(CGameKeeper::LibraryPath(), error) ? library.Count(error) : -1;
  }
  // The six games most tests list: newest last.
  static std::vector<long long> StoreSix() {
    std::vector<GameEntry> games = {
        Game(PlayerSide::White, "1-0", 3),
        Game(PlayerSide::Black, "0-1", 3, "resignation"),
        Game(PlayerSide::White, "1/2-1/2", 3, "stalemate"),
        Game(PlayerSide::Black, "1-0", 5),
        Game(PlayerSide::Both, "0-1", std::nullopt),
        Game(PlayerSide::White, "*", 3, "abandoned"),
    };
    for (size_t i = 0; i < games.size(); ++i)
      games[i].date = "2026.05.0" + std::to_string(i + 1);
    return Store(games);
  }
  // A key pressed and released as the device hands it on.
  static void Key(irr::EKEY_CODE key) {
    for (const bool down : {true, false}) {
      irr::SEvent event{};
      event.EventType = irr::EET_KEY_INPUT_EVENT;
      event.KeyInput.Key = key;
      event.KeyInput.PressedDown = down;
      app.device->postEventFromUser(event);
    }
  }
  static bool Gui(irr::gui::EGUI_EVENT_TYPE type, irr::gui::IGUIElement *caller) {
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.Caller = caller;
    event.GUIEvent.EventType = type;
    return app.eventReceiver.OnEvent(event);
  }
  static const CGamesWindow &Window() { return app.gamesBrowser.GetWindow(); }
  static std::wstring Cell(irr::u32 row, irr::u32 column) { return Window().GetTable()->getCellText(row, column); }
  static void ChooseFilters(int result, int level) {
    Window().GetResultBox()->setSelected(result);
    Gui(irr::gui::EGET_COMBO_BOX_CHANGED, Window().GetResultBox());
    Window().GetLevelBox()->setSelected(level);
    Gui(irr::gui::EGET_COMBO_BOX_CHANGED, Window().GetLevelBox());
  }
  // Clicks Yes or No of the open message box, as the player does.
  static bool AnswerBox(bool yes) {
    std::vector<irr::gui::IGUIElement *> open = {app.guiEnvironment->getRootGUIElement()};
    while (!open.empty()) {
      irr::gui::IGUIElement *e = open.back();
      open.pop_back();
      if (e->getType() == irr::gui::EGUIET_MESSAGE_BOX)
        for (irr::gui::IGUIElement *child : e->getChildren())
          if (child->getType() == irr::gui::EGUIET_BUTTON && std::wstring(child->getText()) == (yes ? L"Yes" : L"No")) {
            irr::SEvent click{};
            click.EventType = irr::EET_GUI_EVENT;
            click.GUIEvent.Caller = child;
            click.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
            e->OnEvent(click);
            return true;
          }
      for (irr::gui::IGUIElement *child : e->getChildren())
        open.push_back(child);
    }
    return false;
  }
  // The centre of a row of the table on the screen.
  static irr::core::position2di RowCentre(int row) {
    const irr::core::rect<irr::s32> table = Window().GetTable()->getAbsolutePosition();
    const int height = int(app.guiEnvironment->getSkin()->getFont()->getDimension(L"A").Height) + 4;
    return {table.UpperLeftCorner.X + 40, table.UpperLeftCorner.Y + height * (row + 1) + height / 2 + 1};
  }
};

} // namespace

TEST_F(GamesWindow, KeyGListsTheGamesNewestFirstAndTheFiltersNarrowThem) {
  StoreSix();
  testing_support::LogCapture log(app.device);
  Key(irr::KEY_KEY_G);
  ASSERT_TRUE(app.gamesBrowser.IsOpen());
  bool logged = false;
  for (const std::string &line : log.Lines())
    logged |= line.rfind("Kelvar: games window: 6 games listed in ", 0) == 0 && line.find(" ms") != std::string::npos;
  EXPECT_TRUE(logged);
  ASSERT_EQ(Window().GetTable()->getRowCount(), 6);
  EXPECT_EQ(Cell(0, 0), L"2026-05-06");
  EXPECT_EQ(Cell(0, 3), L"abandoned");
  EXPECT_EQ(Cell(1, 1), L"Both");
  EXPECT_EQ(Cell(5, 2), L"Stockfish, level 3");
  EXPECT_EQ(Cell(5, 3), L"1-0 (checkmate)");
  EXPECT_EQ(std::wstring(Window().GetCountText()->getText()), L"6 games");

  const struct {
    int result, level; // the combo boxes' choices
    std::vector<std::wstring> dates;
  } filters[] = {
      {1, 0, {L"2026-05-02", L"2026-05-01"}},                               // wins
      {2, 0, {L"2026-05-05", L"2026-05-04"}},                               // losses: two players by the result
      {3, 0, {L"2026-05-03"}},                                              // draws
      {0, 3, {L"2026-05-06", L"2026-05-03", L"2026-05-02", L"2026-05-01"}}, // level 3
      {1, 3, {L"2026-05-02", L"2026-05-01"}},
      {2, 3, {}},
      {0, 0, {L"2026-05-06", L"2026-05-05", L"2026-05-04", L"2026-05-03", L"2026-05-02", L"2026-05-01"}},
  };
  for (const auto &f : filters) {
    ChooseFilters(f.result, f.level);
    std::vector<std::wstring> dates;
    for (irr::s32 row = 0; row < Window().GetTable()->getRowCount(); ++row)
      dates.push_back(Cell(irr::u32(row), 0));
    EXPECT_EQ(dates, f.dates) << "result " << f.result << ", level " << f.level;
    // Open, Review and Delete act on a chosen game only.
    EXPECT_EQ(Window().GetButton(ID_GAMES_OPEN)->isEnabled(), !f.dates.empty());
  }
  ChooseFilters(1, 0);
  EXPECT_EQ(std::wstring(Window().GetCountText()->getText()), L"2 of 6 games");
  ChooseFilters(0, 0);

  // The scores; no rated game yet.
  EXPECT_EQ(std::wstring(Window().GetScoresText()->getText()),
            L"Level 3 Casual: 3 games, +2 =1 -0, 83% (1 unfinished)\nLevel 5 Strong club: 1 game, +0 =0 -1, 0%");
  EXPECT_TRUE(Window().GetNoRatingText()->isVisible());

  // The keys move through the table; Escape closes the window.
  EXPECT_EQ(Window().GetSelectedRow(), 0);
  Key(irr::KEY_DOWN);
  Key(irr::KEY_DOWN);
  EXPECT_EQ(Window().GetSelectedRow(), 2);
  Key(irr::KEY_END);
  EXPECT_EQ(Window().GetSelectedRow(), 5);
  Key(irr::KEY_DOWN);
  EXPECT_EQ(Window().GetSelectedRow(), 5);
  Key(irr::KEY_HOME);
  EXPECT_EQ(Window().GetSelectedRow(), 0);
  Key(irr::KEY_ESCAPE);
  EXPECT_FALSE(app.gamesBrowser.IsOpen());

  // Rated games draw the graph and name the latest rating.
  GameEntry rated = Game(PlayerSide::White, "1-0", 4);
  rated.rated = true;
  for (const double after : {1512.0, 1530.4}) {
    rated.ratingAfter = after;
    Store({rated});
  }
  Key(irr::KEY_KEY_G);
  ASSERT_TRUE(app.gamesBrowser.IsOpen());
  EXPECT_FALSE(Window().GetNoRatingText()->isVisible());
  EXPECT_EQ(std::wstring(Window().GetRatingText()->getText()), L"Rating 1530 after 2 rated games");
  ASSERT_NE(Window().GetGraph()->getImage(), nullptr);
}

TEST_F(GamesWindow, KeyGWaitsWhileADialogHoldsTheKeys) {
  app.gui.ShowMessageBox(L"Test", L"A question", irr::gui::EMBF_YES | irr::gui::EMBF_NO, -1);
  Key(irr::KEY_KEY_G);
  EXPECT_FALSE(app.gamesBrowser.IsOpen());
  ASSERT_TRUE(AnswerBox(false));
  Key(irr::KEY_KEY_G);
  EXPECT_TRUE(app.gamesBrowser.IsOpen());
}

TEST_F(GamesWindow, DeleteAsksFirstThenTheRowGoes) {
  const std::vector<long long> ids = StoreSix();
  app.gamesBrowser.Show();
  app.gamesBrowser.SelectRow(3); // the draw of 2026-05-03
  testing_support::LogCapture log(app.device);
  EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Window().GetButton(ID_GAMES_DELETE)));
  EXPECT_TRUE(MessageBoxSays(L"Delete the game of 2026-05-03 against Stockfish, level 3?"));
  Key(irr::KEY_ESCAPE); // No; the window stays
  EXPECT_FALSE(MessageBoxSays(L"Delete the game"));
  ASSERT_TRUE(app.gamesBrowser.IsOpen());
  EXPECT_EQ(Count(), 6);
  EXPECT_EQ(Window().GetTable()->getRowCount(), 6);

  EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Window().GetButton(ID_GAMES_DELETE)));
  ASSERT_TRUE(AnswerBox(true));
  EXPECT_EQ(Count(), 5);
  ASSERT_EQ(Window().GetTable()->getRowCount(), 5);
  for (irr::u32 row = 0; row < 5; ++row)
    EXPECT_NE(Cell(row, 0), L"2026-05-03");
  EXPECT_EQ(Window().GetSelectedRow(), 3); // the next older game took its place
  EXPECT_EQ(Cell(3, 0), L"2026-05-02");
  EXPECT_TRUE(log.Contains("Kelvar: games window: game " + std::to_string(ids[2]) + " deleted"));
  // The draw no longer counts.
  EXPECT_EQ(std::wstring(Window().GetScoresText()->getText()),
            L"Level 3 Casual: 2 games, +2 =0 -0, 100% (1 unfinished)\nLevel 5 Strong club: 1 game, +0 =0 -1, 0%");

  // From the keyboard: Delete asks about the chosen game, Enter answers Yes.
  Key(irr::KEY_DELETE);
  EXPECT_TRUE(MessageBoxSays(L"Delete the game of 2026-05-02 against Stockfish, level 3?"));
  Key(irr::KEY_RETURN);
  EXPECT_FALSE(MessageBoxSays(L"Delete the game"));
  EXPECT_EQ(Count(), 4);
  EXPECT_EQ(Window().GetTable()->getRowCount(), 4);
  EXPECT_TRUE(log.Contains("Kelvar: games window: game " + std::to_string(ids[1]) + " deleted"));

  // Closed, the window leaves the keys to the board: G opens it again.
  Key(irr::KEY_ESCAPE);
  ASSERT_FALSE(app.gamesBrowser.IsOpen());
  Key(irr::KEY_KEY_G);
  EXPECT_TRUE(app.gamesBrowser.IsOpen());
}

TEST_F(GamesWindow, ADoubleClickOpensTheGameOnTheBoardAndReviewReviewsIt) {
  const std::vector<long long> ids = StoreSix();
  app.gamesBrowser.Show();
  testing_support::LogCapture log(app.device);
  // A click on the fifth row (the resignation of 2026-05-02), then a double click.
  const irr::core::position2di row = RowCentre(4);
  testing_support::PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, row.X, row.Y);
  testing_support::PostMouse(irr::EMIE_LMOUSE_LEFT_UP, row.X, row.Y);
  ASSERT_EQ(Window().GetSelectedRow(), 4);
  EXPECT_EQ(app.gamesBrowser.Chosen()->id, ids[1]);
  testing_support::PostMouse(irr::EMIE_LMOUSE_DOUBLE_CLICK, row.X, row.Y);
  EXPECT_FALSE(app.gamesBrowser.IsOpen());
  EXPECT_TRUE(log.Contains("Kelvar: PGN loaded 4 plies from the games library (game " + std::to_string(ids[1]) + ")"));
  EXPECT_TRUE(app.game.IsGameOver());
  EXPECT_EQ(app.game.GetRecord().GetPlyCount(), 4u);
  Frames(2);
  EXPECT_EQ(Count(), 6); // a game only opened is not kept again

  app.gamesBrowser.Show();
  app.gamesBrowser.SelectRow(5);
  EXPECT_TRUE(Gui(irr::gui::EGET_BUTTON_CLICKED, Window().GetButton(ID_GAMES_REVIEW)));
  EXPECT_FALSE(app.gamesBrowser.IsOpen());
  EXPECT_TRUE(app.review.IsOpen());
  EXPECT_TRUE(log.Contains("Kelvar: review of the games library (game " + std::to_string(ids[0]) + "): 4 plies"));
  app.review.Close();
}

TEST_F(GamesWindow, FitsTheSmallestAndTheUsualWindow) {
  StoreSix();
  app.gamesBrowser.Show();
  for (const irr::core::dimension2d<irr::s32> size :
       {irr::core::dimension2d<irr::s32>(800, 600), irr::core::dimension2d<irr::s32>(1024, 768)}) {
    SCOPED_TRACE(std::to_string(size.Width) + " x " + std::to_string(size.Height));
    app.windowSize = size;
    app.gamesBrowser.Update(); // laid out again for the new size
    irr::gui::IGUIWindow *window = Window().GetWindow();
    const irr::core::rect<irr::s32> frame = window->getAbsolutePosition();
    EXPECT_GE(frame.UpperLeftCorner.X, 0);
    EXPECT_GE(frame.UpperLeftCorner.Y, 20); // under the menu bar
    EXPECT_LE(frame.LowerRightCorner.X, size.Width);
    EXPECT_LE(frame.LowerRightCorner.Y, size.Height);
    std::vector<irr::gui::IGUIElement *> parts;
    for (irr::gui::IGUIElement *child : window->getChildren())
      if (child->isVisible())
        parts.push_back(child);
    for (size_t i = 0; i < parts.size(); ++i) {
      const irr::core::rect<irr::s32> a = parts[i]->getAbsolutePosition();
      EXPECT_TRUE(frame.isRectCollided(a) && frame.isPointInside(a.UpperLeftCorner) &&
                  frame.isPointInside(a.LowerRightCorner - irr::core::position2di(1, 1)))
          << "element " << i << " leaves the window";
      for (size_t j = i + 1; j < parts.size(); ++j)
        EXPECT_FALSE(a.isRectCollided(parts[j]->getAbsolutePosition())) << "elements " << i << " and " << j;
    }
    // Eight levels' lines fit under the title of the scores.
    const irr::s32 line = irr::s32(app.guiEnvironment->getSkin()->getFont()->getDimension(L"Ag").Height);
    EXPECT_GE(Window().GetScoresText()->getAbsolutePosition().getHeight(), 8 * line);
    // The columns fill the table without a horizontal scroll bar.
    irr::s32 columns = 0;
    for (irr::s32 c = 0; c < Window().GetTable()->getColumnCount(); ++c)
      columns += irr::s32(Window().GetTable()->getColumnWidth(irr::u32(c)));
    EXPECT_LE(columns, Window().GetTable()->getAbsolutePosition().getWidth() - 16);
    EXPECT_EQ(Window().GetTable()->getRowCount(), 6);
  }
}

TEST_F(GamesWindow, ALongListIsOnScreenAtOnceAndFilledOverTheNextFrames) {
  const size_t count = CGamesWindow::FIRST_ROWS + 250;
  Store(std::vector<GameEntry>(count, Game(PlayerSide::White, "1-0", 2)));
  app.gamesBrowser.Show();
  EXPECT_EQ(Window().GetTable()->getRowCount(), irr::s32(CGamesWindow::FIRST_ROWS));
  EXPECT_EQ(std::wstring(Window().GetCountText()->getText()), std::to_wstring(count) + L" games");
  Key(irr::KEY_END); // the last game, not yet in the table, is put there and chosen
  EXPECT_EQ(Window().GetSelectedRow(), irr::s32(count - 1));
  EXPECT_EQ(app.gamesBrowser.Chosen(), &app.gamesBrowser.GetGames().back());
  app.gamesBrowser.Close();
  app.gamesBrowser.Show();
  Frames(1);
  EXPECT_EQ(Window().GetTable()->getRowCount(), irr::s32(count));
}
