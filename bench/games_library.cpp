// The games library at 10,000 games, in a temporary folder (never the
// player's own): storing one more game as the game keeper does (open, store,
// close; the goal is under 5 ms), reading every game for the Games window
// with the rows its table shows (under 200 ms), and opening the whole window
// on the null driver (the library read, the table filled, graph and scores).
// KELVAR_BENCH_GAMES sets another number of games.
#include "app/CApplication.h"
#include "game/CGamesBrowser.h"
#include "game/CGamesLibrary.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string folder; // the temporary folder: library, settings, data
std::string libraryPath;
CGamesLibrary keeperLibrary; // opened once before the timing, as the keeper opens it at start

const char *const OPENINGS[] = {"C60 Ruy Lopez (Spanish opening)", "B20 Sicilian defence",      "D06 Queen's Gambit",
                                "A00 Polish (Sokolsky) opening",   "E60 King's Indian defence", ""};
const char *const REASONS[] = {"checkmate", "resignation", "time forfeit", "stalemate", "abandoned"};

// A game of 80 plies with a clock comment after each move, about as long as
// a game of the library played on the clock.
std::string GamePgn(int n) {
  std::string pgn = "[Event \"Casual game\"]\n[Site \"Kelvar\"]\n[Date \"2026.05.01\"]\n[Round \"-\"]\n"
                    "[White \"Player\"]\n[Black \"Stockfish\"]\n[Result \"1-0\"]\n[TimeControl \"300+3\"]\n"
                    "[ECO \"C60\"]\n[Opening \"Ruy Lopez (Spanish opening)\"]\n\n";
  for (int move = 1; move <= 40; ++move) {
    char text[96];
    std::snprintf(text, sizeof text, "%d. Nf3 {[%%clk 0:04:%02d]} Nf6 {[%%clk 0:04:%02d]} ", move, (n + move) % 60,
                  (n * 7 + move) % 60);
    pgn += text;
  }
  return pgn + "1-0\n";
}

GameEntry Entry(int n) {
  GameEntry game;
  game.pgn = GamePgn(n);
  char date[16];
  std::snprintf(date, sizeof date, "20%02d.%02d.%02d", 20 + n / 3000, 1 + n / 250 % 12, 1 + n % 28);
  game.date = date;
  game.side = n % 11 == 0 ? PlayerSide::Both : n % 2 ? PlayerSide::Black : PlayerSide::White;
  if (game.side == PlayerSide::Both) {
    game.opponent = "second player";
  } else {
    game.level = 1 + n % 8;
    game.opponent = "Stockfish 15.1, level " + std::to_string(*game.level);
  }
  game.reason = REASONS[n % 5];
  game.result = game.reason == std::string("abandoned")   ? "*"
                : game.reason == std::string("stalemate") ? "1/2-1/2"
                : n % 3                                   ? "1-0"
                                                          : "0-1";
  game.timeControl = "300+3";
  game.opening = OPENINGS[n % 6];
  game.rated = n % 4 != 0 && game.side != PlayerSide::Both;
  if (game.rated) {
    game.ratingBefore = 1500 + (n % 200);
    game.ratingAfter = 1500 + ((n + 1) % 200);
  }
  return game;
}

bool Fill(int count) {
  std::string error;
  CGamesLibrary library;
  if (!library.Open(libraryPath, error)) {
    std::fprintf(stderr, "cannot open %s: %s\n", libraryPath.c_str(), error.c_str());
    return false;
  }
  const auto start = std::chrono::steady_clock::now();
  for (int n = 0; n < count; ++n)
    if (library.Store(Entry(n), error) == 0) {
      std::fprintf(stderr, "cannot store game %d: %s\n", n, error.c_str());
      return false;
    }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "filled %s with %d games in %.1f s (%.2f MB)\n", libraryPath.c_str(), count, seconds,
               double(std::filesystem::file_size(libraryPath)) / 1e6);
  return true;
}

// Takes the games a benchmark stored out again, so that the next one finds
// the library as it was filled.
void Forget(const std::vector<long long> &ids) {
  CGamesLibrary library;
  std::string error;
  if (library.Open(libraryPath, error))
    for (long long id : ids)
      library.Delete(id, error);
}

// Open, store, close: what the keeper does for every game kept.
void BM_StoreOneMoreGame(benchmark::State &state) {
  std::string error;
  const GameEntry game = Entry(12345);
  std::vector<long long> stored;
  for (auto _ : state) {
    const long long id = keeperLibrary.Open(libraryPath, error) ? keeperLibrary.Store(game, error) : 0;
    keeperLibrary.Close();
    if (id == 0) {
      state.SkipWithError(error.c_str());
      break;
    }
    stored.push_back(id);
  }
  Forget(stored);
}

// The same store with the library held open (the WAL file kept between
// stores, no checkpoint): what the open and close around it cost.
void BM_StoreWithTheLibraryHeldOpen(benchmark::State &state) {
  std::string error;
  const GameEntry game = Entry(54321);
  CGamesLibrary library;
  if (!library.Open(libraryPath, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<long long> stored;
  for (auto _ : state) {
    stored.push_back(library.Store(game, error));
    if (stored.back() == 0) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  library.Close();
  Forget(stored);
}

// Every game read for the window and its rows built, the library opened and closed around it.
void BM_ListGamesForTheWindow(benchmark::State &state) {
  CGamesLibrary library;
  std::vector<GameEntry> games;
  std::vector<GamesRow> rows;
  std::string error, notice;
  for (auto _ : state) {
    if (!CGamesBrowser::ReadGames(library, libraryPath, games, rows, error, notice)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["games"] = double(games.size());
}

bool StartTheGame() {
  static bool started = false;
  if (!started && chdir(KELVAR_RUN_DIR) == 0 && gl_Init(irr::video::EDT_NULL)) {
    app.logger->setLogLevel(irr::ELL_ERROR);
    started = true;
  }
  return started;
}

// The whole window on the null driver, until it is on screen: the library
// read, the first rows in the table, graph and scores; then closed. With
// wholeTable, also until every row is in the table, as the frames after
// the first put them there.
void OpenTheWindow(benchmark::State &state, bool wholeTable) {
  if (!StartTheGame()) {
    state.SkipWithError("the game could not start on the null driver");
    return;
  }
  for (auto _ : state) {
    app.gamesBrowser.Show();
    while (wholeTable && !app.gamesBrowser.GetWindow().IsFilled())
      app.gamesBrowser.Update();
    state.PauseTiming();
    if (!app.gamesBrowser.IsOpen() || app.gamesBrowser.GetListed().empty()) {
      state.SkipWithError("the window did not list the games");
      return;
    }
    state.counters["rows"] = double(app.gamesBrowser.GetWindow().GetTable()->getRowCount());
    app.gamesBrowser.Close();
    state.ResumeTiming();
  }
}

void BM_OpenTheGamesWindow(benchmark::State &state) { OpenTheWindow(state, false); }
void BM_OpenTheGamesWindowWholeTable(benchmark::State &state) { OpenTheWindow(state, true); }

BENCHMARK(BM_StoreOneMoreGame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_StoreWithTheLibraryHeldOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_ListGamesForTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_OpenTheGamesWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_OpenTheGamesWindowWholeTable)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace

int main(int argc, char **argv) {
  char made[] = "/tmp/kelvar-bench-games-XXXXXX";
  if (!mkdtemp(made))
    return 1;
  folder = made;
  // The game started for the last benchmark keeps its settings and data here too.
  setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
  libraryPath = folder + "/games.sqlite";
  setenv("KELVAR_GAMES_DB", libraryPath.c_str(), 1);
  const char *given = getenv("KELVAR_BENCH_GAMES");
  const int count = given ? std::atoi(given) : 10000;
  std::string error;
  int status = 1;
  // The keeper's own library object has checked the file once, at start.
  if (Fill(count) && keeperLibrary.Open(libraryPath, error)) {
    keeperLibrary.Close();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    status = 0;
  }
  if (app.device)
    gl_Exit();
  std::filesystem::remove_all(folder);
  return status;
}
