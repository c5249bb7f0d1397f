// Every game played is kept in the games library (an SQLite database in the
// player's data folder): a game played to its end when it ends, and one
// abandoned after at least one move (aborted, or replaced by a new or opened
// game) when it is left. A game only opened from a file and not played on is
// not kept, nor is the unfinished game at quit (it waits to be resumed). A
// library that cannot be opened or written is reported once; the game goes on.
#pragma once

#include "chess/PgnGame.h"
#include "game/CGamesLibrary.h"

#include <cstddef>
#include <cstdint>
#include <string>

class CGameKeeper {
public:
  // Opens the library at its default place (or KELVAR_GAMES_DB); a broken
  // file moved aside is told to the player.
  bool Init();
  // Watches the game: keeps it when it ends or is left.
  void Update();
  void Exit() { library.Close(); }

  // The library's file ("" when none could be opened at start).
  const std::string &GetPath() const { return library.GetPath(); }
  // The library's id of the last game kept, 0 if none.
  long long GetLastKept() const { return lastKept; }

  // "kelvar --export-games FILE": the whole library as one PGN file; the
  // exit code (0, or 1 with a message on standard error).
  static int ExportGames(const std::string &file);
  // Where the library lives: KELVAR_GAMES_DB when set, else its default
  // place in the data folder ("" when there is none). The Games window reads
  // the same file.
  static std::string LibraryPath();

private:
  // The game as it stands, with who played it: taken after every change, so
  // that a game left is kept as it was even once the next one has begun.
  void Look();
  // Keeps the game as it was last seen; reason names how it ended or "abandoned".
  void Keep(const std::string &reason);

  CGamesLibrary library;
  bool reported = false; // a failure is told to the player once
  uint64_t gameId = 0;
  std::size_t pliesAtStart = 0; // the plies a game came with (from a file)
  bool played = false;          // a move was played since
  bool kept = false;            // this game is in the library
  chess::PgnGame lastSeen;      // the game as it stood after its last change
  GameEntry seenEntry;          // ... and who played it
  uint64_t revisionSeen = 0;
  long long lastKept = 0;
};
