// The games library as the player browses it (Program > Games..., key G):
// every game kept, newest first, filtered by the player's result and by the
// engine's level; the player's rating over the rated games and the score
// against each level; a game opened onto the board (as Local Game > Load
// opens a file), reviewed, or deleted after a question. The library is open
// only while it is read or written, as the game keeper holds it.
#pragma once

#include "chess/PgnGame.h"
#include "game/CGamesLibrary.h"
#include "ui/CGamesWindow.h"

#include <irrlicht.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How a game ended for the player. A game of two players at one board is
// taken from White's side, by its result as written ("1-0" a win).
enum class GameOutcome { Win, Loss, Draw, Unfinished };

// The result filter's choices, in the order the window offers them.
enum class ResultFilter { All, Wins, Losses, Draws };

// The player's games against one level of the engine.
struct LevelScore {
  int level = 0;
  int wins = 0, draws = 0, losses = 0;
  int unfinished = 0; // abandoned: in no score
  int Finished() const { return wins + draws + losses; }
};

class CGamesBrowser {
public:
  bool Init() { return true; }
  // Lays the open window out again after the program's window changed size.
  void Update();
  void Exit() { Close(); }

  // Reads the library and opens the window on all games, or (when it is
  // open) reads it again. Logs "games window: <n> games listed in <ms> ms".
  void Show();
  void Close();
  bool IsOpen() const { return window.IsOpen(); }

  // Lists the games that match both filters (the window's choices follow).
  void SetFilter(ResultFilter result, std::optional<int> level);
  // Chooses a row of the table (-1: none).
  void SelectRow(irr::s32 row);
  // The game of the chosen row, or null.
  const GameEntry *Chosen() const;

  // The buttons. Open shows the chosen game on the board as a file opened
  // by Local Game > Load is shown; Review opens the review of it; Delete
  // asks "Delete the game of <date> against <opponent>?", and Yes deletes
  // it and lists the library again. Open and Review close the window; false
  // when nothing was done (no row chosen, a game that cannot be read, a
  // library that cannot be).
  bool OpenChosen();
  bool ReviewChosen();
  void AskDelete();

  // The window's events and keys (Up, Down, Page Up/Down, Home, End move
  // through the table while it has the focus, Enter opens the game chosen,
  // Delete asks to delete it, Escape closes the window; Enter answers the
  // question Yes, Escape No); true when they were the browser's.
  bool OnGuiEvent(const irr::SEvent::SGUIEvent &event);
  bool OnKey(const irr::SEvent::SKeyInput &key);
  // A double click on a row of the table opens its game; true when it was
  // over the table's rows.
  bool OnDoubleClick(const irr::core::position2d<irr::s32> &point);

  // Every game read, newest first (their PGN text is read only to open one).
  const std::vector<GameEntry> &GetGames() const { return games; }
  // The games listed, as indexes into GetGames(), in the table's order.
  const std::vector<std::size_t> &GetListed() const { return listed; }
  const CGamesWindow &GetWindow() const { return window; }

  static GameOutcome OutcomeOf(const GameEntry &game);
  static bool Matches(const GameEntry &game, ResultFilter result, const std::optional<int> &level);
  // The score against every level the player has met, lowest level first.
  static std::vector<LevelScore> ScoresByLevel(const std::vector<GameEntry> &games);
  // "Level 3 Casual: 4 games, +2 =1 -1, 62%", the percentage rounded down
  // (so 100% only for a clean score), and "(1 unfinished)" when there are.
  static std::wstring ScoreText(const LevelScore &score);
  // The player's rating after each rated game, oldest first, from games
  // listed newest first.
  static std::vector<double> RatingSeries(const std::vector<GameEntry> &newestFirst);
  // A game's row as the table shows it.
  static GamesRow RowOf(const GameEntry &game);
  // "Delete the game of 2026-05-01 against Stockfish, level 3?"
  static std::wstring DeleteQuestion(const GameEntry &game);
  // Reads every game of the library at path as the window lists them: the
  // entries, newest first and without their PGN text, and their rows. Opens
  // and closes library; false, with error, when it could not be read;
  // notice says where a broken file was moved.
  static bool ReadGames(CGamesLibrary &library, const std::string &path, std::vector<GameEntry> &games,
                        std::vector<GamesRow> &rows, std::string &error, std::string &notice);

private:
  // Forgets the delete question and returns the game it asked about (0 for
  // none). Its box is taken away when a key answered it; when one of its
  // buttons did, the box is inside its own event and closes itself.
  long long TakeQuestion(bool removeBox);
  // Deletes a game and lists the library again.
  bool DeleteGame(long long id);
  // Opens, lists and closes the library; false, with error, when it could not be read.
  bool ReadLibrary(std::string &error);
  // Opens the window (at the current screen size) and fills it.
  void Build();
  // Shows what was read: the table, the rating graph and the scores.
  void Fill();
  void ShowListed();
  // The chosen game's PGN text read from the library; false (with a message to the player) if it cannot be.
  bool ReadChosen(GameEntry &entry);
  // The table's selection moved by a key.
  void MoveSelection(int by, bool toEnd);

  CGamesLibrary library; // kept between reads: its file is checked once
  std::vector<GameEntry> games;
  std::vector<GamesRow> rows; // rows[i] shows games[i]
  std::vector<std::size_t> listed;
  ResultFilter resultFilter = ResultFilter::All;
  std::optional<int> levelFilter;
  CGamesWindow window;
  irr::core::dimension2d<irr::s32> builtForSize{0, 0};
  long long askedToDelete = 0;                    // the game the open question is about
  irr::gui::IGUIWindow *deleteQuestion = nullptr; // ... and its box (held)
  bool refocus = false;                           // the table takes the keys again once the question's box has gone
  uint32_t lastRowClickMs = 0;                    // two clicks on one row within a moment open it
  irr::s32 lastRowClicked = -1;
};
