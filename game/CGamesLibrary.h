// Every finished game, kept in an SQLite database (games.sqlite in the
// player's data folder) so that the games can be listed, filtered, reviewed
// again and exported.
//
// Two copies of the game may write at once: the database runs in WAL mode and
// waits a while for the other's lock. A file that is no database (garbage,
// cut short, damaged) is moved aside under a dated name and a fresh library
// started, so the game never stops on it. Nothing here throws: every failure
// (a full or read-only disk, a lock held too long) comes back as a message,
// and the caller decides what the player is told.
#pragma once

#include "chess/Glicko.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// Which side the player had; Both for a game of two players at one board.
enum class PlayerSide { White, Black, Both };

struct GameEntry {
  long long id = 0; // given by Store
  std::string pgn;  // the whole game as PGN text
  std::string date; // when it was played, ISO 8601 ("2026-12-07")
  PlayerSide side = PlayerSide::White;
  std::string opponent;                               // "Stockfish level 5", or "second player"
  std::optional<int> level;                           // the engine's level; none for two players
  std::string result;                                 // "1-0", "0-1", "1/2-1/2" or "*"
  std::string reason;                                 // "checkmate", "resignation", "time forfeit", ...
  std::string timeControl;                            // in PGN form: "300+2", "-"
  std::string opening;                                // ECO code and name: "C50 Italian Game"
  std::optional<double> accuracyWhite, accuracyBlack; // set by a review
  bool rated = false;
  std::optional<double> ratingBefore, ratingAfter; // the player's, for a rated game
  std::optional<double> rdAfter, volatilityAfter;  // ... and the rest of the rating after it
  std::string storedAt;                            // UTC time of Store, ISO 8601 with milliseconds; given by Store
};

// What List returns; an unset field matches every game.
struct GameFilter {
  std::optional<std::string> result;
  std::optional<int> level;
  int limit = 0; // at most this many, newest first; 0 for all
};

class CGamesLibrary {
public:
  // The schema version this code writes; older databases are brought up to it.
  static constexpr int SCHEMA_VERSION = 3;
  // How long a write waits for another copy of the game before giving up.
  static constexpr int BUSY_TIMEOUT_MS = 2000;

  CGamesLibrary() = default;
  ~CGamesLibrary() { Close(); }
  CGamesLibrary(const CGamesLibrary &) = delete;
  CGamesLibrary &operator=(const CGamesLibrary &) = delete;

  // $XDG_DATA_HOME/kelvar/games.sqlite (~/.local/share/kelvar/...); empty
  // when no data folder can be found.
  static std::string DefaultPath();

  // Opens (creating the folder and the file if needed) and brings the schema
  // up to date. A file that is not a readable database is renamed to
  // "<path>.broken-<date>_<time>" with its -wal and -shm files and a new one
  // made; notice then tells the player where the old one went (otherwise it
  // is cleared). False, with error, when no usable library can be had (the
  // folder cannot be made, the disk is read-only for a new file, the file
  // comes from a newer version of the game).
  bool Open(const std::string &path, std::string &error, std::string &notice);
  bool Open(const std::string &path, std::string &error);
  void Close();
  bool IsOpen() const { return db != nullptr; }
  const std::string &GetPath() const { return path; }

  // Stores a game in one transaction and returns its id; 0, with error, if
  // it could not be written (nothing is stored then).
  long long Store(const GameEntry &game, std::string &error);
  // Given the player's rating before the game (the last rated game's, or a
  // new player's), fills in the game's rating fields.
  using RateFunction = std::function<void(const chess::Rating &before, GameEntry &game)>;
  // Stores a game like Store, first handing rate the rating to start from,
  // read under the same write lock, so that two copies of the game storing
  // rated games at once each rate from the other's result.
  long long StoreRated(GameEntry &game, const RateFunction &rate, std::string &error);
  // The player's rating after the last rated game (a new player's when there
  // is none). False, with error, if the database could not be read.
  bool LastRating(chess::Rating &rating, std::string &error) const;
  // Sets a reviewed game's accuracies. False, with error, if the write
  // failed or there is no such game.
  bool SetAccuracy(long long id, double white, double black, std::string &error);
  // The games matching filter, newest first. False, with error, if the
  // database could not be read (games is then empty).
  bool List(const GameFilter &filter, std::vector<GameEntry> &games, std::string &error) const;
  // False with an empty error when there is no such game; with error on failure.
  bool Get(long long id, GameEntry &game, std::string &error) const;
  // False, with error, if the write failed or there is no such game.
  bool Delete(long long id, std::string &error);
  // The number of games; -1, with error, on failure.
  long long Count(std::string &error) const;
  // Writes every game's PGN, oldest first, a blank line between two, to one
  // file through a temporary file renamed over it. False, with error, if the
  // library could not be read or the file written (the old file is kept).
  bool ExportAll(const std::string &file, std::string &error) const;

  // --- Read-only queries for the Games window ---
  // Every game, newest first, as List gives them without a filter, but with
  // pgn left empty: the window lists thousands of games and reads the text
  // of the one it opens with Get. Copying every game's text made the list
  // two to three times slower.
  bool ListWithoutPgn(std::vector<GameEntry> &games, std::string &error) const;

private:
  enum class OpenOutcome { Ok, Broken, Failed };
  OpenOutcome TryOpen(std::string &error);
  std::string checkedPath; // the file whose whole check has passed
  bool Migrate(std::string &error, bool &broken);
  int ReadLastRating(chess::Rating &rating) const; // an SQLite result code

  sqlite3 *db = nullptr;
  std::string path;
};
