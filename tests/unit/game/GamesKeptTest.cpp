// The games library as the game fills it, against the scripted engine: a game
// played to its end and one abandoned after a move are kept with who played
// them and how they ended, a game only opened from a file is not, the whole
// library exports as one PGN file, and a broken library file is moved aside
// with a word to the player.
#include "tests/unit/game/GameFixture.h"

#include "chess/CPgnReader.h"
#include "tests/support/LogCapture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class GamesKept : public GameFixture {
protected:
  void TearDown() override {
    GameFixture::TearDown();
    unsetenv("KELVAR_GAMES_DB");
  }
  // The library as another program reads it: the game holds it open only
  // while it stores a game.
  static long long Count() {
    CGamesLibrary library;
    std::string error;
    return library.Open(app.keeper.GetPath(), error) ? library.Count(error) : -1;
  }
  static bool Get(long long id, GameEntry &entry) {
    CGamesLibrary library;
    std::string error;
    return library.Open(app.keeper.GetPath(), error) && library.Get(id, entry, error);
  }
};

} // namespace

TEST_F(GamesKept, PlayedAndAbandonedGamesAreKeptOpenedOnesAreNot) {
  StartProgram("bestmove e7e5 d8h4 e7e5\n");
  ASSERT_FALSE(app.keeper.GetPath().empty());
  StartGame(White);
  PlayAndWaitForAnswer("f2", "f3");
  ClickSquare("g2");
  ClickSquare("g4");
  ASSERT_TRUE(FramesUntil([] { return app.game.IsGameOver(); })); // 2...Qh4#
  Frames(2);
  ASSERT_EQ(Count(), 1);
  GameEntry entry;
  ASSERT_TRUE(Get(app.keeper.GetLastKept(), entry));
  EXPECT_EQ(entry.result, "0-1");
  EXPECT_EQ(entry.reason, "checkmate");
  EXPECT_EQ(entry.side, PlayerSide::White);
  ASSERT_TRUE(entry.level.has_value());
  EXPECT_EQ(entry.opponent, "Stockfish, level " + std::to_string(*entry.level));
  chess::PgnGame game;
  chess::PgnError fault;
  ASSERT_TRUE(chess::CPgnReader::Read(entry.pgn, game, fault)) << fault.reason;
  EXPECT_EQ(game.moves.size(), 4u);

  // Started again and left after one move: kept as abandoned.
  StartGame(White);
  PlayAndWaitForAnswer("e2", "e4");
  app.game.SetState(Idle);
  Frames(2);
  ASSERT_EQ(Count(), 2);
  ASSERT_TRUE(Get(app.keeper.GetLastKept(), entry));
  EXPECT_EQ(entry.result, "*");
  EXPECT_EQ(entry.reason, "abandoned");

  // A finished game opened from a file, then left: not played here, not kept.
  app.gameFiles.OpenGame(WriteFile("mate.pgn", "1. f3 e5 2. g4 Qh4# 0-1\n"));
  Frames(2);
  app.game.SetState(Idle);
  Frames(2);
  EXPECT_EQ(Count(), 2);

  const std::string exported = folder + "/all.pgn";
  EXPECT_EQ(CGameKeeper::ExportGames(exported), 0);
  std::ifstream in(exported);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<chess::PgnGameEntry> games;
  ASSERT_TRUE(chess::CPgnReader::ReadAll(text, games, fault)) << fault.reason;
  EXPECT_EQ(games.size(), 2u);
}

TEST_F(GamesKept, ABrokenLibraryIsMovedAsideAndTheGameGoesOn) {
  const std::string path = std::filesystem::temp_directory_path() / ("kelvar-broken-" + std::to_string(getpid()));
  std::filesystem::create_directories(path);
  std::ofstream(path + "/games.sqlite") << "this is no database, only words";
  setenv("KELVAR_GAMES_DB", (path + "/games.sqlite").c_str(), 1);
  StartProgram("bestmove e7e5\n", false);
  EXPECT_TRUE(MessageBoxSays(L"games.sqlite.broken-"));
  EXPECT_EQ(Count(), 0); // a new, empty library in its place
  bool movedAside = false;
  for (const auto &file : std::filesystem::directory_iterator(path))
    movedAside |= file.path().filename().string().rfind("games.sqlite.broken-", 0) == 0;
  EXPECT_TRUE(movedAside);
  std::filesystem::remove_all(path);
}
