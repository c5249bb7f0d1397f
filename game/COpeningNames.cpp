#include "game/COpeningNames.h"

#include "app/CApplication.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

bool COpeningNames::Init() {
  const char *given = getenv("KELVAR_ECO_FILE");
  const std::string path = given && *given ? given : DEFAULT_FILE;
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  if (file)
    text << file.rdbuf();
  std::string error;
  haveBook = file && book.Load(text.str(), error);
  if (haveBook)
    LogMessage("opening book " + path + ": " + std::to_string(book.GetEntryCount()) + " openings");
  else
    LogMessage("opening book " + path + (file ? " cannot be read (" + error + ")" : " not found") +
               "; games are not named (install the Debian package pgn-extract)");
  followedRevision = followedGame = UINT64_MAX;
  found = false;
  shown.clear();
  return true;
}

void COpeningNames::Update() {
  if (!haveBook || (app.game.GetRevision() == followedRevision && app.game.GetGameId() == followedGame))
    return;
  const bool sameGame = app.game.GetGameId() == followedGame;
  followedRevision = app.game.GetRevision();
  followedGame = app.game.GetGameId();
  const chess::CGameRecord &record = app.game.GetRecord();
  const std::vector<chess::Move> moves = record.GetMoves();
  if (app.game.GetState() != LocalGame) {
    Show(chess::OpeningMatch());
    followedPlies = 0;
    return;
  }
  // Each move played since the last pass is named in turn (the engine's
  // answer may come in the same pass as the player's move), so every change
  // of name is told.
  const size_t first = sameGame && moves.size() > followedPlies ? followedPlies + 1 : moves.size();
  for (size_t plies = first; plies <= moves.size(); ++plies)
    Show(book.Lookup(record.GetStartPosition(), std::vector<chess::Move>(moves.begin(), moves.begin() + plies)));
  followedPlies = moves.size();
}

void COpeningNames::Show(const chess::OpeningMatch &match) {
  if (match.found == found && (!found || match.name == name))
    return;
  found = match.found;
  name = match.name;
  shown = found ? name.eco + " " + name.opening + (name.variation.empty() ? "" : ", " + name.variation) : "";
  if (found)
    LogMessage("opening " + shown);
  app.gui.SetStatusOpening(shown);
  app.gui.RefreshMovesWindow();
}

void COpeningNames::Tag(chess::PgnGame &game) const {
  if (!found)
    return;
  game.SetTag("ECO", name.eco);
  game.SetTag("Opening", name.opening);
  if (!name.variation.empty())
    game.SetTag("Variation", name.variation);
}
