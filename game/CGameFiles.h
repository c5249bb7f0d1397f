// Games as PGN files: saving the game on the board, opening a file (from the
// menu's file dialog or the command line) and showing it. A game opened from
// a file keeps its tags, comments and annotations when it is saved again.
#pragma once

#include "chess/PgnGame.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>

class CGameFiles {
public:
  // Finds the data folder; a missing one only disables saving (logged).
  bool Init();
  // Once the start-up phase is over: opens the file named on the command line.
  void Update();
  void Exit() {}

  // A file to open once the start-up phase is over (empty for none).
  void OpenAfterStartup(const std::string &path) {
    pendingPath = path;
    fileGivenAtStartup = !path.empty();
  }
  // True if a file was named to open at start (it replaces the unfinished game).
  bool HasOpenedAtStartup() const { return fileGivenAtStartup; }
  // Writes the game as a new file in the games folder and tells where.
  void SaveGame();
  // Writes a game (a reviewed one) the same way, the message box titled title.
  bool SaveGame(const chess::PgnGame &game, const wchar_t *title);
  // Opens the file dialog in the games folder.
  void ShowLoadDialog();
  // The dialog's choice (wide path as Irrlicht gives it).
  void OnFileChosen(irr::gui::IGUIFileOpenDialog *dialog);
  // The dialog was closed without a choice.
  void OnLoadDialogCancelled() { RestoreRunFolder(); }
  // Reads, checks and shows a game. A bad file is refused with a message box
  // naming line and fault, and nothing on the board changes. A file of
  // several games lists them for the player to choose (true: the list is up).
  bool OpenGame(const std::string &path);
  // The same for PGN text read elsewhere (a game of the games library);
  // source names it in messages and the log.
  bool OpenText(const std::string &text, const std::string &source);
  // The game chosen in that list is opened.
  void OnGameChosen();
  // The answer to "Open the N moves that could be read?".
  void OnOpenPartAnswer(bool yes);
  // Shows a game that has been read (from source, named in the log): the
  // board set up and the moves played. False if the rules refuse it.
  bool ShowGame(const chess::PgnGame &game, const std::string &source);

  // The game on the board: its start position, the moves of the game's
  // record, and the result once the game is over.
  chess::PgnGame CurrentMoves() const;
  // The same with the tags of a saved game (players, date, place). A game
  // opened from a file keeps that file's tags, comments and annotations for
  // the moves it still shares with it; only the result and new moves change.
  chess::PgnGame CurrentGame() const;

  std::string GetGamesFolder() const { return dataFolder.empty() ? "" : dataFolder + "/games"; }

private:
  // Writes the game to path; false with a reason.
  bool WriteGame(const chess::PgnGame &game, const std::string &path, std::string &error) const;
  // Tells why the file cannot be opened; with readPart holding moves, offers
  // to open those.
  void Refuse(const std::string &path, int line, const std::string &reason, const chess::PgnGame *readPart = nullptr);
  // Goes back to the working directory the file dialog left.
  void RestoreRunFolder();

  std::string dataFolder;
  std::string pendingPath;
  bool fileGivenAtStartup = false;
  // The game last opened from a file, and the board's game it became.
  chess::PgnGame opened;
  uint64_t openedGameId = 0;
  bool hasOpened = false;
  // The moves of a broken file offered to the player, and its path.
  chess::PgnGame part;
  std::string partPath;
  irr::io::path runFolder; // the working directory when the file dialog opened
  bool startupHandled = false;
};
