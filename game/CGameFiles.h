// Games as PGN files: saving the game on the board, opening a file (from the
// menu's file dialog, the command line or the last session's autosave) and
// showing it.
#pragma once

#include "chess/PgnGame.h"

#include <irrlicht.h>

#include <string>

class CGameFiles {
public:
  // Finds the data folder; a missing one only disables saving (logged).
  bool Init();
  // Once the start-up phase is over: opens the file named on the command
  // line, or asks whether to resume the last session's unfinished game.
  void Update();
  // Keeps an unfinished game as the autosave; removes it otherwise.
  void Exit();

  // A file to open once the start-up phase is over (empty for none).
  void OpenAfterStartup(const std::string &path) { pendingPath = path; }
  // Writes the game as a new file in the games folder and tells where.
  void SaveGame();
  // Opens the file dialog in the games folder.
  void ShowLoadDialog();
  // The dialog's choice (wide path as Irrlicht gives it).
  void OnFileChosen(irr::gui::IGUIFileOpenDialog *dialog);
  // The dialog was closed without a choice.
  void OnLoadDialogCancelled() { RestoreRunFolder(); }
  // Reads, checks and shows a game. A bad file is refused with a message box
  // naming line and fault, and nothing on the board changes.
  bool OpenGame(const std::string &path);
  // The answer to "Resume the unfinished game?".
  void OnResumeAnswer(bool yes);
  // Enter answers the resume question with Yes, Escape with No.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  bool IsAskingToResume() const { return resumeBox != nullptr; }

  // The game on the board: its start position, the moves of the game's
  // record, and the result once the game is over.
  chess::PgnGame CurrentMoves() const;
  // The same with the tags of a saved game (players, date, place).
  chess::PgnGame CurrentGame() const;

  std::string GetGamesFolder() const { return dataFolder.empty() ? "" : dataFolder + "/games"; }
  std::string GetAutosavePath() const { return dataFolder.empty() ? "" : dataFolder + "/autosave.pgn"; }

private:
  // Writes the game to path; false with a reason.
  bool WriteGame(const chess::PgnGame &game, const std::string &path, std::string &error) const;
  void ShowLoadedGame(const chess::PgnGame &game);
  void Refuse(const std::string &path, int line, const std::string &reason);
  // Goes back to the working directory the file dialog left.
  void RestoreRunFolder();

  std::string dataFolder;
  std::string pendingPath;
  irr::io::path runFolder; // the working directory when the file dialog opened
  bool startupHandled = false;
  irr::gui::IGUIWindow *resumeBox = nullptr;
};
