// The player's rating (Glicko-2, against the levels' calibrated ratings) and
// whether the game in progress counts for it. The rating lives in the games
// library: each rated game stores the rating before and after it, and the
// last one is where the next game starts from.
#pragma once

#include "chess/Glicko.h"
#include "game/CGamesLibrary.h"
#include "game/CRatedGame.h"

#include <cstdint>
#include <string>

class CPlayerRating {
public:
  // Reads the player's rating from the library (a new player's if none).
  bool Init();
  // Watches for a new game to start its rated-or-casual record.
  void Update();
  void Exit() {}

  // The rating as it stands after the last rated game.
  const chess::Rating &Current() const { return current; }

  // What makes the game in progress casual.
  void OnTakeBack() { game.OnTakeBack(); }
  void OnHint() { game.OnHint(); }
  // The level was changed in the Config window; counts only during a game.
  void OnLevelChanged();
  const CRatedGame &GetGame() const { return game; }

  // The game on the board has ended and is being kept: true if it counts.
  bool CountsFinishedGame() const;
  // Why the game on the board does not count ("" if it does).
  std::string CasualReason() const;
  // Rates a finished game that counts, given the rating before it: fills in
  // the entry's rating fields and returns the log line (without "Kelvar: ").
  // The player's score comes from the entry's result and side, the opponent
  // is the level's calibrated rating.
  static std::string Rate(const chess::Rating &before, GameEntry &entry, double tau = chess::GLICKO2_DEFAULT_TAU);
  // The game has been kept (stored: written to the library): the rating
  // follows a rated game, and the game-over banner says what the game counted for.
  void OnFinishedGameKept(const GameEntry &entry, bool stored);

private:
  chess::Rating current;
  CRatedGame game;
  uint64_t gameId = 0;
};
