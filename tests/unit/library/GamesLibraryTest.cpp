// The games library on a real SQLite file in a temporary folder: storing and
// finding games, migrating an old schema, recovering from a broken file, two
// writers at once, copies opening a new file at once, a writer killed
// mid-transaction, the PGN export, and writes that fail (full disk, read-only
// folder, a lock held too long).
#include "game/CGamesLibrary.h"

#include "chess/CPgnReader.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char *const PGN_EXTRACT = "/usr/games/pgn-extract";

// Three short games, each legal to the end.
const char *const MOVES[] = {
    "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0",
    "1. f3 e5 2. g4 Qh4# 0-1",
    "1. d4 d5 2. c4 e6 3. Nc3 Nf6 1/2-1/2",
};
const char *const RESULTS[] = {"1-0", "0-1", "1/2-1/2"};

GameEntry MakeGame(int n) {
  GameEntry game;
  const int kind = n % 3;
  game.pgn = std::string("[Event \"Kelvar game\"]\n[Site \"?\"]\n[Date \"2026.01.02\"]\n[Round \"") +
             std::to_string(n) + "\"]\n[White \"Player " + std::to_string(n) +
             "\"]\n[Black \"Stockfish\"]\n[Result \"" + RESULTS[kind] + "\"]\n\n" + MOVES[kind] + "\n";
  game.date = "2026-01-02";
  game.side = kind == 2 ? PlayerSide::Both : PlayerSide::White;
  game.opponent = kind == 2 ? "second player" : "Stockfish level " + std::to_string(kind + 3);
  if (kind != 2)
    game.level = kind + 3;
  game.result = RESULTS[kind];
  game.reason = kind == 2 ? "agreement" : "checkmate";
  game.timeControl = "300+2";
  game.opening = "C20 King's Pawn Game";
  game.rated = kind == 0;
  if (game.rated) {
    game.ratingBefore = 1500;
    game.ratingAfter = 1512.5;
  }
  return game;
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs SQL on the file with a connection of its own, as another program would.
std::string Sql(const std::string &path, const std::string &sql) {
  sqlite3 *db = nullptr;
  std::string out;
  sqlite3_open(path.c_str(), &db);
  char *message = nullptr;
  const int rc = sqlite3_exec(
      db, sql.c_str(),
      [](void *text, int columns, char **values, char **) {
        for (int i = 0; i < columns; ++i)
          *static_cast<std::string *>(text) +=
              std::string(values[i] ? values[i] : "NULL") + (i + 1 < columns ? "|" : "\n");
        return 0;
      },
      &out, &message);
  EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
  return out;
}

class GamesLibrary : public ::testing::Test {
protected:
  void SetUp() override {
    char name[] = "/tmp/kelvar-library-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
    path = folder + "/kelvar/games.sqlite";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder + "/kelvar", fs::perms::owner_all, ignored);
    fs::remove_all(folder, ignored);
  }
  // Waits for a forked child and returns its exit status (-1 if it did not exit).
  static int Wait(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string folder, path, error;
};

TEST_F(GamesLibrary, StoresListsFiltersGetsAndDeletes) {
  CGamesLibrary library;
  ASSERT_TRUE(library.Open(path, error)) << error;
  std::vector<long long> ids;
  for (int n = 0; n < 6; ++n) {
    ids.push_back(library.Store(MakeGame(n), error));
    ASSERT_GT(ids.back(), 0) << error;
  }
  EXPECT_EQ(library.Count(error), 6);

  std::vector<GameEntry> games;
  ASSERT_TRUE(library.List({}, games, error)) << error;
  ASSERT_EQ(games.size(), 6u);
  for (size_t i = 0; i < games.size(); ++i)
    EXPECT_EQ(games[i].id, ids[ids.size() - 1 - i]) << "newest first";

  struct Filter {
    const char *result; // null: any
    int level;          // 0: any
    int limit;
    std::vector<int> games; // the MakeGame numbers expected, newest first
  };
  const Filter filters[] = {
      {"1-0", 0, 0, {3, 0}},  {nullptr, 4, 0, {4, 1}}, {"0-1", 3, 0, {}},
      {"1/2-1/2", 0, 1, {5}}, {nullptr, 0, 2, {5, 4}},
  };
  for (const Filter &f : filters) {
    GameFilter filter;
    if (f.result)
      filter.result = f.result;
    if (f.level)
      filter.level = f.level;
    filter.limit = f.limit;
    ASSERT_TRUE(library.List(filter, games, error)) << error;
    std::vector<int> found;
    for (const GameEntry &game : games)
      found.push_back(int(std::find(ids.begin(), ids.end(), game.id) - ids.begin()));
    EXPECT_EQ(found, f.games) << (f.result ? f.result : "any") << " level " << f.level << " limit " << f.limit;
  }

  // Every field comes back as stored, the null ones null.
  for (int n : {0, 2}) {
    GameEntry got;
    ASSERT_TRUE(library.Get(ids[n], got, error)) << error;
    const GameEntry want = MakeGame(n);
    EXPECT_EQ(got.pgn, want.pgn);
    EXPECT_EQ(got.date, want.date);
    EXPECT_EQ(got.side, want.side);
    EXPECT_EQ(got.opponent, want.opponent);
    EXPECT_EQ(got.level, want.level);
    EXPECT_EQ(got.result, want.result);
    EXPECT_EQ(got.reason, want.reason);
    EXPECT_EQ(got.timeControl, want.timeControl);
    EXPECT_EQ(got.opening, want.opening);
    EXPECT_EQ(got.rated, want.rated);
    EXPECT_EQ(got.ratingBefore, want.ratingBefore);
    EXPECT_EQ(got.ratingAfter, want.ratingAfter);
    EXPECT_FALSE(got.accuracyWhite || got.accuracyBlack);
    EXPECT_TRUE(std::regex_match(got.storedAt, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")))
        << got.storedAt;
  }

  ASSERT_TRUE(library.SetAccuracy(ids[1], 91.5, 64.25, error)) << error;
  GameEntry reviewed;
  ASSERT_TRUE(library.Get(ids[1], reviewed, error));
  EXPECT_EQ(reviewed.accuracyWhite, 91.5);
  EXPECT_EQ(reviewed.accuracyBlack, 64.25);

  ASSERT_TRUE(library.Delete(ids[1], error)) << error;
  EXPECT_EQ(library.Count(error), 5);
  error.clear();
  EXPECT_FALSE(library.Get(ids[1], reviewed, error));
  EXPECT_EQ(error, "") << "a missing game is no failure";
  EXPECT_FALSE(library.Delete(ids[1], error));
  EXPECT_FALSE(library.SetAccuracy(ids[1], 1, 1, error));
  EXPECT_NE(error.find("no game"), std::string::npos) << error;

  // The games outlive the connection.
  library.Close();
  CGamesLibrary again;
  ASSERT_TRUE(again.Open(path, error)) << error;
  EXPECT_EQ(again.Count(error), 5);
}

TEST_F(GamesLibrary, OldSchemaIsMigratedAndItsGamesKept) {
  fs::create_directories(folder + "/kelvar");
  // The schema of version 1, as the first release wrote it.
  Sql(path, "CREATE TABLE games (id INTEGER PRIMARY KEY, pgn TEXT NOT NULL, date TEXT NOT NULL,"
            " player_side TEXT NOT NULL CHECK (player_side IN ('white', 'black', 'both')), opponent TEXT NOT NULL,"
            " level INTEGER, result TEXT NOT NULL, reason TEXT NOT NULL, time_control TEXT NOT NULL,"
            " opening TEXT NOT NULL, rated INTEGER NOT NULL DEFAULT 0 CHECK (rated IN (0, 1)), rating_before REAL,"
            " rating_after REAL, stored_at TEXT NOT NULL);"
            "CREATE INDEX games_by_stored_at ON games (stored_at);"
            "INSERT INTO games (pgn, date, player_side, opponent, level, result, reason, time_control, opening,"
            " rated, rating_before, rating_after, stored_at) VALUES ('1. e4 *', '2025-03-04', 'black',"
            " 'Stockfish level 2', 2, '0-1', 'resignation', '-', 'B00 King''s Pawn', 1, 1480, 1471.5,"
            " '2025-03-04T10:00:00.000Z');"
            "PRAGMA user_version = 1;");
  CGamesLibrary library;
  std::string notice;
  ASSERT_TRUE(library.Open(path, error, notice)) << error;
  EXPECT_EQ(notice, "");
  EXPECT_EQ(Sql(path, "PRAGMA user_version"), std::to_string(CGamesLibrary::SCHEMA_VERSION) + "\n");
  EXPECT_EQ(Sql(path, "PRAGMA journal_mode"), "wal\n");
  EXPECT_EQ(Sql(path, "SELECT name FROM sqlite_master WHERE type = 'index' AND sql LIKE '%stored_at%'"),
            "games_by_stored_at\n");

  std::vector<GameEntry> games;
  ASSERT_TRUE(library.List({}, games, error)) << error;
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].pgn, "1. e4 *");
  EXPECT_EQ(games[0].side, PlayerSide::Black);
  EXPECT_EQ(games[0].level, 2);
  EXPECT_EQ(games[0].opening, "B00 King's Pawn");
  EXPECT_EQ(games[0].ratingAfter, 1471.5);
  EXPECT_FALSE(games[0].accuracyWhite);
  // The old rated game's rating is taken up, with a new player's deviation.
  chess::Rating last;
  ASSERT_TRUE(library.LastRating(last, error)) << error;
  EXPECT_EQ(last.rating, 1471.5);
  EXPECT_EQ(last.rd, 350);
  // The columns the migrations added work, and new games go after the old one.
  EXPECT_TRUE(library.SetAccuracy(games[0].id, 50, 60, error)) << error;
  GameEntry rated = MakeGame(0);
  const long long id = library.StoreRated(
      rated,
      [](const chess::Rating &before, GameEntry &game) {
        game.ratingBefore = before.rating;
        game.ratingAfter = before.rating + 10;
        game.rdAfter = before.rd - 50;
        game.volatilityAfter = 0.07;
      },
      error);
  ASSERT_GT(id, games[0].id) << error;
  ASSERT_TRUE(library.List({}, games, error));
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[0].id, id);
  EXPECT_EQ(games[0].ratingBefore, 1471.5);
  EXPECT_EQ(games[1].accuracyBlack, 60);
  ASSERT_TRUE(library.LastRating(last, error)) << error;
  EXPECT_EQ(last.rating, 1481.5);
  EXPECT_EQ(last.rd, 300);
  EXPECT_EQ(last.volatility, 0.07);
  // A casual game after it leaves the rating alone.
  GameEntry casual = MakeGame(1);
  ASSERT_GT(library.Store(casual, error), id) << error;
  ASSERT_TRUE(library.LastRating(last, error)) << error;
  EXPECT_EQ(last.rating, 1481.5);

  // A file from a newer version is refused and left as it is.
  library.Close();
  Sql(path, "PRAGMA user_version = 99");
  EXPECT_FALSE(library.Open(path, error, notice));
  EXPECT_NE(error.find("newer version"), std::string::npos) << error;
  EXPECT_EQ(Sql(path, "SELECT count(*) FROM games"), "3\n");
}

TEST_F(GamesLibrary, BrokenFileIsMovedAsideAndANewOneStarted) {
  // A real library cut short after its first pages.
  std::string truncated;
  {
    CGamesLibrary library;
    ASSERT_TRUE(library.Open(path, error)) << error;
    GameEntry big = MakeGame(0);
    big.opening = std::string(3000, 'x'); // spreads the games over many pages
    for (int n = 0; n < 40; ++n)
      ASSERT_GT(library.Store(big, error), 0) << error;
  }
  truncated = ReadFile(path).substr(0, 4096 * 3);
  const std::string cases[] = {std::string("this is no database at all, just some text\n") + std::string(5000, '\x7f'),
                               truncated};
  for (const std::string &content : cases) {
    SCOPED_TRACE(content.size());
    fs::remove_all(folder + "/kelvar");
    fs::create_directories(folder + "/kelvar");
    std::ofstream(path, std::ios::binary) << content;
    std::ofstream(path + "-wal", std::ios::binary) << "left over";

    CGamesLibrary library;
    std::string notice;
    ASSERT_TRUE(library.Open(path, error, notice)) << error;
    std::vector<std::string> aside;
    for (const auto &entry : fs::directory_iterator(folder + "/kelvar"))
      if (entry.path().filename().string().find(".broken-") != std::string::npos)
        aside.push_back(entry.path().filename().string());
    std::sort(aside.begin(), aside.end());
    // The file and its -wal go aside together (with the -shm SQLite made
    // while reading them).
    ASSERT_GE(aside.size(), 2u);
    EXPECT_TRUE(std::regex_match(aside[0], std::regex(R"(games\.sqlite\.broken-\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d)")))
        << aside[0];
    const std::vector<std::string> journals(aside.begin() + 1, aside.end());
    EXPECT_TRUE(journals == std::vector<std::string>{aside[0] + "-wal"} ||
                journals == (std::vector<std::string>{aside[0] + "-shm", aside[0] + "-wal"}))
        << journals.back();
    EXPECT_EQ(ReadFile(folder + "/kelvar/" + aside[0]), content) << "kept unchanged";
    EXPECT_EQ(ReadFile(folder + "/kelvar/" + aside[0] + "-wal"), "left over");
    EXPECT_NE(notice.find(aside[0]), std::string::npos) << notice;

    EXPECT_EQ(library.Count(error), 0);
    EXPECT_GT(library.Store(MakeGame(1), error), 0) << error;
    EXPECT_EQ(library.Count(error), 1);
  }
}

TEST_F(GamesLibrary, TwoProcessesWriteAtOnce) {
  // Both children start on a missing file: one makes the schema, the other waits for it.
  pid_t children[2];
  for (pid_t &child : children) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CGamesLibrary library;
      std::string failure;
      int failures = library.Open(path, failure) ? 0 : 50;
      // Every game is rated one point up from the last one stored by either.
      const auto onePointUp = [](const chess::Rating &before, GameEntry &game) {
        game.rated = true;
        game.ratingBefore = before.rating;
        game.ratingAfter = before.rating + 1;
      };
      for (int n = 0; n < 50 && failures == 0; ++n) {
        GameEntry game = MakeGame(n);
        failures += library.StoreRated(game, onePointUp, failure) == 0;
      }
      if (failures)
        fprintf(stderr, "child %d: %s\n", int(getpid()), failure.c_str());
      _exit(failures);
    }
  }
  for (pid_t child : children)
    EXPECT_EQ(Wait(child), 0);
  CGamesLibrary library;
  ASSERT_TRUE(library.Open(path, error)) << error;
  EXPECT_EQ(library.Count(error), 100);
  // No rating was read while the other copy was between reading and storing.
  chess::Rating last;
  ASSERT_TRUE(library.LastRating(last, error)) << error;
  EXPECT_EQ(last.rating, 1600);
}

TEST_F(GamesLibrary, CopiesOpeningANewFileTogetherAllGetIt) {
  // Each round three copies, released together by closing a pipe, open a
  // file that does not exist yet. When the library did not wait for the
  // switch to WAL, one copy was refused within 30 rounds in each of 5 runs.
  for (int round = 0; round < 60; ++round) {
    const std::string file = folder + "/kelvar/new-" + std::to_string(round) + ".sqlite";
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t children[3];
    for (pid_t &child : children) {
      child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        close(go[1]);
        char byte;
        (void)!read(go[0], &byte, 1);
        CGamesLibrary library;
        std::string failure;
        const bool opened = library.Open(file, failure);
        if (!opened)
          fprintf(stderr, "round %d: %s\n", round, failure.c_str());
        _exit(opened ? 0 : 1);
      }
    }
    close(go[0]);
    close(go[1]);
    for (pid_t child : children)
      ASSERT_EQ(Wait(child), 0) << "round " << round;
  }
}

TEST_F(GamesLibrary, WriterKilledBeforeCommitLeavesOnlyCommittedGames) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CGamesLibrary library;
    std::string failure;
    bool ok = library.Open(path, failure);
    for (int n = 0; n < 5 && ok; ++n)
      ok = library.Store(MakeGame(n), failure) > 0;
    // A second connection starts a large transaction; the small cache makes
    // SQLite spill its pages into the WAL before the commit that never comes.
    sqlite3 *db = nullptr;
    ok = ok && sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
         sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (int n = 0; n < 200 && ok; ++n)
      ok = sqlite3_exec(db,
                        "INSERT INTO games (pgn, date, player_side, opponent, result, reason, time_control, opening,"
                        " stored_at) VALUES (hex(randomblob(2000)), '', 'white', '', '*', '', '', '', '')",
                        nullptr, nullptr, nullptr) == SQLITE_OK;
    const char signal = ok ? 'y' : 'n';
    if (write(ready[1], &signal, 1) != 1)
      _exit(1);
    for (;;)
      pause();
  }
  close(ready[1]);
  char signal = 0;
  ASSERT_EQ(read(ready[0], &signal, 1), 1);
  close(ready[0]);
  kill(child, SIGKILL);
  Wait(child);
  ASSERT_EQ(signal, 'y') << "the child could not start its transaction";
  EXPECT_GT(fs::file_size(path + "-wal"), 200u * 2000) << "the uncommitted rows reached the disk";

  CGamesLibrary library;
  std::string notice;
  ASSERT_TRUE(library.Open(path, error, notice)) << error;
  EXPECT_EQ(notice, "") << "the file was not taken for broken";
  EXPECT_EQ(library.Count(error), 5);
  EXPECT_EQ(Sql(path, "PRAGMA integrity_check"), "ok\n");
}

TEST_F(GamesLibrary, ExportIsOnePgnFileOfEveryGame) {
  CGamesLibrary library;
  ASSERT_TRUE(library.Open(path, error)) << error;
  for (int n = 0; n < 4; ++n)
    ASSERT_GT(library.Store(MakeGame(n), error), 0) << error;
  const std::string file = folder + "/all games.pgn";
  std::ofstream(file) << "an older export";
  ASSERT_TRUE(library.ExportAll(file, error)) << error;

  const std::string text = ReadFile(file);
  std::vector<chess::PgnGameEntry> games;
  chess::PgnError fault;
  ASSERT_TRUE(chess::CPgnReader::ReadAll(text, games, fault)) << fault.reason;
  ASSERT_EQ(games.size(), 4u);
  for (int n = 0; n < 4; ++n) {
    chess::PgnGame stored;
    ASSERT_TRUE(chess::CPgnReader::Read(MakeGame(n).pgn, stored, fault)) << fault.reason;
    EXPECT_TRUE(games[n].ok) << games[n].error.reason;
    EXPECT_EQ(games[n].game.tags, stored.tags) << "oldest first";
    EXPECT_EQ(games[n].game.moves.size(), stored.moves.size());
    EXPECT_EQ(games[n].game.result, stored.result);
  }
  EXPECT_NE(text.find("1-0\n\n[Event"), std::string::npos) << "a blank line between two games";

  if (access(PGN_EXTRACT, X_OK) == 0) {
    const std::string complaints = folder + "/complaints";
    const std::string command =
        std::string(PGN_EXTRACT) + " -r -s '" + file + "' -o /dev/null 2>'" + complaints + "' >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(complaints), "");
  }

  // An export that cannot be written says so and leaves no file behind.
  EXPECT_FALSE(library.ExportAll(folder + "/no such folder/games.pgn", error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(fs::exists(folder + "/no such folder"));
}

TEST_F(GamesLibrary, FullDiskIsReportedAndTheLibraryStaysValid) {
  {
    CGamesLibrary library;
    ASSERT_TRUE(library.Open(path, error)) << error;
    ASSERT_GT(library.Store(MakeGame(0), error), 0) << error;
  }
  // A child whose files may not grow much more stands for a full disk.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead
    CGamesLibrary library;
    std::string failure;
    if (!library.Open(path, failure))
      _exit(2);
    const rlimit limit{256 * 1024, 256 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    GameEntry big = MakeGame(1);
    big.pgn += std::string(1024 * 1024, ' ');
    const long long id = library.Store(big, failure);
    _exit(id == 0 && failure.find(path) != std::string::npos ? 0 : 1);
  }
  EXPECT_EQ(Wait(child), 0) << "Store did not report the failed write";
  CGamesLibrary library;
  std::string notice;
  ASSERT_TRUE(library.Open(path, error, notice)) << error;
  EXPECT_EQ(notice, "");
  EXPECT_EQ(library.Count(error), 1);
}

TEST_F(GamesLibrary, ReadOnlyFolderIsReported) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root writes into any folder";
  {
    CGamesLibrary library;
    ASSERT_TRUE(library.Open(path, error)) << error;
    ASSERT_GT(library.Store(MakeGame(0), error), 0) << error;
  }
  fs::permissions(path, fs::perms::owner_read);
  fs::permissions(folder + "/kelvar", fs::perms::owner_read | fs::perms::owner_exec);
  CGamesLibrary library;
  error.clear();
  if (library.Open(path, error)) {
    EXPECT_EQ(library.Store(MakeGame(1), error), 0);
  }
  EXPECT_NE(error.find(path), std::string::npos) << error;
  fs::permissions(folder + "/kelvar", fs::perms::owner_all);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(library.Open(path, error)) << error;
  EXPECT_EQ(library.Count(error), 1);
}

TEST_F(GamesLibrary, LockHeldTooLongIsReported) {
  CGamesLibrary library;
  ASSERT_TRUE(library.Open(path, error)) << error;
  sqlite3 *other = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(library.Store(MakeGame(0), error), 0);
  EXPECT_NE(error.find("locked"), std::string::npos) << error;
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_GT(library.Store(MakeGame(0), error), 0) << error;
  EXPECT_EQ(library.Count(error), 1);
}

} // namespace

// The Games window's list: every game as List gives it, newest first, only
// without its PGN text.
TEST_F(GamesLibrary, ListWithoutPgnLeavesOnlyTheTextOut) {
  CGamesLibrary library;
  ASSERT_TRUE(library.Open(path, error)) << error;
  for (int n = 0; n < 4; ++n)
    ASSERT_GT(library.Store(MakeGame(n), error), 0) << error;
  ASSERT_TRUE(library.SetAccuracy(2, 80.5, 70.25, error)) << error;
  std::vector<GameEntry> full, light;
  ASSERT_TRUE(library.List({}, full, error)) << error;
  ASSERT_TRUE(library.ListWithoutPgn(light, error)) << error;
  ASSERT_EQ(light.size(), full.size());
  const auto fields = [](const GameEntry &g) {
    return std::tie(g.id, g.date, g.side, g.opponent, g.level, g.result, g.reason, g.timeControl, g.opening,
                    g.accuracyWhite, g.accuracyBlack, g.rated, g.ratingBefore, g.ratingAfter, g.storedAt);
  };
  for (size_t i = 0; i < full.size(); ++i) {
    EXPECT_FALSE(full[i].pgn.empty());
    EXPECT_TRUE(light[i].pgn.empty());
    EXPECT_TRUE(fields(light[i]) == fields(full[i])) << "game " << full[i].id;
  }
  library.Close();
  EXPECT_FALSE(library.ListWithoutPgn(light, error));
  EXPECT_TRUE(light.empty());
}
