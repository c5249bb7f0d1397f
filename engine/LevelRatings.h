// The playing levels' strength on the Elo scale, as measured by
// bench/level_elo against Stockfish 15.1 with UCI_LimitStrength at known
// UCI_Elo values (and, below Stockfish's lowest rating, through the scores
// between neighbouring levels). A player's rating is reckoned
// against these, and "level = auto" picks the level nearest the player.
#pragma once

struct LevelRating {
  double rating = 0; // Elo estimate
  double rd = 0;     // its uncertainty, used as the opponent's RD in Glicko-2
  int games = 0;     // the games the estimate rests on
};

// The calibrated rating of a level 1..8 (a zero rating outside).
LevelRating RatingOfLevel(int level);
// The level whose rating is nearest the given rating (the lower on a tie).
int LevelNearestRating(double rating);
