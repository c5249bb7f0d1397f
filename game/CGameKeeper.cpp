#include "game/CGameKeeper.h"

#include "app/CApplication.h"
#include "chess/CPgnWriter.h"
#include "game/CPlayerRating.h"
#include "platform/Platform.h"
#include "ui/GuiText.h"

#include <cstdio>
#include <cstdlib>

using namespace irr;

namespace {

std::string TagOf(const chess::PgnGame &game, const char *name) {
  const std::string *value = game.FindTag(name);
  return value && *value != "?" && *value != "-" ? *value : "";
}

} // namespace

std::string CGameKeeper::LibraryPath() {
  const char *given = getenv("KELVAR_GAMES_DB");
  return given && *given ? given : CGamesLibrary::DefaultPath();
}

bool CGameKeeper::Init() {
  const std::string path = LibraryPath();
  std::string error, notice;
  if (path.empty()) {
    LogMessage("games library: no data folder (neither XDG_DATA_HOME nor HOME is set); games are not kept");
    return true;
  }
  if (!library.Open(path, error, notice)) {
    LogMessage("games library: " + error + "; games are not kept");
    return true;
  }
  LogMessage("games library " + path);
  // Open only while it stores: the game holds no file of the data folder
  // open between games (another copy, a backup or a remount see it whole).
  library.Close();
  if (!notice.empty()) {
    LogMessage("games library: " + notice);
    app.gui.ShowMessageBox(TrW("Games library").c_str(), GuiText(notice).c_str(), gui::EMBF_OK, -1);
  }
  return true;
}

void CGameKeeper::Update() {
  const uint64_t id = app.game.GetGameId();
  if (id != gameId) {
    // The game before is left: kept if it was played and not kept yet.
    if (played && !kept && !lastSeen.moves.empty())
      Keep("abandoned");
    gameId = id;
    pliesAtStart = app.game.GetRecord().GetPlyCount();
    played = kept = false;
    revisionSeen = app.game.GetRevision();
    return;
  }
  if (app.game.GetRevision() != revisionSeen) {
    revisionSeen = app.game.GetRevision();
    played = played || app.game.GetRecord().GetPlyCount() > pliesAtStart;
    Look();
  }
  if (played && !kept && app.game.IsGameOver()) {
    Look();
    Keep(app.game.GetVerdict().ReasonText());
  }
}

void CGameKeeper::Look() {
  lastSeen = app.gameFiles.CurrentGame();
  seenEntry = GameEntry();
  seenEntry.side = app.game.IsTwoPlayers()                    ? PlayerSide::Both
                   : app.game.GetHumanColor() == chess::White ? PlayerSide::White
                                                              : PlayerSide::Black;
  if (app.game.IsTwoPlayers()) {
    seenEntry.opponent = "second player";
  } else {
    const int level = app.settings.Get().level;
    seenEntry.level = level;
    seenEntry.opponent = app.engine.GetEngineName() + ", level " + std::to_string(level);
  }
}

void CGameKeeper::Keep(const std::string &reason) {
  kept = true;
  const chess::PgnGame &game = lastSeen;
  GameEntry entry = seenEntry;
  std::string error;
  if (!chess::CPgnWriter::Write(game, entry.pgn, error)) {
    LogMessage("games library: the game cannot be written as PGN: " + error);
    return;
  }
  entry.date = TagOf(game, "Date");
  entry.result = game.result;
  entry.reason = reason;
  entry.timeControl = TagOf(game, "TimeControl");
  const std::string eco = TagOf(game, "ECO"), opening = TagOf(game, "Opening");
  entry.opening = eco.empty() ? opening : eco + " " + opening;
  // A game left unfinished never counts for the rating.
  const bool finished = reason != "abandoned";
  const bool counts = finished && app.rating.CountsFinishedGame();
  std::string rateLine;
  const auto rate = [&rateLine](const chess::Rating &before, GameEntry &rated) {
    rateLine = CPlayerRating::Rate(before, rated);
  };
  const uint32_t started = platform::GetTickCount();
  std::string notice;
  if (library.GetPath().empty()) {
    error = "no library could be opened at start";
    lastKept = 0;
  } else if (library.Open(library.GetPath(), error, notice)) {
    lastKept = counts ? library.StoreRated(entry, rate, error) : library.Store(entry, error);
  } else {
    lastKept = 0;
  }
  library.Close();
  const uint32_t took = platform::GetTickCount() - started;
  // A rated game the library could not take still moves the rating for this run.
  if (counts && !entry.rated)
    rate(app.rating.Current(), entry);
  if (!rateLine.empty())
    LogMessage(rateLine);
  if (finished)
    app.rating.OnFinishedGameKept(entry, lastKept != 0);
  if (lastKept == 0) {
    if (library.GetPath().empty())
      return; // told once at start
    LogMessage("games library: the game was not kept: " + error);
    if (!reported)
      app.gui.ShowStatusNotice(TrFormatW("The game could not be kept in the library: {1}", {error}).c_str(), 8000);
    reported = true;
    return;
  }
  LogMessage("games library: kept game " + std::to_string(lastKept) + " (" + game.result + ", " + reason + ", " +
             std::to_string(game.moves.size()) + " plies) in " + std::to_string(took) + " ms");
}

int CGameKeeper::ExportGames(const std::string &file) {
  const std::string path = LibraryPath();
  CGamesLibrary library;
  std::string error, notice;
  if (path.empty() || !library.Open(path, error, notice)) {
    std::fprintf(stderr, "kelvar: --export-games %s: %s\n", file.c_str(),
                 path.empty() ? "no data folder (neither XDG_DATA_HOME nor HOME is set)" : error.c_str());
    return 1;
  }
  if (!notice.empty())
    std::fprintf(stderr, "kelvar: %s\n", notice.c_str());
  const long long count = library.Count(error);
  if (count < 0 || !library.ExportAll(file, error)) {
    std::fprintf(stderr, "kelvar: --export-games %s: %s\n", file.c_str(), error.c_str());
    return 1;
  }
  std::printf("kelvar: %lld games exported to %s\n", count, file.c_str());
  return 0;
}
