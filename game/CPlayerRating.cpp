#include "game/CPlayerRating.h"

#include "app/CApplication.h"
#include "engine/LevelRatings.h"
#include "ui/GuiText.h"

#include <cmath>
#include <cstdio>

using namespace irr;

namespace {

// The player's score in a finished game: 1 won, 0.5 drawn, 0 lost.
double PlayerScore(const GameEntry &entry) {
  if (entry.result == "1/2-1/2")
    return 0.5;
  const bool whiteWon = entry.result == "1-0";
  return (entry.side == PlayerSide::White) == whiteWon ? 1.0 : 0.0;
}

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string ScoreText(double score) { return score == 0.5 ? "0.5" : score == 1.0 ? "1" : "0"; }

} // namespace

bool CPlayerRating::Init() {
  const std::string &path = app.keeper.GetPath();
  if (path.empty())
    return true; // no library: a new player's rating for this run
  CGamesLibrary library;
  std::string error, notice;
  if (!library.Open(path, error, notice) || !library.LastRating(current, error)) {
    LogMessage("rating: " + error + "; the rating starts afresh for this run");
    current = chess::Rating();
  }
  LogMessage("rating " + OneDecimal(current.rating) + " (RD " + OneDecimal(current.rd) + ")");
  return true;
}

void CPlayerRating::Update() {
  const uint64_t id = app.game.GetGameId();
  if (id == gameId)
    return;
  gameId = id;
  // A game that comes with moves already played (a file, a resumed game)
  // was not all played here.
  game.Start(app.game.IsTwoPlayers(), app.settings.Get().level, app.game.GetRecord().GetPlyCount() > 0);
}

void CPlayerRating::OnLevelChanged() {
  if (app.game.GetState() == LocalGame && !app.game.IsGameOver())
    game.OnLevelChanged();
}

std::string CPlayerRating::CasualReason() const {
  if (!game.IsRated())
    return game.CasualReason();
  if (app.game.IsTwoPlayers())
    return platform::NoTr("two players"); // the engine left the game and the player went on alone
  if (app.settings.Get().level != game.GetLevel())
    return platform::NoTr("the level was changed");
  return "";
}

bool CPlayerRating::CountsFinishedGame() const { return CasualReason().empty(); }

std::string CPlayerRating::Rate(const chess::Rating &before, GameEntry &entry, double tau) {
  const int level = entry.level.value_or(0);
  const LevelRating levelRating = RatingOfLevel(level);
  chess::RatedGame played;
  played.opponent.rating = levelRating.rating;
  played.opponent.rd = levelRating.rd;
  played.score = PlayerScore(entry);
  const chess::Rating after = chess::RateGlicko2(before, {played}, tau);
  entry.rated = true;
  entry.ratingBefore = before.rating;
  entry.ratingAfter = after.rating;
  entry.rdAfter = after.rd;
  entry.volatilityAfter = after.volatility;
  return "rating " + OneDecimal(before.rating) + " (RD " + OneDecimal(before.rd) + ", volatility " +
         OneDecimal(before.volatility) + ") -> " + OneDecimal(after.rating) + " (RD " + OneDecimal(after.rd) +
         ", volatility " + OneDecimal(after.volatility) + ") after " + ScoreText(played.score) + " against level " +
         std::to_string(level) + " rated " + OneDecimal(levelRating.rating) + " (RD " + OneDecimal(levelRating.rd) +
         ")";
}

void CPlayerRating::OnFinishedGameKept(const GameEntry &entry, bool stored) {
  core::stringw note;
  if (entry.rated && entry.ratingAfter) {
    current.rating = *entry.ratingAfter;
    current.rd = entry.rdAfter.value_or(current.rd);
    current.volatility = entry.volatilityAfter.value_or(current.volatility);
    note = TrFormatW(
        stored ? platform::NoTr("Rating {1} -> {2}") : platform::NoTr("Rating {1} -> {2} (not saved)"),
        {std::to_string(std::lround(entry.ratingBefore.value_or(0))), std::to_string(std::lround(current.rating))});
  } else {
    note = TrFormatW("Casual game: {1}", {platform::Tr(CasualReason().c_str())});
  }
  app.gui.ShowBannerNote(note.c_str());
}
