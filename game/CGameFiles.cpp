#include "game/CGameFiles.h"

#include "app/CApplication.h"
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "platform/DataFiles.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <algorithm>
#include <sstream>

using namespace irr;

namespace {

const char *const PLAYER_NAME = "Player";

// Irrlicht widens file names byte by byte; this undoes it.
std::string Narrow(const wchar_t *text) {
  std::string narrow;
  for (; text && *text; ++text)
    narrow += char(*text);
  return narrow;
}

// The engine's name from its "id name" line.
std::string EngineName() {
  std::istringstream lines(Narrow(app.engine.GetEngineInfo().c_str()));
  for (std::string line; std::getline(lines, line);)
    if (line.compare(0, 8, "id name ") == 0)
      return line.substr(8);
  return "Engine";
}

} // namespace

bool CGameFiles::Init() {
  // A session of its own: the start-up question is asked again.
  startupHandled = false;
  hasOpened = false;
  pendingPath.clear();
  dataFolder.clear();
  const std::string home = platform::DataHome();
  if (home.empty())
    LogMessage("CGameFiles::Init no data folder (neither XDG_DATA_HOME nor HOME is set): games cannot be saved");
  else
    dataFolder = home + "/kelvar";
  return true;
}

void CGameFiles::Update() {
  if (startupHandled || app.game.GetState() == Startup)
    return;
  startupHandled = true;
  if (!pendingPath.empty()) {
    OpenGame(pendingPath);
    pendingPath.clear();
  }
}

bool CGameFiles::WriteGame(const chess::PgnGame &game, const std::string &path, std::string &error) const {
  std::string text;
  const size_t slash = path.rfind('/');
  if (!chess::CPgnWriter::Write(game, text, error) ||
      (slash != std::string::npos && !platform::MakeFolders(path.substr(0, slash), error)) ||
      !platform::WriteFileAtomically(path, text, error))
    return false;
  LogMessage("PGN saved " + std::to_string(game.moves.size()) + " plies to " + path);
  return true;
}

void CGameFiles::SaveGame() {
  const chess::PgnGame game = CurrentGame();
  if (game.moves.empty() && game.startFen.empty() && app.game.GetState() != LocalGame) {
    app.gui.ShowMessageBox(TrW("Save Game").c_str(), TrW("There is no game to save.").c_str(), gui::EMBF_OK, -1);
    return;
  }
  SaveGame(game, TrW("Save Game").c_str());
}

bool CGameFiles::SaveGame(const chess::PgnGame &game, const wchar_t *title) {
  if (dataFolder.empty()) {
    app.gui.ShowMessageBox(title, TrW("No folder for games: neither XDG_DATA_HOME nor HOME is set.").c_str(),
                           gui::EMBF_OK, -1);
    return false;
  }
  const std::string path = GetGamesFolder() + "/" + platform::TimeStampNow() + ".pgn";
  std::string error;
  if (!WriteGame(game, path, error)) {
    LogMessage("CGameFiles::SaveGame " + error);
    app.gui.ShowMessageBox(title, TrFormatW("The game was not saved:\n{1}", {error}).c_str(), gui::EMBF_OK, -1);
    return false;
  }
  app.gui.ShowMessageBox(title, TrFormatW("The game was saved to\n{1}", {path}).c_str(), gui::EMBF_OK, -1);
  return true;
}

void CGameFiles::ShowLoadDialog() {
  std::string folder = GetGamesFolder(), error;
  if (folder.empty() || !platform::MakeFolders(folder, error))
    folder = ".";
  gui::IGUIEnvironment *env = app.guiEnvironment;
  // The dialog walks the working directory, on which every media path
  // depends. It gives it back only once the environment lets go of the
  // dialog, which may be frames after the choice: the choice takes it back
  // at once.
  runFolder = app.device->getFileSystem()->getWorkingDirectory();
  env->addFileOpenDialog(TrW("Load a game").c_str(), true, env->getRootGUIElement(), ID_LOAD_DIALOG, true, &folder[0]);
}

void CGameFiles::OnFileChosen(gui::IGUIFileOpenDialog *dialog) {
  RestoreRunFolder();
  if (!dialog)
    return;
  std::string path = Narrow(dialog->getFileName());
  if (!path.empty() && path[0] != '/')
    path = std::string(dialog->getDirectoryName().c_str()) + "/" + path;
  OpenGame(path);
}

void CGameFiles::RestoreRunFolder() {
  if (!runFolder.empty())
    app.device->getFileSystem()->changeWorkingDirectoryTo(runFolder);
  runFolder = "";
}

void CGameFiles::Refuse(const std::string &path, int line, const std::string &reason, const chess::PgnGame *readPart) {
  LogMessage("PGN error " + path + " line " + std::to_string(line) + ": " + reason);
  std::string text = platform::TrFormat("Cannot open {1}\nline {2}: {3}", {path, std::to_string(line), reason});
  if (!readPart || readPart->moves.empty()) {
    app.gui.ShowMessageBox(TrW("Load Game").c_str(), GuiText(text).c_str(), gui::EMBF_OK, -1);
    return;
  }
  // The moves before the fault are offered; the file itself is left as it is.
  partPath = path;
  part = *readPart;
  const size_t moves = (part.moves.size() + 1) / 2;
  text += "\n" + platform::TrFormatN("Open the {1} move that could be read?", "Open the {1} moves that could be read?",
                                     moves, {std::to_string(moves)});
  app.gui.ShowMessageBox(TrW("Load Game").c_str(), GuiText(text).c_str(), gui::EMBF_YES | gui::EMBF_NO,
                         ID_OPEN_PART_BOX);
}

void CGameFiles::OnOpenPartAnswer(bool yes) {
  chess::PgnGame taken;
  std::swap(taken, part);
  if (yes && !taken.moves.empty())
    ShowGame(taken, partPath + " (up to its fault)");
}

bool CGameFiles::OpenGame(const std::string &path) {
  std::string text, error;
  if (!platform::ReadSmallFile(path, chess::CPgnReader::MAX_FILE_BYTES, text, error)) {
    Refuse(path, 0, error);
    return false;
  }
  return OpenText(text, path);
}

bool CGameFiles::OpenText(const std::string &text, const std::string &source) {
  std::vector<chess::PgnGameEntry> games;
  chess::PgnError pgnError;
  if (!chess::CPgnReader::ReadAll(text, games, pgnError)) {
    Refuse(source, pgnError.line, pgnError.reason);
    return false;
  }
  if (games.size() > 1) {
    // Every game is listed, a broken one too: it no longer hides the others.
    LogMessage("PGN file " + source + " holds " + std::to_string(games.size()) + " games");
    app.gui.GetGameList().Show(source, std::move(games));
    return true;
  }
  if (!games[0].ok) {
    Refuse(source, games[0].error.line, games[0].error.reason, &games[0].game);
    return false;
  }
  return ShowGame(games[0].game, source);
}

void CGameFiles::OnGameChosen() {
  chess::PgnGameEntry entry;
  std::string path;
  if (app.gui.GetGameList().TakeChoice(entry, path))
    ShowGame(entry.game, path + " (the game at line " + std::to_string(entry.line) + ")");
}

bool CGameFiles::ShowGame(const chess::PgnGame &game, const std::string &source) {
  app.review.Close(); // the board goes back to the game it replaces
  // The reader has replayed every move; the game controller sets up the
  // start position and plays the moves on it.
  chess::Position start;
  std::string error;
  if (!game.startFen.empty() && !start.SetFen(game.startFen, error)) {
    LogMessage("CGameFiles::ShowGame " + error);
    return false;
  }
  const bool played = app.game.ContinueGame(start, game.startFen, game.moves, game.result);
  app.clock.Load(game, app.game.GetRecord().GetStartSide());
  if (!played)
    LogMessage("CGameFiles::ShowGame the rules refused a move the reader accepted");
  app.gui.RefreshMovesWindow();
  // What the file holds beyond the moves goes with the game from now on;
  // the unfinished game's own tags do not.
  opened = game;
  opened.tags.erase(std::remove_if(opened.tags.begin(), opened.tags.end(),
                                   [](const std::pair<std::string, std::string> &tag) {
                                     return tag.first.compare(0, 6, "Kelvar") == 0;
                                   }),
                    opened.tags.end());
  openedGameId = app.game.GetGameId();
  hasOpened = true;
  LogMessage("PGN loaded " + std::to_string(game.moves.size()) + " plies from " + source);
  return played;
}

chess::PgnGame CGameFiles::CurrentGame() const {
  chess::PgnGame game = CurrentMoves();
  if (hasOpened && openedGameId == app.game.GetGameId() && opened.startFen == game.startFen) {
    // The file's tags, and its notes for the moves still played as it has them.
    game.tags = opened.tags;
    game.gameComments = opened.gameComments;
    for (size_t i = 0; i < game.moves.size() && i < opened.moves.size() && game.moves[i] == opened.moves[i]; ++i)
      game.NotesAt(i) = opened.NotesOf(i);
    game.notes.resize(std::min(game.notes.size(), game.moves.size()));
    game.SetTag("Result", game.result);
    app.clock.Annotate(game);
    app.openings.Tag(game);
    return game;
  }
  const bool humanWhite = app.game.GetHumanColor() == White;
  const bool twoPlayers = app.game.IsTwoPlayers();
  game.SetTag("Event", "Casual game");
  game.SetTag("Site", "Kelvar");
  game.SetTag("Date", platform::PgnDateToday());
  game.SetTag("Round", "-");
  game.SetTag("White", humanWhite || twoPlayers ? PLAYER_NAME : EngineName());
  game.SetTag("Black", !humanWhite || twoPlayers ? PLAYER_NAME : EngineName());
  game.SetTag("Result", game.result);
  app.clock.Annotate(game);
  app.openings.Tag(game);
  return game;
}

chess::PgnGame CGameFiles::CurrentMoves() const {
  chess::PgnGame game;
  game.startFen = app.engine.GetStartFen();
  game.moves = app.game.GetRecord().GetMoves();
  if (app.game.IsGameOver())
    game.result = app.game.GetVerdict().ResultText();
  return game;
}
