// The unfinished game kept for the next start: written after every change
// of the game (a move, a take back, a load, a new game), offered again at
// start, kept apart from other running copies, and never lost unread.
//
// What is kept is the game as a PGN file with the side the player plays and
// the level as tags of their own, so that a resumed game goes on as it was.
// A file that cannot be read is renamed aside and the moves read up to its
// fault are offered. A write that fails is told to the player once, and a
// quit with the game not kept asks first.
#pragma once

#include "game/CAutosave.h"

#include <irrlicht.h>

#include <cstdint>
#include <string>

class CUnfinishedGame {
public:
  // The tags of the state file beyond the game's own.
  static constexpr const char *SIDE_TAG = "KelvarSide"; // White, Black or Both
  static constexpr const char *LEVEL_TAG = "KelvarLevel";

  // Finds the data folder; the file is chosen once the start-up phase ends.
  bool Init();
  // At the end of the start-up phase: claims this copy's file and offers the
  // game it holds. Then, each pass: writes the game when it has changed and
  // tells the player of a write that failed.
  void Update();
  // Writes the last state and waits for it (logged if it fails).
  void Exit();

  // The menu's Quit was confirmed: true if the program may close now; false
  // when the game could not be kept and the player is asked what to do.
  bool ConfirmQuit();
  // The answer to that question (a message box event type).
  void OnQuitAnswer(irr::gui::EGUI_EVENT_TYPE answer);
  // The answer to "Resume ...?".
  void OnResumeAnswer(bool yes);
  // Enter answers the resume question with Yes, Escape with No.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  bool IsAskingToResume() const { return resumeBox != nullptr; }
  // This copy's file; empty before the start-up phase ends or without a data folder.
  const std::string &GetPath() const { return autosave.GetPath(); }

private:
  // What decides whether the file must be written again.
  struct Snapshot {
    irr::s32 state = -1;
    uint64_t revision = 0;
    irr::s32 humanColor = 0;
    bool twoPlayers = false, choosingSide = false, over = false;
    int level = 0;
    bool operator==(const Snapshot &o) const {
      return state == o.state && revision == o.revision && humanColor == o.humanColor && twoPlayers == o.twoPlayers &&
             choosingSide == o.choosingSide && over == o.over && level == o.level;
    }
  };
  static Snapshot Take();
  void OfferKeptGame();
  void Follow();
  void ReportOutcomes();
  // The game as the state file holds it; empty when there is none to keep.
  static std::string StateText();
  // Plays on the side and level the file names.
  void RestoreSideAndLevel();
  // Writes the game to the games folder, else the home folder, else /tmp.
  void SaveElsewhere();

  std::string folder;
  CAutosave autosave;
  bool startupHandled = false;
  irr::gui::IGUIWindow *resumeBox = nullptr;
  std::string offeredText; // the game the resume question offers
  std::string offeredSide; // its side and level tags, applied once it is resumed
  std::string offeredLevel;
  Snapshot written;         // the state last handed to the writer
  bool following = false;   // the file follows the game (after the start-up question)
  bool failureTold = false; // a failed write was told; reset by the next success
  bool lastWriteFailed = false;
  std::string lastError;
  Snapshot keptElsewhere; // the state saved elsewhere after a failure at quit
  bool hasKeptElsewhere = false;
};
