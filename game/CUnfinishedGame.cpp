#include "game/CUnfinishedGame.h"

#include "app/CApplication.h"
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "platform/DataFiles.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <cstdlib>

using namespace irr;

namespace {

const char *SideName(s32 color, bool twoPlayers) { return twoPlayers ? "Both" : color == White ? "White" : "Black"; }

} // namespace

bool CUnfinishedGame::Init() {
  autosave.Release();
  startupHandled = following = failureTold = lastWriteFailed = hasKeptElsewhere = false;
  resumeBox = nullptr;
  offeredText.clear();
  lastError.clear();
  written = Snapshot();
  const std::string home = platform::DataHome();
  folder = home.empty() ? "" : home + "/kelvar";
  return true;
}

void CUnfinishedGame::Update() {
  if (!startupHandled) {
    if (app.game.GetState() == Startup)
      return;
    startupHandled = true;
    OfferKeptGame();
  }
  if (!resumeBox)
    Follow();
  ReportOutcomes();
}

void CUnfinishedGame::OfferKeptGame() {
  if (folder.empty())
    return; // logged by the game files: nothing can be kept
  // A game opened from the command line is played instead of the kept one;
  // that one then stays in its file for a later start.
  const bool fileGiven = app.gameFiles.HasOpenedAtStartup();
  std::string error;
  if (!autosave.Claim(folder, !fileGiven, error)) {
    LogMessage("CUnfinishedGame cannot keep the game: " + error);
    app.gui.ShowMessageBox(TrW("Unfinished game").c_str(),
                           TrFormatW("The game cannot be kept if Kelvar stops:\n{1}", {error}).c_str(), gui::EMBF_OK,
                           -1);
    return;
  }
  const std::string &path = autosave.GetPath();
  LogMessage("CUnfinishedGame keeps the game in " + path);
  if (autosave.GetSlot() > 1 && !platform::PathExists(path))
    LogMessage("CUnfinishedGame another copy of Kelvar keeps its game in " + CAutosave::SlotPath(folder, 1));
  if (fileGiven || !platform::PathExists(path))
    return;

  std::string text;
  chess::PgnGame game;
  chess::PgnError fault;
  const bool read = platform::ReadSmallFile(path, chess::CPgnReader::MAX_FILE_BYTES, text, error);
  if (read && chess::CPgnReader::Read(text, game, fault)) {
    offeredText = text;
    resumeBox = app.gui.ShowMessageBox(TrW("Unfinished game").c_str(), TrW("Resume the unfinished game?").c_str(),
                                       gui::EMBF_YES | gui::EMBF_NO, ID_RESUME_BOX);
    return;
  }
  // Damaged: kept aside under a name of its own, never deleted unread.
  if (!read)
    fault = chess::PgnError{0, error};
  else
    chess::CPgnReader::ReadUpToFault(text, game, fault);
  const std::string aside = platform::MoveAside(path, error);
  const std::string where = aside.empty() ? path + " (it could not be renamed: " + error + ")" : aside;
  const std::string whereShown =
      aside.empty() ? platform::TrFormat("{1} (it could not be renamed: {2})", {path, error}) : aside;
  LogMessage("CUnfinishedGame damaged " + path + " line " + std::to_string(fault.line) + ": " + fault.reason +
             "; kept as " + where);
  std::string message = platform::TrFormat("The unfinished game could not be read (line {1}: {2}).\nIt is kept as {3}.",
                                           {std::to_string(fault.line), fault.reason, whereShown});
  if (aside.empty()) {
    // Still in the way: this copy keeps its game elsewhere.
    if (!autosave.Claim(folder, false, error))
      LogMessage("CUnfinishedGame cannot keep the game: " + error);
  }
  if (!read || game.moves.empty()) {
    app.gui.ShowMessageBox(TrW("Unfinished game").c_str(), GuiText(message).c_str(), gui::EMBF_OK, -1);
    return;
  }
  std::string good;
  if (!chess::CPgnWriter::Write(game, good, error))
    return;
  offeredText = good;
  const size_t moves = (game.moves.size() + 1) / 2;
  message += "\n" + platform::TrFormatN("Resume the {1} move that could be read?",
                                        "Resume the {1} moves that could be read?", moves, {std::to_string(moves)});
  resumeBox = app.gui.ShowMessageBox(TrW("Unfinished game").c_str(), GuiText(message).c_str(),
                                     gui::EMBF_YES | gui::EMBF_NO, ID_RESUME_BOX);
}

void CUnfinishedGame::OnResumeAnswer(bool yes) {
  resumeBox = nullptr;
  std::string text;
  text.swap(offeredText);
  if (!yes) {
    // The player let the game go: the file follows the board from now on.
    LogMessage("CUnfinishedGame the player let the kept game go");
    return;
  }
  chess::PgnGame game;
  chess::PgnError fault;
  if (!chess::CPgnReader::Read(text, game, fault) || !app.gameFiles.ShowGame(game, autosave.GetPath()))
    return;
  const std::string *side = game.FindTag(SIDE_TAG);
  const std::string *level = game.FindTag(LEVEL_TAG);
  offeredSide = side ? *side : "";
  offeredLevel = level ? *level : "";
  RestoreSideAndLevel();
}

void CUnfinishedGame::RestoreSideAndLevel() {
  const int level = std::atoi(offeredLevel.c_str());
  if (level >= CSettings::LEVEL_MIN && level <= CSettings::LEVEL_MAX && level != app.settings.Get().level) {
    CSettings changed = app.settings.Get();
    changed.level = level;
    app.settings.Apply(changed);
    LogMessage("CUnfinishedGame plays on at level " + std::to_string(level));
  }
  if (!app.game.IsChoosingSide())
    return; // a finished game asks for nothing
  if (offeredSide == "White" || offeredSide == "Black" || offeredSide == "Both") {
    app.gui.CloseColorWindow();
    app.game.OnColorChosen(offeredSide == "Black" ? Black : White, offeredSide == "Both");
  }
}

bool CUnfinishedGame::OnKey(const SEvent::SKeyInput &key) {
  if (!resumeBox || !key.PressedDown || (key.Key != KEY_RETURN && key.Key != KEY_ESCAPE))
    return false;
  resumeBox->remove();
  OnResumeAnswer(key.Key == KEY_RETURN);
  return true;
}

CUnfinishedGame::Snapshot CUnfinishedGame::Take() {
  Snapshot now;
  now.state = app.game.GetState();
  now.revision = app.game.GetRevision();
  now.humanColor = app.game.GetHumanColor();
  now.twoPlayers = app.game.IsTwoPlayers();
  now.choosingSide = app.game.IsChoosingSide();
  now.over = app.game.IsGameOver();
  now.level = app.settings.Get().level;
  return now;
}

std::string CUnfinishedGame::StateText() {
  if (app.game.GetState() != LocalGame || app.game.IsGameOver())
    return "";
  chess::PgnGame game = app.gameFiles.CurrentGame();
  if (game.moves.empty() && game.startFen.empty())
    return ""; // nothing played yet: nothing to lose
  if (!app.game.IsChoosingSide())
    game.SetTag(SIDE_TAG, SideName(app.game.GetHumanColor(), app.game.IsTwoPlayers()));
  game.SetTag(LEVEL_TAG, std::to_string(app.settings.Get().level));
  std::string text, error;
  if (!chess::CPgnWriter::Write(game, text, error)) {
    LogMessage("CUnfinishedGame cannot write the game: " + error);
    return "";
  }
  return text;
}

void CUnfinishedGame::Follow() {
  if (!autosave.IsClaimed())
    return;
  const Snapshot now = Take();
  if (following && now == written)
    return;
  following = true;
  written = now;
  const std::string text = StateText();
  if (!text.empty())
    autosave.Save(text, app.game.GetRecord().GetPlyCount());
  else if (platform::PathExists(autosave.GetPath()))
    autosave.Remove();
}

void CUnfinishedGame::ReportOutcomes() {
  for (const CAutosave::Outcome &outcome : autosave.TakeOutcomes()) {
    lastWriteFailed = !outcome.ok;
    lastError = outcome.error;
    if (outcome.ok) {
      failureTold = false;
      if (outcome.removed)
        LogMessage("CUnfinishedGame removed " + autosave.GetPath());
      else
        LogMessage("PGN saved " + std::to_string(outcome.plies) + " plies to " + autosave.GetPath());
      continue;
    }
    LogMessage("CUnfinishedGame autosave failed: " + outcome.error);
    if (failureTold)
      continue;
    failureTold = true;
    app.gui.ShowMessageBox(TrW("Unfinished game").c_str(),
                           TrFormatW("The game could not be kept for the next start:\n{1}\nThe last copy that was "
                                     "written is still there.",
                                     {outcome.error})
                               .c_str(),
                           gui::EMBF_OK, -1);
  }
}

bool CUnfinishedGame::ConfirmQuit() {
  if (!autosave.IsClaimed() || resumeBox)
    return true;
  Follow();
  std::string error;
  const bool kept = autosave.Flush(error);
  ReportOutcomes();
  if (kept || StateText().empty() || (hasKeptElsewhere && keptElsewhere == Take()))
    return true;
  app.gui.ShowMessageBox(TrW("Quit").c_str(),
                         TrFormatW("The unfinished game could not be kept for the next start:\n{1}\n\nYes: quit "
                                   "without it.\nNo: save it elsewhere first.\nCancel: go back to the game.",
                                   {error})
                             .c_str(),
                         gui::EMBF_YES | gui::EMBF_NO | gui::EMBF_CANCEL, ID_QUIT_UNSAVED_BOX);
  return false;
}

void CUnfinishedGame::OnQuitAnswer(gui::EGUI_EVENT_TYPE answer) {
  if (answer == gui::EGET_MESSAGEBOX_YES) {
    LogMessage("CUnfinishedGame quit without keeping the game");
    app.device->closeDevice();
  } else if (answer == gui::EGET_MESSAGEBOX_NO) {
    SaveElsewhere();
  }
}

void CUnfinishedGame::SaveElsewhere() {
  const std::string text = StateText();
  const char *home = getenv("HOME");
  const std::string name = "/kelvar-unfinished-" + platform::TimeStampNow() + ".pgn";
  std::string error, errors;
  for (const std::string &place :
       {app.gameFiles.GetGamesFolder(), std::string(home && home[0] == '/' ? home : ""), std::string("/tmp")}) {
    if (place.empty())
      continue;
    if (platform::MakeFolders(place, error) && platform::WriteFileAtomically(place + name, text, error)) {
      LogMessage("PGN saved " + std::to_string(app.game.GetRecord().GetPlyCount()) + " plies to " + place + name);
      hasKeptElsewhere = true;
      keptElsewhere = Take();
      app.gui.ShowMessageBox(TrW("Quit").c_str(), TrFormatW("The game was saved to\n{1}", {place + name}).c_str(),
                             gui::EMBF_OK, -1);
      return;
    }
    errors += "\n" + error;
  }
  app.gui.ShowMessageBox(TrW("Quit").c_str(), TrFormatW("The game could not be saved anywhere:{1}", {errors}).c_str(),
                         gui::EMBF_OK, -1);
}

void CUnfinishedGame::Exit() {
  if (autosave.IsClaimed()) {
    // An offer not yet answered leaves the file as it was.
    if (!resumeBox)
      Follow();
    std::string error;
    autosave.Flush(error);
    ReportOutcomes();
  }
  autosave.Release();
  resumeBox = nullptr;
}
